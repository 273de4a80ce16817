// The writer page: load a DAT file, blank-check, program and verify chips.
#include "tform1.h"

#include "bgr_color.h"
#include "compile_commands.h"
#include "file_removal.h"
#include "my_thread.h"
#include "pipeline_files.h"
#include "program_folder.h"
#include "studio_services.h"
#include "writer_commands.h"

#include <QTabBar>

#include <algorithm>

namespace {

constexpr const char* kDatFilter = "KOVA DAT file ( *.dat )|*.dat";
constexpr const char* kWarning = "Warning!";

}  // namespace

void TForm1::B_LoadFileClick() {
    DisableWriterControls();
    ProgBar->setValue(0);
    L_FileName->SetCaption("");
    LE_CheckSum->SetText("");
    P_Tip->SetCaption("");
    L_Status->SetCaption("Loading file...");
    // QavChk appends to its report. What cannot be removed is left to the checksum query, which fails when it
    // cannot empty the report; the load goes on either way.
    remove_file_tries(ProgramFolder() + kChecksumReportFile);

    const QStringList chosen = services().file_dialogs->open_files(this, kDatFilter, false);
    if (chosen.isEmpty()) {
        L_Status->SetCaption("Load File Cancelled!");
        EnableWriterControls();
        return;
    }
    const QString path = chosen.first();
    // Anything but a regular file (a pipe would block the window) names no model.
    const std::string model = GetDatDeviceName(path.toStdString());
    const int index = CB_Wrt_Device->IndexOf(QString::fromStdString(GetDeviceSymbol(DeviceNameToCode(model))));
    if (model.empty() || index < 0) {
        // The device chosen before stays.
        L_Status->SetCaption(Msg("Msg021"));
        EnableWriterControls();
        return;
    }
    CB_Wrt_Device->SetItemIndex(index);

    L_FileName->SetCaption(path);
    const int32_t rom_size = GetDeviceSize(DeviceNameToCode(model));
    const checksum_query_result checksum = GetImageCheckSum(path, QString::fromStdString(rom_size_text(rom_size)));
    const QString text = QString::fromStdString(checksum.text);
    if (checksum.ok) {
        LE_CheckSum->SetText(text);
        L_Status->SetCaption(QString::fromStdString(
            load_finished_status(LangIni, CB_Wrt_Device->Text().toStdString(), checksum.text)));
    } else {
        // The file stays loaded: Program and Verify still run with it.
        LE_CheckSum->SetText("");
        L_Status->SetCaption(text);
    }
    EnableWriterControls();
}

void TForm1::B_BlankCheckClick() { RunWriterOperation(writer_function::blank_check); }
void TForm1::B_ProgramClick() { RunWriterOperation(writer_function::program); }
void TForm1::B_VerifyClick() { RunWriterOperation(writer_function::verify); }

void TForm1::RunWriterOperation(writer_function function) {
    const writer_operation& operation = writer_operation_of(function);
    DisableWriterControls();
    P_Tip->SetCaption("");
    ProgBar->setValue(0);
    L_Status->SetCaption(operation.running_text);

    const std::string device_code = GetDeviceCode(CB_Wrt_Device->Text().toStdString());
    const std::string model = DeviceCodeToName(device_code);
    const std::string dat_path = L_FileName->Caption().toStdString();
    if (operation.needs_dat) {
        if (dat_path.empty()) {
            services().message_boxes->show(this, Msg("Msg009"), kWarning, MB_OK | MB_ICONINFORMATION);
            L_Status->SetCaption(Msg("Msg010"));
            EnableWriterControls();
            return;
        }
        // The model is read from the file again: it may have changed since it was loaded.
        const std::string dat_model = GetDatDeviceName(dat_path);
        if (dat_model != model) {
            services().message_boxes->show(this, Msg("Msg011"), kWarning, MB_OK | MB_ICONINFORMATION);
            L_Status->SetCaption(QString::fromStdString(unmatched_device_status(
                LangIni, GetDeviceSymbol(DeviceNameToCode(dat_model)), CB_Wrt_Device->Text().toStdString())));
            EnableWriterControls();
            return;
        }
    }

    const int result = RunChildProgram(
        writer_command_line(ProgramFolder(), device_code, model, function, dat_path), LastThread,
        writer_progress_cadence(CB_Wrt_Device->ItemIndex()),
        [this] { ProgBar->setValue(std::min(ProgBar->value() + 1, ProgBar->maximum())); });
    ProgBar->setValue(ProgBar->maximum());
    ShowWriterResult(result, operation.name);
}

void TForm1::DisableWriterControls() { SetWriterControlsEnabled(false); }
void TForm1::EnableWriterControls() { SetWriterControlsEnabled(true); }

void TForm1::SetWriterControlsEnabled(bool enabled) {
    for (QWidget* control : std::initializer_list<QWidget*>{CB_Wrt_Device, B_LoadFile, B_BlankCheck, B_Program,
                                                            B_Verify}) {
        control->setEnabled(enabled);
    }
    // A second child program must not start while one runs, nor may the page that shows it be left: the tab
    // bar and the other pages (a disabled tab disables its page, and keys cannot switch to it) go with the
    // controls. The page control itself stays enabled, so that the status and the progress stay readable.
    PC_PageSelect->tabBar()->setEnabled(enabled);
    for (int page = 0; page < PC_PageSelect->count(); ++page) {
        if (PC_PageSelect->widget(page) != Writer) PC_PageSelect->setTabEnabled(page, enabled);
    }
}

void TForm1::ShowWriterResult(int exit_code, const QString& operation) {
    const writer_result_view view = writer_result(exit_code, operation.toStdString());
    L_Status->SetCaption(QString::fromStdString(view.status));
    if (!view.tip.empty()) {
        P_Tip->SetCaption(QString::fromStdString(view.tip));
        set_font_color(P_Tip, view.tip_color);
    }
    if (!view.progress_full) ProgBar->setValue(0);
    services().sounds->play(view.sound);
    EnableWriterControls();
}
