// KovaStudio's entry.
#include "program_folder.h"
#include "studio_application.h"
#include "studio_entry.h"

int main(int argc, char** argv) {
    studio_application application(argc, argv);
    application.setApplicationName("KovaStudio");
    return RunKovaStudio(application, ExecutableFolder());
}
