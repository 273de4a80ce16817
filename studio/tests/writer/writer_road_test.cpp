// The writer page as a user takes it against the writer simulator: load a DAT,
// blank-check, program and verify a chip, which then holds the image's
// deciphered ROM; what a close and a page switch do while a writer runs; and
// how the progress bar is paced.
#include "writer_page_fixture.h"

#include "bgr_color.h"
#include "my_thread.h"
#include "project_entry.h"

#include <QTimer>

#include <chrono>
#include <filesystem>

namespace {

using steady = std::chrono::steady_clock;

class writer_road : public writer_page {
protected:
    // Blank Check, Program, Verify and a second Blank Check of the loaded DAT on a blank chip of chip_size bytes.
    void program_a_blank_chip(TForm1& main, const std::string& dat, int32_t chip_size, bool trimmed) {
        click(main.B_BlankCheck);
        expect_passed(main, "Blank Check");

        click(main.B_Program);
        expect_passed(main, "Program");
        const std::vector<uint8_t> rom = deciphered_rom(dat);
        const std::vector<uint8_t> memory = sim.memory();
        ASSERT_EQ(memory.size(), static_cast<size_t>(chip_size));
        ASSERT_GT(rom.size(), 0x400u);
        std::vector<uint8_t> programmed(memory.begin(), memory.begin() + static_cast<long>(rom.size()));
        std::vector<uint8_t> expected = rom;
        // A 3K chip's oscillator trim code, which Program chooses after its verification.
        const size_t trim_at = static_cast<size_t>(system_info_length(rom)) - 11;
        if (trimmed) expected[trim_at] = programmed[trim_at];
        EXPECT_EQ(programmed, expected);
        EXPECT_TRUE(std::all_of(memory.begin() + static_cast<long>(rom.size()), memory.end(),
                                [](uint8_t byte) { return byte == 0xFF; }));

        click(main.B_Verify);
        expect_passed(main, "Verify");

        click(main.B_BlankCheck);
        EXPECT_EQ(status(main), "Blank Check Finish!");
        EXPECT_EQ(main.P_Tip->Caption(), "Blank Check Failed!");
        EXPECT_EQ(font_color(main.P_Tip), kBgrRed);
        EXPECT_EQ(main.ProgBar->value(), 100);
        EXPECT_EQ(record.sounds.back(), "SYSTEMHAND");
        EXPECT_EQ(sim.memory(), memory);
    }

