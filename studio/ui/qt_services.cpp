// The services as the program uses them.
#include "studio_services.h"
#include "t_media_player.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QStandardPaths>
#include <QUrl>

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <vector>

namespace {

// The home folder of `user` in the password database; nothing when there is no such user.
std::optional<QString> home_of(const QString& user) {
    const QByteArray name = user.toLocal8Bit();
    const long suggested = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<size_t>(suggested) : 4096);
    for (;;) {
        passwd entry;
        passwd* found = nullptr;
        const int error = ::getpwnam_r(name.constData(), &entry, buffer.data(), buffer.size(), &found);
        if (error == ERANGE && buffer.size() < (size_t{1} << 20)) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (error != 0 || found == nullptr) return std::nullopt;
        return QString::fromLocal8Bit(entry.pw_dir);
    }
}

// A leading "~" or "~/" read as the home folder, "~user" or "~user/" as that user's; as typed when there is no
// such user.
QString expand_tilde(const QString& typed) {
    const qsizetype slash = typed.indexOf('/');
    const qsizetype user_end = slash < 0 ? typed.size() : slash;
    if (user_end == 1) return QDir::homePath() + typed.mid(1);
    const std::optional<QString> home = home_of(typed.mid(1, user_end - 1));
    return home ? *home + typed.mid(user_end) : typed;
}

class qt_message_boxes : public message_box_service {
public:
    int show(QWidget* owner, const QString& text, const QString& caption, unsigned flags) override {
        QMessageBox box(owner);
        box.setTextFormat(Qt::PlainText);
        box.setText(text);
        box.setWindowTitle(caption);
        switch (flags & 0xF0) {
        case MB_ICONERROR: box.setIcon(QMessageBox::Critical); break;
        case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
        case MB_ICONEXCLAMATION: box.setIcon(QMessageBox::Warning); break;
        case MB_ICONINFORMATION: box.setIcon(QMessageBox::Information); break;
        default: break;
        }
        // Return takes the first button, as the forms expect; Escape and the window's close give the answer
        // of a box closed without a choice, which Qt leaves undecided for some button sets.
        QMessageBox::StandardButton first = QMessageBox::Ok;
        QMessageBox::StandardButton closing = QMessageBox::Ok;
        switch (flags & 0x0F) {
        case MB_OKCANCEL:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            closing = QMessageBox::Cancel;
            break;
        case MB_YESNO:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            first = QMessageBox::Yes;
            closing = QMessageBox::No;
            break;
        default: box.setStandardButtons(QMessageBox::Ok); break;
        }
        box.setDefaultButton(first);
        box.setEscapeButton(closing);
        box.exec();
        switch (box.standardButton(box.clickedButton())) {
        case QMessageBox::Ok: return IDOK;
        case QMessageBox::Cancel: return IDCANCEL;
        case QMessageBox::Yes: return IDYES;
        case QMessageBox::No: return IDNO;
        default: return closed_box_answer(flags);
        }
    }
};

// The desktop's dialog sounds from the freedesktop sound theme when it is installed, else the bell.
class qt_sounds : public sound_service {
public:
    void play(const QString& name) override {
        const QString file = system_sound_file(name);
        if (file.isEmpty()) {
            QApplication::beep();
            return;
        }
        // The media players' back end, with no failure handler: a sound that cannot play is ignored.
        if (!player_) player_ = make_qt_media()->make_backend();
        player_->load(file);
        player_->play();
    }

private:
    std::unique_ptr<media_backend> player_;
};

class qt_shell : public shell_service {
public:
    void open(const QString& target) override {
        const QUrl url = target.contains("://") || target.startsWith("mailto:") ? QUrl(target)
                                                                                : QUrl::fromLocalFile(target);
        QDesktopServices::openUrl(url);
    }
};

class qt_file_dialogs : public file_dialog_service {
public:
    QStringList open_files(QWidget* owner, const QString& filter, bool several) override {
        QFileDialog dialog(owner);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(several ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
        dialog.setNameFilter(qt_name_filter(filter));
        if (dialog.exec() != QDialog::Accepted) return {};
        return dialog.selectedFiles();
    }

    QString save_file(QWidget* owner, const QString& filter, const QString& default_extension) override {
        QFileDialog dialog(owner);
        dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setNameFilter(qt_name_filter(filter));
        QString suffix = default_extension;
        if (suffix.startsWith('.')) suffix.remove(0, 1);
        dialog.setDefaultSuffix(suffix);
        if (dialog.exec() != QDialog::Accepted) return {};
        // The name as typed, not Qt's reading of it: Qt takes double quotes for a list of names and would hand
        // back a part of the name, made absolute against another folder. The caller judges the whole name.
        const auto* name_edit = dialog.findChild<QLineEdit*>("fileNameEdit");
        if (!name_edit || name_edit->text().isEmpty()) return {};
        return typed_save_path(dialog.directory(), name_edit->text(), suffix);
    }

private:
    // A typed name within the folder the dialog shows (an absolute one as it is, a leading "~" or "~user" a home
    // folder as Qt reads it), with `suffix` added when its last part has no dot, as Qt adds it. The dialog checks
    // the file it reads the name as, so the file returned must be that one.
    static QString typed_save_path(const QDir& folder, QString typed, const QString& suffix) {
        if (typed.startsWith('~') && !QFileInfo::exists(folder.filePath(typed))) typed = expand_tilde(typed);
        QString path = folder.absoluteFilePath(typed);
        const QFileInfo info(path);
        if (!suffix.isEmpty() && !info.isDir() && !info.fileName().contains('.')) path += '.' + suffix;
        return path;
    }
};

}  // namespace

QString system_sound_file(const QString& name) {
    const QString event = name == "SYSTEMHAND" ? "dialog-error" : "dialog-information";
    for (const QString& folder : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        for (const char* extension : {".oga", ".ogg", ".wav"}) {
            const QString path = folder + "/sounds/freedesktop/stereo/" + event + extension;
            if (QFileInfo(path).isFile()) return path;
        }
    }
    return {};
}

std::unique_ptr<message_box_service> make_qt_message_boxes() { return std::make_unique<qt_message_boxes>(); }
std::unique_ptr<sound_service> make_qt_sounds() { return std::make_unique<qt_sounds>(); }
std::unique_ptr<shell_service> make_qt_shell() { return std::make_unique<qt_shell>(); }
std::unique_ptr<file_dialog_service> make_qt_file_dialogs() { return std::make_unique<qt_file_dialogs>(); }
