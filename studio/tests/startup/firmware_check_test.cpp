// The start form's writer firmware check: the real updater against the writer
// simulator, and a stand-in updater for endings the real one cannot give.
#include "startup_support.h"

#include "bgr_color.h"
#include "my_thread.h"
#include "test_files.h"
#include "tform1.h"
#include "tform2.h"

#include <QApplication>
#include <QThread>

#include <filesystem>

namespace {

using FirmwareCheck = startup_test;

const QString kQuestion = "Incorrect writer firmware detected.  Update firmware now?";
const QString kWarning = "DO NOT disconnect USB cable during firmware update!\nPlease click \"OK\" to start update.";

QLabel* firmware_label() { return Form2 == nullptr ? nullptr : Form2->L_Ini_SysFirmChk; }

void expect_firmware_failed(const QString& text, const service_record& record) {
    EXPECT_EQ(Form2->L_Ini_SysFirmChk->text(), text);
    EXPECT_EQ(font_color(Form2->L_Ini_SysFirmChk), kBgrRed);
    EXPECT_TRUE(Form2->CB_Ini_SysFirmChk->isEnabled());
    EXPECT_TRUE(Form2->CB_Ini_SysFirmChk->isChecked());
    EXPECT_FALSE(Form2->CB_Ini_SysFileChk->isEnabled());
    EXPECT_TRUE(Form2->B_Ini_Cancel->isEnabled());
    EXPECT_TRUE(Form2->isVisible());
    EXPECT_FALSE(Form1->isVisible());
    EXPECT_EQ(record.sounds, (std::vector<QString>{"SYSTEMDEFAULT", "SYSTEMHAND"}));
}

void expect_firmware_passed() {
    EXPECT_EQ(Form2->L_Ini_SysFirmChk->text(), "Done");
    EXPECT_EQ(font_color(Form2->L_Ini_SysFirmChk), kBgrBlue);
    EXPECT_FALSE(Form2->CB_Ini_SysFirmChk->isEnabled());
    EXPECT_TRUE(Form1->isVisible());
    EXPECT_FALSE(Form2->isVisible());
}

TEST_F(FirmwareCheck, AnOlderFirmwareIsUpdatedWhenTheUserAgrees) {
    start_writer({"--version", "1.07"});
    expect_box("Warning!", kQuestion, IDYES);
    expect_box("Warning!", kWarning, IDOK);
    std::vector<std::pair<QString, uint32_t>> label_at_box;
    record.while_box_shown = [&](const recorded_box&) {
        label_at_box.emplace_back(firmware_label()->text(), font_color(firmware_label()));
    };
    start_studio();
    expect_firmware_passed();
    ASSERT_EQ(record.boxes.size(), 2u);
    EXPECT_EQ(record.boxes[0].flags, unsigned{MB_YESNO | MB_ICONQUESTION});
    EXPECT_EQ(record.boxes[0].owner, nullptr);
    EXPECT_EQ(record.boxes[1].flags, unsigned{MB_ICONINFORMATION});
    EXPECT_EQ(record.boxes[1].owner, nullptr);
    const std::pair<QString, uint32_t> wrong{"Incorrect writer firmware detected.", kBgrRed};
    EXPECT_EQ(label_at_box, (std::vector<std::pair<QString, uint32_t>>{wrong, wrong}));
    // The version run's, then the update run's own version check and its download.
    EXPECT_EQ(boot_loader_starts(), 3u);
}

TEST_F(FirmwareCheck, DecliningTheUpdateFailsWithoutASecondRun) {
    start_writer({"--version", "1.07"});
    expect_box("Warning!", kQuestion, IDNO);
    start_studio();
    expect_firmware_failed("Firmware update Failed!", record);
    EXPECT_EQ(boot_loader_starts(), 1u);
}

TEST_F(FirmwareCheck, WithoutAWriterTheConnectionFails) {
    start_studio();
    expect_firmware_failed("USB writer connection Failure!", record);
}

TEST_F(FirmwareCheck, AFailingLinkTestIsFcsError0002) {
    start_writer({"--bad-echo", "1"});
    start_studio();
    expect_firmware_failed("FCS error: 0002", record);
}

TEST_F(FirmwareCheck, AVersionThatCannotBeReadIsAskedAboutAndUpdated) {
    start_writer({"--no-version-answer"});
    expect_box("Warning!", kQuestion, IDYES);
    expect_box("Warning!", kWarning, IDOK);
    start_studio();
    expect_firmware_passed();
}

TEST_F(FirmwareCheck, AFailedDownloadIsFcsError0004) {
    start_writer({"--version", "1.07", "--bad-boot-echo"});
    expect_box("Warning!", kQuestion, IDYES);
    expect_box("Warning!", kWarning, IDOK);
    start_studio();
    expect_firmware_failed("FCS error: 0004", record);
}

TEST_F(FirmwareCheck, TheQuestionComesFromTheLanguageFileTheCaptionStays) {
    write_text(folder.file("Language/Test.ini"),
               "[Message]\r\nMsg016=Neue Firmware laden?\r\nMsg017=Kabel stecken lassen!\r\nMsg018=OK drücken.\r\n");
    folder.set_setup_value("System", "Language", "Test.ini");
    use_stand_in_updater("Test", "version:-7;update:0");
    expect_box("Warning!", "Neue Firmware laden?", IDYES);
    expect_box("Warning!", "Kabel stecken lassen!\nOK drücken.", IDOK);
    start_studio();
    expect_firmware_passed();
}

TEST_F(FirmwareCheck, AMissingOrUnreadableLanguageFileGivesTheBuiltInTexts) {
    use_stand_in_updater("Test", "version:-8");
    folder.set_setup_value("System", "Language", "Missing.ini");
    expect_box("Warning!", kQuestion, IDNO);
    start_studio();
    end_studio();
    std::filesystem::create_directory(folder.file("Language/Folder.ini"));
    folder.set_setup_value("System", "Language", "Folder.ini");
    expect_box("Warning!", kQuestion, IDNO);
    start_studio();
    EXPECT_EQ(firmware_label()->text(), "Firmware update Failed!");
    end_studio();
    write_file(folder.file("Language/Garbage.ini"),
               {'[', 'M', 0xFF, '\n', 'M', 's', 'g', '0', '1', '6', 0x00, '=', 0x81});
    folder.set_setup_value("System", "Language", "Garbage.ini");
    expect_box("Warning!", kQuestion, IDNO);
    start_studio();
}

TEST_F(FirmwareCheck, WithTheDebugModeTheThreadBoxShowsTheCommandLineBeforeTheUpdaterStarts) {
    start_writer({"--version", "1.08"});
    folder.set_setup_value("System", "DbgMode", "1");
    const std::string command = "\"" + folder.path() + "bin/" KOVA_UPDATER_NAME "\"  version nonwait";
    expect_box("Thread!", QString::fromStdString(command), IDOK);
    bool on_gui_thread = false;
    size_t writer_lines_at_box = 1;
    record.while_box_shown = [&](const recorded_box&) {
        on_gui_thread = QThread::currentThread() == qApp->thread();
        writer_lines_at_box = writer.trace_lines().size();
    };
    start_studio();
    expect_firmware_passed();
    ASSERT_EQ(record.boxes.size(), 1u);
    EXPECT_EQ(record.boxes[0].flags, unsigned{MB_OK});
    EXPECT_EQ(record.boxes[0].owner, nullptr);
    EXPECT_TRUE(on_gui_thread);
    EXPECT_EQ(writer_lines_at_box, 0u);  // nobody had talked to the writer yet
}

TEST_F(FirmwareCheck, WithoutFwVerNoUpdaterRunsAndTheLabelStaysEmpty) {
    folder.set_setup_value("System", "FwVer", "");
    link_stand_in(folder.file("bin/QavUpdate"));
    start_studio();
    EXPECT_EQ(Form2->L_Ini_SysFirmChk->text(), "");
    EXPECT_EQ(font_color(Form2->L_Ini_SysFirmChk), kBgrBlack);
    EXPECT_TRUE(Form2->B_Ini_Cancel->isEnabled());
    EXPECT_FALSE(Form1->isVisible());
    EXPECT_EQ(record.sounds, (std::vector<QString>{"SYSTEMDEFAULT", "SYSTEMHAND"}));
    EXPECT_TRUE(stand_in_runs().empty());
}

TEST_F(FirmwareCheck, AnUpdaterThatIsMissingNotAProgramOrAFolderIsFcsError0004) {
    folder.set_setup_value("System", "FwVer", "999");
    start_studio();
    expect_firmware_failed("FCS error: 0004", record);
    end_studio();

    write_text(folder.file("bin/QavUpdate777"), "#!/bin/sh\nexit 0\n");  // not executable
    folder.set_setup_value("System", "FwVer", "777");
    record.sounds.clear();
    start_studio();
    expect_firmware_failed("FCS error: 0004", record);
    end_studio();

    std::filesystem::create_directory(folder.file("bin/QavUpdate555"));
    folder.set_setup_value("System", "FwVer", "555");
    record.sounds.clear();
    start_studio();
    expect_firmware_failed("FCS error: 0004", record);
}

TEST_F(FirmwareCheck, AFwVerWithBlanksAndQuotesNamesTheUpdaterUnchanged) {
    use_stand_in_updater("1 \"0\" 8\\", "*:0");
    start_studio();
    expect_firmware_passed();
    EXPECT_EQ(stand_in_runs(), std::vector<std::string>{"version nonwait"});
}

// An updater ending in a way the real one cannot be made to, and the label the user then reads.
struct stand_in_case {
    const char* name;
    const char* rules;
    bool agree;  // the answer to the update question, when it is asked
    const char* label;
    std::vector<std::string> runs;
};

void PrintTo(const stand_in_case& c, std::ostream* out) { *out << c.rules; }

class FirmwareStandIn : public startup_test, public ::testing::WithParamInterface<stand_in_case> {};

TEST_P(FirmwareStandIn, ResultGivesItsLabel) {
    const stand_in_case& c = GetParam();
    use_stand_in_updater("Test", c.rules);
    if (c.runs.size() == 2 || std::string(c.label) == "Firmware update Failed!") {
        expect_box("Warning!", kQuestion, c.agree ? IDYES : IDNO);
        if (c.agree) expect_box("Warning!", kWarning, IDOK);
    }
    start_studio();
    if (std::string(c.label) == "Done") {
        expect_firmware_passed();
    } else {
        expect_firmware_failed(c.label, record);
    }
    EXPECT_EQ(stand_in_runs(), c.runs);
}

const std::vector<std::string> kVersionRun = {"version nonwait"};
const std::vector<std::string> kBothRuns = {"version nonwait", "update nonwait"};

INSTANTIATE_TEST_SUITE_P(
    Endings, FirmwareStandIn,
    ::testing::Values(
        stand_in_case{"Minus1", "*:-1", false, "FCS error: 0001", kVersionRun},
        stand_in_case{"Minus2", "*:-2", false, "FCS error: 0004", kVersionRun},
        stand_in_case{"Minus3", "*:-3", false, "FCS error: 0004", kVersionRun},
        stand_in_case{"Exit99", "*:99", false, "FCS error: 0004", kVersionRun},
        stand_in_case{"Signal", "*:signal", false, "FCS error: 0004", kVersionRun},
        stand_in_case{"UnreadableDeclined", "version:-6", false, "Firmware update Failed!", kVersionRun},
        stand_in_case{"NewerThenNoWriter", "version:-8;update:-4", true, "USB writer connection Failure!", kBothRuns},
        stand_in_case{"UnreadableThenMinus1", "version:-6;update:-1", true, "FCS error: 0001", kBothRuns},
        stand_in_case{"OlderThenMinus5", "version:-7;update:-5", true, "FCS error: 0002", kBothRuns},
        stand_in_case{"OlderThenOlder", "version:-7;update:-7", true, "Firmware update Failed!", kBothRuns},
        stand_in_case{"OlderThenExit99", "version:-7;update:99", true, "FCS error: 0004", kBothRuns},
        stand_in_case{"NewerThenUpdated", "version:-8;update:0", true, "Done", kBothRuns}),
    [](const ::testing::TestParamInfo<stand_in_case>& info) { return std::string(info.param.name); });

bool is_dots(const QString& text) { return text == "." || text == ".." || text == "..."; }

TEST_F(FirmwareCheck, DotsStepNoSoonerThanEveryFifthOfASecondInBlackAndGoOnThroughTheUpdateRun) {
    use_stand_in_updater("Slow", "version:sleep=1500,-7;update:sleep=1500,0");
    expect_box("Warning!", kQuestion, IDYES);
    expect_box("Warning!", kWarning, IDOK);
    label_watch watch(firmware_label);
    start_studio();
    expect_firmware_passed();

    // The dots of each run, split where the label shows something else.
    std::vector<std::vector<label_state>> runs(1);
    for (const label_state& state : watch.states()) {
        if (is_dots(state.text)) {
            EXPECT_EQ(state.color, kBgrBlack) << state.text.toStdString();
            EXPECT_TRUE(state.as_set) << "a step seen only by a later look: its time is not the step's";
            runs.back().push_back(state);
        } else if (!runs.back().empty()) {
            runs.emplace_back();
        }
    }
    if (runs.back().empty()) runs.pop_back();
    // Each run lasts 1.5 s: a loaded machine may show fewer steps, but a run shows some.
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_GE(runs[0].size(), 2u);
    EXPECT_GE(runs[1].size(), 2u);
    std::vector<label_state> dots = runs[0];
    dots.insert(dots.end(), runs[1].begin(), runs[1].end());
    EXPECT_EQ(dots.front().text, "..");
    // One cycle through both runs: the counter goes on where the version run left it.
    const QString cycle[] = {"..", "...", "."};
    for (size_t i = 0; i < dots.size(); ++i) EXPECT_EQ(dots[i].text, cycle[i % 3]) << i;
    // A step is never shorter than its fifth of a second, also after a late one: each time is the moment the
    // step was made.
    for (size_t i = 1; i < dots.size(); ++i) {
        const auto step = std::chrono::duration_cast<std::chrono::milliseconds>(dots[i].at - dots[i - 1].at);
        EXPECT_GE(step.count(), 200) << i;
    }
}

}  // namespace