    void expect_passed(TForm1& main, const QString& operation) {
        EXPECT_EQ(status(main), operation + " Finish!");
        EXPECT_EQ(main.P_Tip->Caption(), operation + " Passed!");
        EXPECT_EQ(font_color(main.P_Tip), kBgrBlue);
        EXPECT_EQ(main.ProgBar->value(), 100);
        EXPECT_EQ(record.sounds.back(), "SYSTEMDEFAULT");
        EXPECT_TRUE(writer_controls_enabled(main));
    }
};

TEST_F(writer_road, AThreeKChipIsBlankCheckedProgrammedAndVerified) {
    start_writer("KOVA3k10");
    const std::string dat = make_dat();
    TForm1& main = open_writer_page();
    load(main, dat);
    ASSERT_EQ(main.LE_CheckSum->Text().toStdString(), qavchk_checksum(dat, "008000"));
    program_a_blank_chip(main, dat, 0x8000, true);
    EXPECT_EQ(main.L_FileName->Caption().toStdString(), dat);
    EXPECT_EQ(writer_connections(), 4);
}

// Device Z6 shown under a name of its own: the writer must still be given the chip model name, as the command
// lines of the debug mode show.
TEST_F(writer_road, TheLargestChipIsProgrammedUnderItsModelNameWhateverItsDisplayName) {
    folder.write_setup_ini("[System]\r\nLanguage=English.ini\r\nSysChk=0\r\nDbgMode=1\r\n"
                           "[Y1]\r\nSymbol=KOVA3K10\r\nSize=0x8000\r\nVout=3\r\nCout=1\r\nPack=0x3F\r\n"
                           "[Z6]\r\nSymbol=Voice Chip 1M\r\nSize=0x100000\r\nVout=6\r\nCout=1\r\nPack=0x3F\r\n");
    start_writer("KOVA341");
    project_dat_shape shape;
    shape.device_code = "Z6";
    shape.device_text = "Voice Chip 1M";
    shape.device_size = 0x100000;
    shape.mode_code = "1";
    shape.compression_index = 1;
    const std::string dat = make_dat(shape);
    const std::string writer = "\"" + folder.path() + "bin/qavwriter\" ";
    TForm1& main = open_writer_page();

    expect_box("Thread!",
               QString::fromStdString("\"" + folder.path() + "bin/qavchk\" \"" + dat + "\" 100000 \"" + folder.path() +
                                      "temp/temp.csm\" "),
               IDOK);
    load(main, dat);
    EXPECT_EQ(main.CB_Wrt_Device->Text(), "Voice Chip 1M");
    EXPECT_EQ(main.LE_CheckSum->Text().toStdString(), qavchk_checksum(dat, "100000"));

    expect_box("Thread!", QString::fromStdString(writer + "Blank KOVA341"), IDOK);
    expect_box("Thread!", QString::fromStdString(writer + "Program \"" + dat + "\" KOVA341"), IDOK);
    expect_box("Thread!", QString::fromStdString(writer + "Verify \"" + dat + "\" KOVA341"), IDOK);
    expect_box("Thread!", QString::fromStdString(writer + "Blank KOVA341"), IDOK);
    program_a_blank_chip(main, dat, 0x100000, false);
}

TEST_F(writer_road, ACloseAndAPageSwitchDuringProgramStartNothingAndLoseNothing) {
    start_writer("KOVA3k10", {"--report-delay-us", "1000"});
    const std::string dat = make_dat();
    TForm1& main = open_writer_page();
    load(main, dat);

    bool looked = false;
    QTimer::singleShot(600, &main, [&] {
        looked = true;
        ASSERT_TRUE(ChildProgramRunning());
        EXPECT_EQ(status(main), "Programming...");
        EXPECT_FALSE(main.close());
        EXPECT_TRUE(main.isVisible());
        click_tab(main.PC_PageSelect, main.Compile);
        QTest::keyClick(main.LE_CheckSum, Qt::Key_Tab, Qt::ControlModifier);
        QTest::keyClick(main.LE_CheckSum, Qt::Key_PageUp, Qt::ControlModifier);
        EXPECT_EQ(main.PC_PageSelect->currentWidget(), main.Writer);
        EXPECT_FALSE(main.BT_Compile->isEnabled());
        EXPECT_FALSE(main.CB_Device->isEnabled());
        EXPECT_FALSE(main.PC_PageSelect->tabBar()->isEnabled());
        for (QWidget* control : std::initializer_list<QWidget*>{main.CB_Wrt_Device, main.B_LoadFile,
                                                                main.B_BlankCheck, main.B_Program, main.B_Verify}) {
            EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
        }
        main.B_Verify->click();  // a disabled button does nothing
        // The page itself is not greyed: its status and progress stay readable.
        EXPECT_TRUE(main.L_Status->isEnabled());
        EXPECT_TRUE(main.ProgBar->isEnabled());
    });
    click(main.B_Program);
    ASSERT_TRUE(looked);

    EXPECT_EQ(status(main), "Program Finish!");
    EXPECT_EQ(main.P_Tip->Caption(), "Program Passed!");
    EXPECT_EQ(writer_connections(), 1);
    EXPECT_EQ(main.L_FileName->Caption().toStdString(), dat);
    const std::vector<uint8_t> rom = deciphered_rom(dat);
    const std::vector<uint8_t> memory = sim.memory();
    const size_t trim_at = static_cast<size_t>(system_info_length(rom)) - 11;
    for (size_t address = 0; address < rom.size(); ++address) {
        if (address != trim_at && memory.at(address) != rom[address]) {
            ADD_FAILURE() << "chip differs from the image at " << address;
            break;
        }
    }
    // The run over, the other pages are reachable again and the window closes.
    click_tab(main.PC_PageSelect, main.Compile);
    EXPECT_EQ(main.PC_PageSelect->currentWidget(), main.Compile);
    EXPECT_TRUE(main.BT_Compile->isEnabled());
    EXPECT_TRUE(main.close());
}

// The steps of the progress bar while a writer runs: their times and values.
class progress_steps {
public:
    explicit progress_steps(QProgressBar* bar) {
        QObject::connect(bar, &QProgressBar::valueChanged, bar, [this](int value) {
            steps_.push_back({steady::now(), value});
        });
    }
    // The rising steps of one run, from the first value above 0 to the last below 100.
    std::vector<std::pair<steady::time_point, int>> rising() const {
        std::vector<std::pair<steady::time_point, int>> rising;
        for (const auto& step : steps_) {
            if (step.second > 0 && step.second < 100) rising.push_back(step);
        }
        return rising;
    }
    int last() const { return steps_.empty() ? -1 : steps_.back().second; }

private:
    std::vector<std::pair<steady::time_point, int>> steps_;
};

// The first step comes a cadence after the click, each further one a cadence after the one before it, never
// sooner; values rise one by one.
void expect_paced(const std::vector<std::pair<steady::time_point, int>>& steps, steady::time_point clicked,
                  std::chrono::milliseconds cadence, size_t at_least) {
    ASSERT_GE(steps.size(), at_least);
    steady::time_point last = clicked;
    for (size_t i = 0; i < steps.size(); ++i) {
        EXPECT_EQ(steps[i].second, static_cast<int>(i) + 1);
        EXPECT_GE(steps[i].first - last, cadence) << "step " << i + 1;
        last = steps[i].first;
    }
}

TEST_F(writer_road, TheFirstDeviceStepsTheProgressEveryQuarterSecond) {
    start_writer("KOVA3k10", {"--report-delay-us", "1000"});
    TForm1& main = open_writer_page();
    progress_steps steps(main.ProgBar);
    const steady::time_point clicked = steady::now();
    click(main.B_BlankCheck);
    EXPECT_EQ(status(main), "Blank Check Finish!");
    EXPECT_EQ(steps.last(), 100);
    expect_paced(steps.rising(), clicked, std::chrono::milliseconds(250), 3);
}

TEST_F(writer_road, TheFifthDeviceStepsTheProgressEveryOneAndAQuarterSeconds) {
    start_writer("KOVA21", {"--report-delay-us", "2000"});
    TForm1& main = open_writer_page();
    ASSERT_EQ(main.CB_Wrt_Device->Item(4), "KOVA21");
    choose(main.CB_Wrt_Device, "KOVA21");
    progress_steps steps(main.ProgBar);
    const steady::time_point clicked = steady::now();
    click(main.B_BlankCheck);
    EXPECT_EQ(status(main), "Blank Check Finish!");
    EXPECT_EQ(steps.last(), 100);
    expect_paced(steps.rising(), clicked, std::chrono::milliseconds(1250), 2);
}

// The road through the Compile button, as a user takes it: the sounds added and put into groups on the compiler
// page, the project compiled into a DAT file, the DAT loaded on the writer page, the chip blank-checked,
// programmed and verified. The project is the one the other roads build with the pipeline's own steps, so the
// compiled image must carry the same ROM.
TEST_F(writer_road, ACompiledProjectIsWrittenIntoAChip) {
    start_writer("KOVA3k10");
    // make_project_dat leaves its sounds in ../sounds/.
    const std::string reference = folder.file("../reference.dat");
    ASSERT_EQ(make_project_dat(folder.path(), project_dat_shape{}, reference), "");
    const QString sounds = QString::fromStdString(folder.file("../sounds/"));
    const std::string dat = folder.file("../compiled.dat");
    TForm1& main = start_studio();
    project_entry project(main, record);
    project.choose_setup("KOVA3K10", "Key Sequential", "COUT[DAC]", "4-bit ADPCM");
    const int tone = project.add_wave_file(sounds + "tone.wav");
    project.compress_row(tone);
    const int mute = project.add_mute("250");
    const int beep = project.add_wave_file(sounds + "beep.wav");
    ASSERT_EQ(main.SG_GrpList->RowCount(), 5);
    for (int group = 1; group <= 4; ++group) project.set_group_options(group, true, true, true);
    project.put_into_group(tone, 1);
    project.put_into_group(mute, 1, false);
    project.put_into_group(beep, 2, false);

    record.save_answers.push_back(QString::fromStdString(dat));
    click(main.BT_Compile);
    ASSERT_TRUE(record.save_answers.empty()) << "the save dialog was not shown";
    ASSERT_EQ(record.sounds.back(), "SYSTEMDEFAULT") << "the compile failed";
    EXPECT_TRUE(record.boxes.empty());
    ASSERT_TRUE(std::filesystem::exists(dat));
    const std::vector<uint8_t> rom = deciphered_rom(dat);
    ASSERT_FALSE(rom.empty());
    EXPECT_EQ(rom, deciphered_rom(reference));

    click_tab(main.PC_PageSelect, main.Writer);
    ASSERT_EQ(main.PC_PageSelect->currentWidget(), main.Writer);
    load(main, dat);
    EXPECT_EQ(main.CB_Wrt_Device->Text(), "KOVA3K10");
    EXPECT_EQ(main.L_FileName->Caption().toStdString(), dat);
    EXPECT_EQ(main.LE_CheckSum->Text().toStdString(), qavchk_checksum(dat, "008000"));
    program_a_blank_chip(main, dat, 0x8000, true);
}

}  // namespace
