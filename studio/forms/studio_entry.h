// KovaStudio's start, apart from main() so that it can be driven in-process:
// one copy at a time, the main form (which shows the start form), the message
// loop, and the exceptions that escape them shown in a box.
#pragma once

#include <QApplication>

#include <string>

// The name another copy looks for; nothing else about the lock is shared.
inline constexpr const char* kInstanceLockText = "KOVAPRO Sound Compiler";

// Runs KovaStudio on `program_folder` with the application object given and returns the program's exit code,
// which is 0 on every path: also when another copy runs ("Program has already started!", no form is made) and
// after an exception escaped the form's creation (shown, then the program ends).
int RunKovaStudio(QApplication& application, const std::string& program_folder);
