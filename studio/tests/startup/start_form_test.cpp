// The start form as the user meets it: the system-file check against
// bin/SysChk.lst, its labels, colours and boxes, the layout step, Cancel and
// closing the form, and the main form that shows only after the checks.
#include "startup_support.h"

#include "bgr_color.h"
#include "my_thread.h"
#include "test_files.h"
#include "tform1.h"
#include "tform2.h"
#include "ui_driver.h"

#include <QApplication>
#include <QTimer>

#include <filesystem>
#include <stdexcept>

namespace {

using StartForm = startup_test;

const QString kFilesMissed = "System Files Missed!";

// A file in bin/ whose bytes sum to 107251 (0x0001A2F3): 420 bytes of 0xFF and one of 0x97.
void write_tone(const std::string& path) {
    std::vector<uint8_t> bytes(420, 0xFF);
    bytes.push_back(0x97);
    write_file(path, bytes);
}

// The system-file check failed: red label, Cancel on, the firmware check never started, the main form hidden.
void expect_file_check_failed(const service_record& record) {
    EXPECT_EQ(Form2->L_Ini_SysFileChk->text(), kFilesMissed);
    EXPECT_EQ(font_color(Form2->L_Ini_SysFileChk), kBgrRed);
    EXPECT_TRUE(Form2->CB_Ini_SysFileChk->isEnabled());
    EXPECT_TRUE(Form2->CB_Ini_SysFileChk->isChecked());
    EXPECT_FALSE(Form2->CB_Ini_SysFirmChk->isChecked());
    EXPECT_EQ(Form2->L_Ini_SysFirmChk->text(), "");
    EXPECT_TRUE(Form2->B_Ini_Cancel->isEnabled());
    EXPECT_TRUE(Form2->isVisible());
    EXPECT_FALSE(Form1->isVisible());
    EXPECT_EQ(record.sounds, (std::vector<QString>{"SYSTEMDEFAULT", "SYSTEMHAND"}));
}

void expect_passed() {
    EXPECT_EQ(Form2->L_Ini_SysFileChk->text(), "Done");
    EXPECT_EQ(font_color(Form2->L_Ini_SysFileChk), kBgrBlue);
    EXPECT_TRUE(Form1->isVisible());
    EXPECT_FALSE(Form2->isVisible());
}

// Runs the application's event loop as the program does after start-up; its exit code, or -1 when it did not
// end within a minute (it ends at once; the guard only keeps a fault from hanging the test).
int run_event_loop(const std::function<void()>& first) {
    QTimer::singleShot(0, first);
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(-1); });
    guard.start(60000);
    return QApplication::exec();
}

TEST_F(StartForm, TheSampleInstallationPassesBothChecksAgainstAWriterWithTheRightFirmware) {
    start_writer({"--version", "1.08"});
    start_studio();
    expect_passed();
    EXPECT_EQ(Form2->L_Ini_SysFirmChk->text(), "Done");
    EXPECT_EQ(font_color(Form2->L_Ini_SysFirmChk), kBgrBlue);
    // Passed checks leave their boxes ticked and greyed.
    EXPECT_TRUE(Form2->CB_Ini_SysFileChk->isChecked());
    EXPECT_FALSE(Form2->CB_Ini_SysFileChk->isEnabled());
    EXPECT_TRUE(Form2->CB_Ini_SysFirmChk->isChecked());
    EXPECT_FALSE(Form2->CB_Ini_SysFirmChk->isEnabled());
    EXPECT_FALSE(Form2->B_Ini_Cancel->isEnabled());
    EXPECT_EQ(record.sounds, std::vector<QString>{"SYSTEMDEFAULT"});
    EXPECT_EQ(boot_loader_starts(), 1u);  // the version run only
}

