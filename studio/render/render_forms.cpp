// Renders KovaStudio's forms to PNG files for a look: the start form after its
// checks and each page of the main form, against a program folder (the build's
// installation by default). Message boxes are answered as closed without a
// choice and recorded on standard error; no sound plays.
//
//   render-forms OUTPUT_FOLDER [PROGRAM_FOLDER]
#include "program_folder.h"
#include "quiet_services.h"
#include "render_scenarios.h"
#include "studio_font.h"
#include "studio_services.h"
#include "tform1.h"
#include "tform2.h"

#include <QApplication>
#include <QPixmap>

#include <cstdio>
#include <cstdlib>
#include <string>

bool save_picture(QWidget* widget, const std::string& output, const std::string& name) {
    QApplication::processEvents();
    const std::string file = output + name + ".png";
    const bool saved = widget->grab().save(QString::fromStdString(file), "PNG");
    std::fprintf(stderr, "%s %s\n", saved ? "wrote" : "could not write", file.c_str());
    return saved;
}

bool render_pages(const std::string& output) {
    const char* pages[] = {"compiler", "writer", "about"};
    bool ok = true;
    for (int page = 0; page < 3; ++page) {
        Form1->PC_PageSelect->setCurrentIndex(page);
        ok = save_picture(Form1, output, std::string("main-") + pages[page]) && ok;
    }
    Form1->PC_PageSelect->setCurrentIndex(0);
    return ok;
}

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: render-forms OUTPUT_FOLDER [PROGRAM_FOLDER]\n");
        return 2;
    }
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    apply_studio_font(application);
    application.setQuitOnLastWindowClosed(false);
    const std::string out = std::string(argv[1]) + "/";
    SetProgramFolder(argc == 3 ? argv[2] : ExecutableFolder() + "../kova/");
    install_quiet_services();

    auto* main_form = new TForm1();
    handle_events_until([] { return Form1->isVisible() || Form2->B_Ini_Cancel->isEnabled(); },
                        std::chrono::seconds(60));
    bool ok = save_picture(Form2, out, "start-form");
    Form1->show();
    for (const auto& scene : {render_pages, render_project, render_writer}) ok = scene(out) && ok;
    delete Form2;
    delete main_form;
    return ok ? 0 : 1;
}
