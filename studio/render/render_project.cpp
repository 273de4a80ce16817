// The compiler page with a small voice project: the sample sounds and a mute
// in the file list, three groups holding them, then the mute editor and the
// group settings panel open over it.
#include "quiet_services.h"
#include "render_scenarios.h"

#include "program_folder.h"
#include "studio_services.h"
#include "tform1.h"

#include <QDir>

namespace {

// The program folder's sample sounds.
QStringList sample_sounds() {
    const QDir samples(QString::fromStdString(ProgramFolder() + "Samples"));
    QStringList files;
    for (const QString& name : samples.entryList({"*.wav"}, QDir::Files, QDir::Name)) files << samples.filePath(name);
    return files;
}

// Puts file-list row `item` into group `group`, as a double click with that group selected does.
void put_into_group(TForm1& main, int item, int group) {
    main.SG_GrpList->SetRow(group);
    main.SG_FileList->SetRow(item);
    main.SG_FileListDblClick();
}

}  // namespace

bool render_project(const std::string& output) {
    TForm1& main = *Form1;
    install_quiet_services().open_answer = sample_sounds();

    main.PC_PageSelect->setCurrentIndex(0);
    // A chip with room for all the samples.
    main.CB_Device->SetItemIndex(main.CB_Device->IndexOf("KOVA3K42"));
    main.CB_DeviceChange();
    main.PMB_AddClick();
    main.PMB_AddMuteClick();
    main.LE_SilTime->SetText("250");
    main.ApplyMuteTime();
    main.SG_FileList->SetRow(2);
    main.BT_EditFLClick();  // the second sound compressed

    const int items = main.SG_FileList->RowCount() - 23;
    for (int item = 1; item <= items; ++item) put_into_group(main, item, 1);
    put_into_group(main, items, 2);
    put_into_group(main, 1, 2);
    put_into_group(main, 3, 3);
    main.SG_GrpList->SetRow(2);
    main.SG_GrpListDblClick();
    main.RG_Lvl->SetItemIndex(1);
    main.RG_Rtg->SetItemIndex(1);
    main.BT_GrpSetOKClick();
    main.SG_GrpList->SetRow(1);
    main.SG_GrpTab->SetRow(2);
    main.SG_FileList->SetRow(1);
    bool ok = save_picture(&main, output, "compiler-project");

    main.SG_FileList->SetRow(items);
    main.BT_EditFLClick();
    ok = save_picture(&main, output, "compiler-mute-editor") && ok;
    main.BT_MuteTimeCancelClick();

    main.SG_GrpList->SetRow(2);
    main.SG_GrpListDblClick();
    ok = save_picture(&main, output, "compiler-group-settings") && ok;
    main.BT_GrpSetCnlClick();
    return ok;
}
