// KovaStudio's entry: one copy at a time, the main form (which shows the start
// form), the message loop.
#include "program_folder.h"
#include "single_instance_lock.h"
#include "studio_application.h"
#include "studio_font.h"
#include "studio_services.h"
#include "tform1.h"

#include <exception>

int main(int argc, char** argv) {
    studio_application application(argc, argv);
    application.setApplicationName("KovaStudio");
    // Only the lock's name is looked at by another copy.
    single_instance_lock lock("KOVAPRO Sound Compiler");
    if (lock.result() == instance_lock_result::already_running) {
        services().message_boxes->show(nullptr, "Program has already started!", "Program Starts Failure!",
                                       MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    apply_studio_font(application);
    // The program ends when the main form closes or the start form's Cancel is clicked, not when the start
    // form goes away.
    application.setQuitOnLastWindowClosed(false);
    SetProgramFolder(ExecutableFolder());
    try {
        TForm1 main_form;
        application.exec();
    } catch (const std::exception& error) {
        ShowException(QString::fromUtf8(error.what()));
    } catch (...) {
        ShowException(QString());
    }
    return 0;
}
