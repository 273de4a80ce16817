// The start form's behaviour: the checks on the first show, their labels, and Cancel.
#include "tform2.h"

#include "bgr_color.h"
#include "command_line.h"
#include "my_thread.h"
#include "program_folder.h"
#include "studio_services.h"
#include "studio_texts.h"
#include "system_file_list.h"
#include "tform1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QScreen>
#include <QTimer>

TForm2* Form2 = nullptr;
bool StartChecksDone = false;

namespace {

constexpr auto kDotPace = std::chrono::milliseconds(200);

void center_on_screen(QWidget* form) {
    if (const QScreen* screen = form->screen()) {
        const QRect area = screen->availableGeometry();
        form->move(area.center() - QPoint(form->width() / 2, form->height() / 2));
    }
}

}  // namespace

TForm2::TForm2(QWidget* Owner)
    : QWidget(Owner),
      SetupIni(ProgramFolder() + "setup.ini") {
    LangIni = ini_file(ProgramFolder() + "Language/" + SetupIni.read_string("System", "Language", ""));
    CreateComponents();
    FormCreate();
}

TForm2::~TForm2() {
    if (Form2 == this) Form2 = nullptr;
}

void TForm2::FormCreate() { StartChecksDone = false; }

void TForm2::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (StartChecksDone) return;
    StartChecksDone = true;
    center_on_screen(this);
    // Queued, so that the form is on screen before the checks start; a frameless window under a bare X
    // server may never be activated, so the checks do not wait for that.
    QTimer::singleShot(0, this, [this] { FormActivate(); });
}

void TForm2::FormActivate() {
    state_ = check_state::running;
    if (SetupIni.read_bool("System", "SysChk", true)) {
        LayOut();
        center_on_screen(this);
        CB_Ini_SysFileChk->setEnabled(true);
        CB_Ini_SysFileChk->setChecked(true);
        if (!CheckSystemFiles()) {
            set_font_color(L_Ini_SysFileChk, kBgrRed);
            L_Ini_SysFileChk->SetCaption("System Files Missed!");
            B_Ini_Cancel->setEnabled(true);
            services().sounds->play("SYSTEMHAND");
            raise();
            activateWindow();
            state_ = check_state::failed;
            return;
        }
        CB_Ini_SysFileChk->setEnabled(false);
        CB_Ini_SysFirmChk->setEnabled(true);
        CB_Ini_SysFirmChk->setChecked(true);
        if (!CheckWriterFirmware()) {
            B_Ini_Cancel->setEnabled(true);
            services().sounds->play("SYSTEMHAND");
            raise();
            activateWindow();
            state_ = check_state::failed;
            return;
        }
        CB_Ini_SysFirmChk->setEnabled(false);
    }
    state_ = check_state::passed;
    hide();
    if (Form1 != nullptr) Form1->show();
}

bool TForm2::CheckSystemFiles() {
    const system_check_result result =
        check_system_files(ProgramFolder(), [] { QCoreApplication::processEvents(); });
    switch (result.kind) {
    case system_check_result::passed:
        set_font_color(L_Ini_SysFileChk, kBgrBlue);
        L_Ini_SysFileChk->SetCaption("Done");
        return true;
    case system_check_result::list_missing:
        return false;
    case system_check_result::file_missing:
        if (SetupIni.read_bool("System", "PrtSysFail", false)) {
            services().message_boxes->show(this, QString::fromStdString("System files missed: " + result.path),
                                           "Error!", MB_ICONERROR);
        }
        return false;
    case system_check_result::code_mismatch:
        if (SetupIni.read_bool("System", "PrtSysFail", false)) {
            services().message_boxes->show(nullptr,
                                           QString::fromStdString(result.path + "\nRead Code: " + result.expected_code +
                                                                  "\nGet Code:   " + result.computed_code),
                                           "Error!", MB_ICONERROR);
        }
        return false;
    }
    return false;
}

int TForm2::RunUpdater(const std::string& words) {
    const std::string updater = "bin/QavUpdate" + SetupIni.read_string("System", "FwVer", "");
    set_font_color(L_Ini_SysFirmChk, kBgrBlack);
    return RunChildProgram(quote_short_path(ProgramFolder(), updater) + words, LastThread, kDotPace, [this] {
        ++poll_counter_;
        static const char* const dots[] = {".", "..", "..."};
        L_Ini_SysFirmChk->SetCaption(dots[poll_counter_ % 3]);
    });
}

void TForm2::ShowFirmwareResult(const QString& text, bool passed) {
    set_font_color(L_Ini_SysFirmChk, passed ? kBgrBlue : kBgrRed);
    L_Ini_SysFirmChk->SetCaption(text);
}

bool TForm2::CheckWriterFirmware() {
    if (SetupIni.read_string("System", "FwVer", "").empty()) return false;
    poll_counter_ = 0;
    int result = RunUpdater(" version nonwait");
    switch (result) {
    case 0: ShowFirmwareResult("Done", true); return true;
    case -1: ShowFirmwareResult("FCS error: 0001", false); return false;
    case -4: ShowFirmwareResult("USB writer connection Failure!", false); return false;
    case -5: ShowFirmwareResult("FCS error: 0002", false); return false;
    case -6:
    case -7:
    case -8: ShowFirmwareResult("Incorrect writer firmware detected.", false); break;
    default: ShowFirmwareResult("FCS error: 0004", false); return false;
    }

    const QString question = QString::fromStdString(message_text(LangIni, "Msg016"));
    if (services().message_boxes->show(nullptr, question, "Warning!", MB_YESNO | MB_ICONQUESTION) == IDYES) {
        const QString warning = QString::fromStdString(message_text(LangIni, "Msg017") + "\n" +
                                                       message_text(LangIni, "Msg018"));
        services().message_boxes->show(nullptr, warning, "Warning!", MB_ICONINFORMATION);
        result = RunUpdater(" update nonwait");
    }
    switch (result) {
    case 0: ShowFirmwareResult("Done", true); return true;
    case -1: ShowFirmwareResult("FCS error: 0001", false); return false;
    case -4: ShowFirmwareResult("USB writer connection Failure!", false); return false;
    case -5: ShowFirmwareResult("FCS error: 0002", false); return false;
    case -6:
    case -7:
    case -8: ShowFirmwareResult("Firmware update Failed!", false); return false;
    default: ShowFirmwareResult("FCS error: 0004", false); return false;
    }
}

void TForm2::B_Ini_CancelClick() {
    state_ = check_state::passed;  // the close below is the Cancel itself
    close();
    if (Form1 != nullptr) Form1->close();
}

void TForm2::closeEvent(QCloseEvent* event) {
    switch (state_) {
    case check_state::waiting:
    case check_state::running:
        // The checks are under way (a child may run): closing now would leave them without a window.
        event->ignore();
        return;
    case check_state::failed:
        event->accept();
        B_Ini_CancelClick();
        return;
    default:
        event->accept();
        return;
    }
}
