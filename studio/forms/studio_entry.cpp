#include "studio_entry.h"

#include "program_folder.h"
#include "single_instance_lock.h"
#include "studio_application.h"
#include "studio_font.h"
#include "studio_services.h"
#include "tform1.h"
#include "tform2.h"

#include <exception>

int RunKovaStudio(QApplication& application, const std::string& program_folder) {
    const single_instance_lock lock(kInstanceLockText);
    if (lock.result() == instance_lock_result::already_running) {
        services().message_boxes->show(nullptr, "Program has already started!", "Program Starts Failure!",
                                       MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    // A lock that cannot be had for another reason (no runtime folder, a file of someone else's): the program
    // runs without the guard.
    apply_studio_font(application);
    // The program ends when the main form closes or the start form's Cancel is clicked, not when the start
    // form goes away.
    application.setQuitOnLastWindowClosed(false);
    SetProgramFolder(program_folder);
    try {
        TForm1 main_form;
        application.exec();
    } catch (const std::exception& error) {
        ShowException(QString::fromUtf8(error.what()));
    } catch (...) {
        ShowException(QString());
    }
    // The start form belongs to the program, not to the main form: it goes before the application object.
    delete Form2;
    Form2 = nullptr;
    return 0;
}
