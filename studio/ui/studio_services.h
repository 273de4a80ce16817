// The services KovaStudio asks of the desktop: message boxes, system sounds,
// opening a file or link with the desktop's default handler, the open and
// save dialogs, and the media back end that plays sound files. The program
// uses the Qt versions; tests install recording ones that script the answers
// and keep every call.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>

// Message-box flags and answers, with the values the forms were written with.
enum message_box_flag : unsigned {
    MB_OK = 0x00,
    MB_OKCANCEL = 0x01,
    MB_YESNO = 0x04,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONINFORMATION = 0x40,
};
enum message_box_answer : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };
// The answer of a box closed without a button (Escape, the window's close): No, Cancel or OK by its buttons.
int closed_box_answer(unsigned flags);

class message_box_service {
public:
    virtual ~message_box_service() = default;
    // Shows a modal box and returns the answer's id. `owner` may be null (no owner window).
    virtual int show(QWidget* owner, const QString& text, const QString& caption, unsigned flags) = 0;
};

class sound_service {
public:
    virtual ~sound_service() = default;
    // Starts a system sound by its event name ("SYSTEMDEFAULT", "SYSTEMHAND") and returns at once; a new
    // sound replaces the one playing; errors are ignored.
    virtual void play(const QString& name) = 0;
};

class shell_service {
public:
    virtual ~shell_service() = default;
    // Opens a file path or a URL with the desktop's default handler; the outcome is not reported.
    virtual void open(const QString& target) = 0;
};

class file_dialog_service {
public:
    virtual ~file_dialog_service() = default;
    // `filter` in the class library's form, "wav file (*.wav)|*.wav". Empty when cancelled.
    virtual QStringList open_files(QWidget* owner, const QString& filter, bool several) = 0;
    // The chosen name with `default_extension` (".dat") added when it has none; empty when cancelled.
    // Asks no overwrite question: the caller does.
    virtual QString save_file(QWidget* owner, const QString& filter, const QString& default_extension) = 0;
};

class media_backend;

class media_service {
public:
    virtual ~media_service() = default;
    // A back end for one media player (t_media_player.h), made at the player's first open.
    virtual std::unique_ptr<media_backend> make_backend() = 0;
};

struct studio_services {
    std::unique_ptr<message_box_service> message_boxes;
    std::unique_ptr<sound_service> sounds;
    std::unique_ptr<shell_service> shell;
    std::unique_ptr<file_dialog_service> file_dialogs;
    std::unique_ptr<media_service> media;
};

// The services in use; the Qt versions unless a test installed others.
studio_services& services();
// Replaces the services in use (tests); a null member keeps the one in use.
void install_services(studio_services replacement);

// The Qt versions.
std::unique_ptr<message_box_service> make_qt_message_boxes();
std::unique_ptr<sound_service> make_qt_sounds();
std::unique_ptr<shell_service> make_qt_shell();
std::unique_ptr<file_dialog_service> make_qt_file_dialogs();
std::unique_ptr<media_service> make_qt_media();  // Qt Multimedia: qt_media_backend.cpp

// The sound file the Qt sound service plays for a system sound: the freedesktop sound theme's error sound for
// "SYSTEMHAND", its information sound for any other name; empty when the theme is not installed (the bell rings).
QString system_sound_file(const QString& name);

// "wav file (*.wav)|*.wav" as a Qt name filter: "wav file (*.wav)".
QString qt_name_filter(const QString& library_filter);