TEST_F(StartForm, TheFormIsLaidOutFromTopToBottomBeforeTheChecks) {
    std::filesystem::remove(folder.file("bin/SysChk.lst"));
    start_studio();
    EXPECT_EQ(Form2->windowTitle(), "KOVAPRO");
    EXPECT_TRUE(Form2->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(Form2->width(), 400);
    const QRect logo = Form2->IM_Logo->geometry();
    EXPECT_EQ(logo.x(), (400 - logo.width()) / 2);
    EXPECT_EQ(Form2->GP_InitialList->y(), logo.y() + logo.height() + 10);
    EXPECT_EQ(Form2->B_Ini_Cancel->y(), Form2->GP_InitialList->y() + Form2->GP_InitialList->height() + 10);
    EXPECT_EQ(Form2->height(), Form2->B_Ini_Cancel->y() + Form2->B_Ini_Cancel->height() + 10);
    EXPECT_EQ(Form2->CB_Ini_SysFileChk->text(), "System File Checking...");
    EXPECT_EQ(Form2->CB_Ini_SysFirmChk->text(), "Firmware Checking...");
    EXPECT_EQ(Form2->B_Ini_Cancel->text(), "Cancel");
    // Every control of the form fits inside it.
    for (QWidget* child : Form2->findChildren<QWidget*>()) {
        const QRect on_form(child->mapTo(Form2, QPoint(0, 0)), child->size());
        EXPECT_TRUE(Form2->rect().contains(on_form)) << child->objectName().toStdString();
    }
}

TEST_F(StartForm, CommentsCarriageReturnsHighBytesAndAMissingFinalLineEndPass) {
    // Bytes 0x80 to 0xFF count as 128 to 255: 0x80 + ... + 0xFF = 24512 = 0x5FC0.
    std::vector<uint8_t> high;
    for (int b = 0x80; b <= 0xFF; ++b) high.push_back(static_cast<uint8_t>(b));
    write_file(folder.file("bin/high.bin"), high);
    write_tone(folder.file("bin/Tone.wav"));
    write_file(folder.file("bin/empty"), {});
    write_text(folder.file("bin/SysChk.lst"),
               "; list of installed files\r\n"
               "\r\n"
               "@high.bin#00005FC0\r\n"
               "   \r\n"
               "@Tone.wav   #0001A2F3 text after the code\r\n"
               ";@missing.bin#00000000\r\n"
               "@empty#00000000");
    use_stand_in_updater("Ok", "*:0");
    start_studio();
    expect_passed();
    EXPECT_EQ(stand_in_runs(), std::vector<std::string>{"version nonwait"});
}

TEST_F(StartForm, AListOfCommentsOnlyWithoutAFinalLineEndPasses) {
    write_text(folder.file("bin/SysChk.lst"), "; nothing\n;listed");
    use_stand_in_updater("Ok", "*:0");
    start_studio();
    expect_passed();
}

TEST_F(StartForm, ACodeInLowerCaseFailsWithBothCodesInABoxOfNoOwner) {
    write_tone(folder.file("bin/Tone.wav"));
    write_text(folder.file("bin/SysChk.lst"), "@Tone.wav#0001a2f3\n");
    folder.set_setup_value("System", "PrtSysFail", "1");
    use_stand_in_updater("Ok", "*:0");
    const std::string both_codes = folder.file("bin/Tone.wav") + "\nRead Code: 0001a2f3\nGet Code:   0001A2F3";
    expect_box("Error!", QString::fromStdString(both_codes), IDOK);
    // The box comes before the red label.
    QString label_while_box;
    record.while_box_shown = [&](const recorded_box&) { label_while_box = Form2->L_Ini_SysFileChk->text(); };
    start_studio();
    expect_file_check_failed(record);
    ASSERT_EQ(record.boxes.size(), 1u);
    EXPECT_EQ(record.boxes[0].owner, nullptr);
    EXPECT_EQ(record.boxes[0].flags, unsigned{MB_ICONERROR});
    EXPECT_EQ(label_while_box, "");
    EXPECT_TRUE(stand_in_runs().empty());
}

TEST_F(StartForm, AMissingFileWithPrtSysFailShowsItsBoxOnTheStartForm) {
    write_tone(folder.file("bin/Play.wav"));
    write_text(folder.file("bin/SysChk.lst"), "@Play.wav#0001A2F3\n@gone.bin#00000000\n@Play.wav#00000000\n");
    folder.set_setup_value("System", "PrtSysFail", "1");
    expect_box("Error!", QString::fromStdString("System files missed: " + folder.file("bin/gone.bin")), IDOK);
    start_studio();
    expect_file_check_failed(record);
    ASSERT_EQ(record.boxes.size(), 1u);  // the check stops at the first failing file
    EXPECT_EQ(record.boxes[0].owner, Form2);
    EXPECT_EQ(record.boxes[0].flags, unsigned{MB_ICONERROR});
}

TEST_F(StartForm, AnExceptionDuringTheChecksIsShownAndLeavesCancelToTheUser) {
    write_text(folder.file("bin/SysChk.lst"), "@gone.bin#00000000\n");
    folder.set_setup_value("System", "PrtSysFail", "1");
    // Showing the missing file's box fails; the box that shows the exception follows.
    expect_box(QApplication::applicationName(), "out of luck", IDOK);
    record.while_box_shown = [](const recorded_box& box) {
        if (box.caption == "Error!") throw std::runtime_error("out of luck");
    };
    start_studio();
    ASSERT_EQ(record.boxes.size(), 2u);
    EXPECT_EQ(record.boxes[0].caption, "Error!");
    EXPECT_TRUE(Form2->B_Ini_Cancel->isEnabled());
    EXPECT_FALSE(Form1->isVisible());
    EXPECT_EQ(run_event_loop([] { click(Form2->B_Ini_Cancel); }), 0);
}

TEST_F(StartForm, WithoutPrtSysFailAFailingFileShowsOnlyTheLabel) {
    write_text(folder.file("bin/SysChk.lst"), "@gone.bin#00000000\n");
    start_studio();
    expect_file_check_failed(record);
    EXPECT_TRUE(record.boxes.empty());
}

TEST_F(StartForm, AFolderOrALineWithoutHashCountsAsAMissingFile) {
    folder.set_setup_value("System", "PrtSysFail", "1");
    write_text(folder.file("bin/SysChk.lst"), "@1x2#00000000\n");
    expect_box("Error!", QString::fromStdString("System files missed: " + folder.file("bin/1x2")), IDOK);
    start_studio();
    expect_file_check_failed(record);
    end_studio();

    write_text(folder.file("bin/SysChk.lst"), "@Play.wav 00000000\n");
    record.sounds.clear();
    expect_box("Error!", QString::fromStdString("System files missed: " + folder.file("bin/")), IDOK);
    start_studio();
    expect_file_check_failed(record);
}

TEST_F(StartForm, AMissingListOrAFolderInItsPlaceFailsWithoutABox) {
    folder.set_setup_value("System", "PrtSysFail", "1");
    std::filesystem::remove(folder.file("bin/SysChk.lst"));
    start_studio();
    expect_file_check_failed(record);
    end_studio();

    std::filesystem::create_directory(folder.file("bin/SysChk.lst"));
    record.sounds.clear();
    start_studio();
    expect_file_check_failed(record);
    EXPECT_TRUE(record.boxes.empty());
}

TEST_F(StartForm, AListOfBinaryGarbageFailsOnItsFirstLine) {
    std::vector<uint8_t> garbage;
    uint32_t seed = 12345;
    for (int i = 0; i < 100000; ++i) {
        seed = seed * 1103515245u + 12345u;
        garbage.push_back(static_cast<uint8_t>(seed >> 16));
    }
    garbage[0] = '@';  // not a comment: an entry naming no file that can exist
    write_file(folder.file("bin/SysChk.lst"), garbage);
    start_studio();
    expect_file_check_failed(record);
}

TEST_F(StartForm, WithTheChecksOffNothingIsCheckedAndTheMainFormShowsAtOnce) {
    folder.set_setup_value("System", "SysChk", "0");
    std::filesystem::remove(folder.file("bin/SysChk.lst"));
    use_stand_in_updater("Ok", "*:0");
    start_studio();
    EXPECT_TRUE(Form1->isVisible());
    EXPECT_FALSE(Form2->isVisible());
    EXPECT_FALSE(Form2->CB_Ini_SysFileChk->isChecked());
    EXPECT_EQ(Form2->L_Ini_SysFileChk->text(), "");
    EXPECT_TRUE(stand_in_runs().empty());
}

TEST_F(StartForm, ASettingsFileOfGarbageRunsTheChecksWithEveryDefault) {
    // No readable key: SysChk is on, PrtSysFail off, FwVer empty, so the firmware check fails at once.
    write_file(folder.file("setup.ini"), {0xFF, 0xFE, '[', 0x00, 'S', '=', '\n', 0x80, 0x81, '\r'});
    start_studio();
    EXPECT_EQ(Form2->L_Ini_SysFileChk->text(), "Done");
    EXPECT_EQ(Form2->L_Ini_SysFirmChk->text(), "");
    EXPECT_TRUE(Form2->CB_Ini_SysFirmChk->isEnabled());
    EXPECT_TRUE(Form2->B_Ini_Cancel->isEnabled());
    EXPECT_FALSE(Form1->isVisible());
    EXPECT_EQ(record.sounds, (std::vector<QString>{"SYSTEMDEFAULT", "SYSTEMHAND"}));
}

TEST_F(StartForm, AValueThatIsNoNumberLeavesTheChecksOn) {
    folder.set_setup_value("System", "SysChk", "off");
    std::filesystem::remove(folder.file("bin/SysChk.lst"));
    start_studio();
    expect_file_check_failed(record);
}

TEST_F(StartForm, ClosingTheFormWhileTheChecksRunIsIgnored) {
    use_stand_in_updater("Slow", "*:sleep=800,0");
    bool close_tried = false, closed = true, shown_during_checks = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (close_tried || Form2 == nullptr || !ChildProgramRunning()) return;
        close_tried = true;
        closed = Form2->close();
        shown_during_checks = Form1->isVisible();
    });
    closer.start(10);
    start_studio();
    ASSERT_TRUE(close_tried);
    EXPECT_FALSE(closed);
    EXPECT_FALSE(shown_during_checks);
    expect_passed();
    EXPECT_EQ(Form2->L_Ini_SysFirmChk->text(), "Done");
}

