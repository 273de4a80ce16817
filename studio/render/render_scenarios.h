// The scenes render-forms draws, each into PNG files in the output folder
// (ending in "/"). Every scene starts from the main form as the program shows
// it (Form1) and may change it; the scenes run in the order listed.
#pragma once

#include <string>

class QWidget;

// Saves the widget's picture as OUTPUT + name + ".png"; false when it cannot be written.
bool save_picture(QWidget* widget, const std::string& output, const std::string& name);

// The three pages of the main form as they open.
bool render_pages(const std::string& output);
// The compiler page with a project of a few groups, the mute editor and the group settings panel.
bool render_project(const std::string& output);
// The writer page after a load and after a failed run.
bool render_writer(const std::string& output);
