// A KovaStudio test case: its own program folder and runtime folder, recording
// services, and the main form started as the program starts it (the start form
// runs its checks and shows the main form, or stays after a failure).
#pragma once

#include "recording_services.h"
#include "temp_program_folder.h"

#include <QString>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <ostream>

class TForm1;

// Failure messages show texts as texts.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

class studio_test : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the main form (which creates and shows the start form) and handles events until the main form
    // shows or the start form has failed and enabled Cancel. The test's setup.ini switches the start checks
    // off unless the test turns them on (folder.set_setup_value("System", "SysChk", "1")) before this call.
    TForm1& start_studio();
    // Deletes both forms, as the end of the program does.
    void end_studio();

    // Handles events until `done` holds or the time is up; false when it did not hold. The default limit is
    // a guard against a wait that never ends: a start with a firmware update into the simulator takes seconds,
    // and many times that on a busy machine.
    static bool wait_until(const std::function<bool()>& done,
                           std::chrono::milliseconds limit = std::chrono::seconds(180));

    // Expects a message box with this caption (and text, when not empty) and answers it.
    void expect_box(const QString& caption, const QString& text, int answer);

    temp_program_folder folder;
    service_record record;
    TForm1* form = nullptr;
};
