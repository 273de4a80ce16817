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

// The updater could not read the writer's version (-6), or found it older (-7) or newer (-8) than its own.
bool updater_found_wrong_version(int result) { return result <= -6 && result >= -8; }

void center_on_screen(QWidget* form) {
    if (const QScreen* screen = form->screen()) {
        const QRect area = screen->availableGeometry();
        form->move(area.center() - QPoint(form->width() / 2, form->height() / 2));
    }
}

}  // namespace

TForm2::TForm2(QWidget* Owner)
    : QWidget(Owner),
      SetupIni(SetupIniPath()) {
    LangIni = ini_file(LanguageIniPath(SetupIni));
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
    QTimer::singleShot(0, this, [this] {
        try {
            FormActivate();
        } catch (...) {
            // The program shows the exception; the user must still be able to leave through Cancel.
            state_ = check_state::failed;
            B_Ini_Cancel->setEnabled(true);
            throw;
        }
    });
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
            ShowCheckFailed();
            return;
        }
        CB_Ini_SysFileChk->setEnabled(false);
        CB_Ini_SysFirmChk->setEnabled(true);
        CB_Ini_SysFirmChk->setChecked(true);
        if (!CheckWriterFirmware()) {
            ShowCheckFailed();  // the firmware label already says why
            return;
        }
        CB_Ini_SysFirmChk->setEnabled(false);
    }
    state_ = check_state::passed;
    hide();
    if (Form1 != nullptr) {
        center_on_screen(Form1);
        Form1->show();
    }
}

// After a failed check only Cancel is left, and the form comes to the front.
void TForm2::ShowCheckFailed() {
    B_Ini_Cancel->setEnabled(true);
    services().sounds->play("SYSTEMHAND");
    raise();
    activateWindow();
    state_ = check_state::failed;
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
    case system_check_result::code_mismatch:
        if (SetupIni.read_bool("System", "PrtSysFail", false)) {
            // The missing file's box belongs to the start form; the mismatch box has no owner window.
            QWidget* owner = result.kind == system_check_result::file_missing ? this : nullptr;
            services().message_boxes->show(owner, QString::fromStdString(system_check_box_text(result)), "Error!",
                                           MB_ICONERROR);
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

void TForm2::ShowFirmwareResult(int result, const char* wrong_version_text) {
    QString text;
    switch (result) {
    case 0: text = "Done"; break;
    case -1: text = "FCS error: 0001"; break;
    case -4: text = "USB writer connection Failure!"; break;
    case -5: text = "FCS error: 0002"; break;
    default: text = updater_found_wrong_version(result) ? wrong_version_text : "FCS error: 0004"; break;
    }
    set_font_color(L_Ini_SysFirmChk, result == 0 ? kBgrBlue : kBgrRed);
    L_Ini_SysFirmChk->SetCaption(text);
}

bool TForm2::CheckWriterFirmware() {
    if (SetupIni.read_string("System", "FwVer", "").empty()) return false;
    poll_counter_ = 0;
    int result = RunUpdater(" version nonwait");
    ShowFirmwareResult(result, "Incorrect writer firmware detected.");
    if (!updater_found_wrong_version(result)) return result == 0;

    const QString question = QString::fromStdString(message_text(LangIni, "Msg016"));
    if (services().message_boxes->show(nullptr, question, "Warning!", MB_YESNO | MB_ICONQUESTION) == IDYES) {
        const QString warning = QString::fromStdString(message_text(LangIni, "Msg017") + "\n" +
                                                       message_text(LangIni, "Msg018"));
        services().message_boxes->show(nullptr, warning, "Warning!", MB_ICONINFORMATION);
        result = RunUpdater(" update nonwait");
    }
    // Declined, the version run's result lands here too: the firmware stays wrong.
    ShowFirmwareResult(result, "Firmware update Failed!");
    return result == 0;
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