TEST_F(StartForm, CancelAfterAFailureEndsTheProgram) {
    std::filesystem::remove(folder.file("bin/SysChk.lst"));
    start_studio();
    ASSERT_TRUE(Form2->B_Ini_Cancel->isEnabled());
    EXPECT_EQ(run_event_loop([] { click(Form2->B_Ini_Cancel); }), 0);
    EXPECT_FALSE(Form2->isVisible());
    EXPECT_FALSE(Form1->isVisible());
}

TEST_F(StartForm, ClosingTheFormAfterAFailureActsAsCancel) {
    std::filesystem::remove(folder.file("bin/SysChk.lst"));
    start_studio();
    EXPECT_EQ(run_event_loop([] { Form2->close(); }), 0);
    EXPECT_FALSE(Form2->isVisible());
    EXPECT_FALSE(Form1->isVisible());
}

TEST_F(StartForm, ShowingTheFormAgainAfterAFailureChecksNothingAndKeepsTheMainFormHidden) {
    use_stand_in_updater("Old", "version:-7");
    expect_box("Warning!", "", IDNO);
    start_studio();
    ASSERT_TRUE(Form2->B_Ini_Cancel->isEnabled());
    Form2->hide();
    Form2->show();
    Form2->activateWindow();
    wait_until([] { return false; }, std::chrono::milliseconds(300));
    EXPECT_FALSE(Form1->isVisible());
    EXPECT_EQ(Form2->L_Ini_SysFirmChk->text(), "Firmware update Failed!");
    EXPECT_EQ(stand_in_runs().size(), 1u);
}

}  // namespace
