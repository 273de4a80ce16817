// The compile pipeline behind the Compile button: the project check, the
// high-current warning, the DAT file's name, then the five steps (encoder
// script and voice table, the encoder, the link script, the image builder, the
// compile report with the image checksum), each only after the one before it
// succeeded.
#include "tform1.h"

#include "grid_columns.h"

#include "compile_commands.h"
#include "compile_report.h"
#include "dat_path_rules.h"
#include "encoder_script_files.h"
#include "link_script.h"
#include "my_thread.h"
#include "pipeline_files.h"
#include "program_folder.h"
#include "project_snapshot.h"
#include "staged_files.h"
#include "studio_services.h"

#include <QPointer>
#include <QTabBar>

#include <unistd.h>

#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

namespace {

// Keeps the user away from every page while the pipeline runs: the tab bar and
// every control that takes input are disabled, and each gets back the state it
// had. Labels, the memory gauge and the status bar stay readable, as greying the
// whole page control would not leave them.
class page_lock {
public:
    explicit page_lock(QTabWidget* pages) : pages_(pages) {
        for (QWidget* widget : pages->findChildren<QWidget*>()) {
            const bool takes_input = widget->focusPolicy() != Qt::NoFocus || qobject_cast<QTabBar*>(widget);
            if (!takes_input || !widget->isEnabled()) continue;
            locked_.emplace_back(widget);
            widget->setEnabled(false);
        }
        // Keys (Ctrl+Tab) switch pages without the tab bar: the other pages' tabs go too.
        for (int page = 0; page < pages->count(); ++page) {
            if (page == pages->currentIndex() || !pages->isTabEnabled(page)) continue;
            locked_tabs_.push_back(page);
            pages->setTabEnabled(page, false);
        }
    }
    ~page_lock() {
        for (const QPointer<QWidget>& widget : locked_) {
            if (widget) widget->setEnabled(true);
        }
        if (pages_) {
            for (const int page : locked_tabs_) pages_->setTabEnabled(page, true);
        }
    }
    page_lock(const page_lock&) = delete;
    page_lock& operator=(const page_lock&) = delete;

private:
    QPointer<QTabWidget> pages_;
    std::vector<QPointer<QWidget>> locked_;
    std::vector<int> locked_tabs_;
};

std::string text_of(const QString& text) { return text.toStdString(); }

// The mode settings' [Global] Offset as written there, "" when the file or the
// key is missing; also "" when the device or the trigger mode has no code, as
// the file then cannot be named (the writers fail on the missing code first).
std::string offset_text(const project_snapshot& project) {
    if (project.device_code.empty() || project.mode_code.empty()) return "";
    const ini_file settings(ProgramFolder() + mode_settings_file(project.device_code, project.mode_code));
    return settings.read_string("Global", "Offset", "");
}

// Failures of the click itself, told apart from the steps' results only for reading the code.
constexpr int kNotStaged = 1;      // no hidden files could be made beside the DAT file and its report
constexpr int kNotPutInPlace = 2;  // the verified image and its report could not replace the files

bool name_taken(const std::string& path) {
    std::error_code error;
    return std::filesystem::symlink_status(path, error).type() != std::filesystem::file_type::not_found;
}

}  // namespace

