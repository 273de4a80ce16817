// Services for the programs that drive the forms with nobody at the screen
// (render-forms and the benchmarks): each message box is answered as a box
// closed without a choice is (No, Cancel or OK) and written to standard error,
// no sound plays, and the open dialog answers with the files the program put in
// `open_answer`. Such a program waits for the forms with handle_events_until.
#pragma once

#include "studio_services.h"

#include <chrono>
#include <functional>

class answering_dialogs : public file_dialog_service {
public:
    QStringList open_files(QWidget*, const QString&, bool) override { return open_answer; }
    QString save_file(QWidget*, const QString&, const QString&) override { return save_answer; }

    QStringList open_answer;
    QString save_answer;
};

// Installs the quiet services and returns the dialogs, which live as long as the services.
answering_dialogs& install_quiet_services();

// Handles events until `done` holds or `limit` has passed; false when it did not hold.
bool handle_events_until(const std::function<bool()>& done, std::chrono::milliseconds limit);