void TForm1::BT_CompileClick() {
    const page_lock locked(PC_PageSelect);

    int row = SG_GrpList->RowCount() - 1;
    while (row >= 1 && SG_GrpList->Cells(group_column::kItemList, row).isEmpty()) --row;
    if (row < 1) {
        services().message_boxes->show(this, Msg("Msg005"), "Warning!", MB_ICONINFORMATION);
        return;
    }

    // Only the level's first digit is looked at: levels 1 and 10 to 19 draw little current.
    const QString output_type = CB_VoutSel->Text();
    if (output_type.mid(5, 3) == "PWM" && output_type.mid(18, 1) != "1") {
        QString warning = Msg("Msg027") + "\n";
        if (GetDeviceCode(text_of(CB_Device->Text())) == "Z6") {
            warning += Msg("Msg030");
        } else {
            warning += Msg("Msg028") + "\n" + Msg("Msg029");
        }
        services().message_boxes->show(this, warning, "Warning!", MB_ICONINFORMATION);
    }

    const QString chosen = services().file_dialogs->save_file(this, "DAT file(*.dat)|*.dat", ".dat");
    if (chosen.isEmpty()) return;
    SaveDatFileName = chosen;
    const std::string dat_path = text_of(SaveDatFileName);
    // A name the command lines cannot carry, or one whose image or report would overwrite the programs or the
    // pipeline's own files, is refused before anything is written; the files it names are left alone.
    if (dat_path_refused(ProgramFolder(), dat_path) ||
        dat_path_refused(ProgramFolder(), compile_report_path(dat_path))) {
        services().message_boxes->show(this, Msg("Msg008"), "Error!", MB_ICONERROR);
        services().sounds->play("SYSTEMHAND");
        return;
    }
    if (name_taken(dat_path)) {
        const QString question = Msg("Msg006") + "\"" + SaveDatFileName + "\"" + Msg("Msg007");
        if (services().message_boxes->show(this, question, "Warning!", MB_YESNO | MB_ICONINFORMATION) != IDYES) return;
    }

    // The image and the report are made under hidden names beside the files they replace, and take their places
    // only once the checker has verified the image: a failed or interrupted compile leaves the files as they were.
    staged_files staged;
    const std::optional<std::string> image = staged.stage(dat_path);
    const std::optional<std::string> report = image ? staged.stage(compile_report_path(dat_path)) : std::nullopt;
    int result = kNotStaged;
    if (image && report && !dat_path_refused(ProgramFolder(), *image) &&
        !dat_path_refused(ProgramFolder(), *report)) {
        DatImageFile = *image;
        DatReportFile = *report;
        result = WriteScriptFiles();
        if (result == 0) result = RunEncoder();
        if (result == 0) result = WriteLinkScript();
        if (result == 0) result = RunImageBuilder();
        if (result == 0) result = WriteCompileReport();
        if (result == 0 && !staged.commit()) result = kNotPutInPlace;
    }

    if (result != 0) {
        QString failure = Msg("Msg008");
        // A file that is not as it was, and the hidden name that may be the only one of the old file: the user
        // must learn them.
        for (const staged_files::left_file& file : staged.left()) {
            failure += "\n\n" + QString::fromStdString(file.text());  // a paragraph each, as the paths wrap
        }
        staged.discard();
        services().message_boxes->show(this, failure, "Error!", MB_ICONERROR);
        services().sounds->play("SYSTEMHAND");
    } else {
        services().sounds->play("SYSTEMDEFAULT");
    }
}

int TForm1::WriteScriptFiles() {
    const project_snapshot project = ProjectSnapshot();
    return write_script_files(project, offset_text(project), ProgramFolder() + kScriptFile,
                              ProgramFolder() + kTableFile);
}

int TForm1::RunEncoder() { return RunChildProgram(encoder_command_line(ProgramFolder()), LastThread); }

int TForm1::WriteLinkScript() {
    // The link script takes the choices only, not the grids' rows.
    const project_snapshot project = ProjectSnapshot(false);
    return write_link_script(project, offset_text(project), ProgramFolder(), DatImageFile);
}

int TForm1::RunImageBuilder() {
    // The builder appends to its log: each run starts a fresh one.
    ::unlink((ProgramFolder() + kBuilderLogFile).c_str());
    return RunChildProgram(image_builder_command_line(ProgramFolder()), LastThread);
}

int TForm1::WriteCompileReport() {
    // The ROM size is that of the chip model the new image names, which is the selected device's when the
    // image template names it.
    const auto query_checksum = [this] {
        const int32_t rom_size = GetDeviceSize(DeviceNameToCode(GetDatDeviceName(DatImageFile)));
        return GetImageCheckSum(QString::fromStdString(DatImageFile), QString::fromStdString(rom_size_text(rom_size)));
    };
    // The report names the DAT file as the user chose it.
    return write_compile_report(DatReportFile, ProgramFolder() + kTableFile, text_of(CB_Device->Text()),
                                text_of(SaveDatFileName), query_checksum);
}

project_snapshot TForm1::ProjectSnapshot(bool with_rows) const {
    project_snapshot project;
    for (int row = 1; with_rows && row < SG_FileList->RowCount(); ++row) {
        const auto cell = [this, row](int col) { return text_of(SG_FileList->Cells(col, row)); };
        using namespace file_column;
        project.items.push_back({cell(kName), cell(kRate), cell(kSize), cell(kType), cell(kPath), cell(kId)});
    }
    for (int row = 1; with_rows && row < SG_GrpList->RowCount(); ++row) {
        const auto cell = [this, row](int col) { return text_of(SG_GrpList->Cells(col, row)); };
        using namespace group_column;
        project.groups.push_back({cell(kEdge), cell(kHold), cell(kRetrigger), cell(kItemList)});
    }
    project.device_text = text_of(CB_Device->Text());
    project.device_code = GetDeviceCode(project.device_text);
    project.device_size = GetDeviceSize(project.device_code);
    project.output_type = text_of(CB_VoutSel->Text());
    project.trigger_mode = text_of(CB_TgMode->Text());
    project.mode_code = GetTriggerModeCode();
    project.compression_index = CB_ComFmt->ItemIndex();
    project.compression_text = text_of(CB_ComFmt->Text());
    return project;
}
