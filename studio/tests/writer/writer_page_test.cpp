// The writer page's Load File and its refusals, and what each kind of writer
// run shows: status, tip, colour, progress bar and sound.
#include "writer_page_fixture.h"

#include "bgr_color.h"
#include "test_files.h"

#include <QAccessible>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <thread>

namespace {

const QString kLoadedY1 = "Load file finished!\n\nThis loaded DAT file is for: KOVA3K10\n\nDAT file Check Sum: ";

TEST_F(writer_page, LoadFileSelectsTheDatsDeviceAndShowsQavChksChecksum) {
    const std::string dat = make_dat();
    const std::string expected = qavchk_checksum(dat, "008000");
    write_text(folder.file("temp/temp.csm"), "Check Sum: [DEAD] Verify OK.\n");  // an older run's report
    TForm1& main = open_writer_page();
    choose(main.CB_Wrt_Device, "KOVA42");

    load(main, dat);
    EXPECT_EQ(record.dialog_filters.back(), "KOVA DAT file ( *.dat )|*.dat");
    EXPECT_EQ(main.CB_Wrt_Device->Text(), "KOVA3K10");
    EXPECT_EQ(main.L_FileName->Caption().toStdString(), dat);
    EXPECT_EQ(main.LE_CheckSum->Text().toStdString(), expected);
    EXPECT_EQ(status(main), kLoadedY1 + QString::fromStdString(expected));
    EXPECT_EQ(main.P_Tip->Caption(), "");
    EXPECT_EQ(main.ProgBar->value(), 0);
    EXPECT_TRUE(writer_controls_enabled(main));
    EXPECT_TRUE(main.PC_PageSelect->tabBar()->isEnabled());
    EXPECT_TRUE(main.BT_Compile->isEnabled());
    EXPECT_TRUE(record.boxes.empty());
    EXPECT_EQ(record.sounds, std::vector<QString>{"SYSTEMDEFAULT"});  // the start sound only
}

TEST_F(writer_page, ACancelledLoadDropsTheLoadedFile) {
    start_writer("KOVA3k10");
    const std::string dat = make_dat();
    TForm1& main = open_writer_page();
    load(main, dat);
    ASSERT_FALSE(main.LE_CheckSum->Text().isEmpty());

    load(main, "");
    EXPECT_EQ(status(main), "Load File Cancelled!");
    EXPECT_EQ(main.L_FileName->Caption(), "");
    EXPECT_EQ(main.LE_CheckSum->Text(), "");
    EXPECT_TRUE(writer_controls_enabled(main));

    for (QPushButton* button : {main.B_Program, main.B_Verify}) {
        expect_box("Warning!", "DAT file not loaded!!!", IDOK);
        click(button);
        EXPECT_EQ(status(main), "Please click the \"Load File\" button to load DAT file!");
        EXPECT_EQ(record.boxes.back().flags, unsigned{MB_OK | MB_ICONINFORMATION});
        EXPECT_EQ(record.boxes.back().owner, &main);
        EXPECT_TRUE(writer_controls_enabled(main));
    }
    EXPECT_EQ(writer_connections(), 0);
    EXPECT_EQ(record.sounds.size(), 1u);  // no sound for a refusal
}

TEST_F(writer_page, WhatNamesNoKnownDeviceIsNoDatFileAndLeavesTheSelection) {
    folder.set_setup_value("Z2", "Symbol", "");  // the sample's KOVA21 device is gone
    const std::string dats = folder.file("../other/");
    std::filesystem::create_directories(dats);
    write_text(dats + "notes.dat", "just some text, no image at all");
    write_text(dats + "kova21.dat", std::string(32, '\xA5') + "KOVA21 voices");        // no such device here
    write_text(dats + "upper.dat", std::string(32, '\xA5') + "KOVA3K10 voices");       // spelled as no image is
    write_text(dats + "short.dat", "KOVA3k10");
    TForm1& main = open_writer_page();
    choose(main.CB_Wrt_Device, "KOVA42");

    for (const char* name : {"notes.dat", "kova21.dat", "upper.dat", "short.dat", "missing.dat", ""}) {
        load(main, dats + name);  // "" is the folder itself
        EXPECT_EQ(status(main), "This file is not an KOVA DAT file!") << name;
        EXPECT_EQ(main.L_FileName->Caption(), "") << name;
        EXPECT_EQ(main.LE_CheckSum->Text(), "") << name;
        EXPECT_EQ(main.CB_Wrt_Device->Text(), "KOVA42") << name;
        EXPECT_TRUE(writer_controls_enabled(main)) << name;
    }
    EXPECT_TRUE(record.boxes.empty());
}

TEST_F(writer_page, APipeChosenInTheDialogIsRefusedWithoutBlockingTheWindow) {
    const std::string pipe = folder.file("../voice.dat");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    // Should the page open the pipe to read, this opens its other end after a while, so that the test fails
    // instead of hanging.
    std::atomic<bool> done{false};
    std::thread rescue([&] {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!done && std::chrono::steady_clock::now() < until) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (done) return;
        ADD_FAILURE() << "the page waited on the pipe";
        const int end = ::open(pipe.c_str(), O_WRONLY);
        if (end >= 0) ::close(end);
    });
    TForm1& main = open_writer_page();
    load(main, pipe);
    done = true;
    rescue.join();
    EXPECT_EQ(status(main), "This file is not an KOVA DAT file!");
    EXPECT_EQ(main.L_FileName->Caption(), "");
}

TEST_F(writer_page, AFailedChecksumKeepsTheFileLoadedAndProgramRunsWithIt) {
    start_writer("KOVA3k10");
    const std::string dat = make_dat();
    // One voice byte changed after the image was sealed: the stored checksum no longer matches.
    std::vector<uint8_t> bytes = read_file(dat);
    bytes.back() ^= 0x01;
    write_file(dat, bytes);
    TForm1& main = open_writer_page();
    load(main, dat);
    EXPECT_EQ(status(main), "Check Sum Failed!");
    EXPECT_EQ(main.LE_CheckSum->Text(), "");
    EXPECT_EQ(main.L_FileName->Caption().toStdString(), dat);
    // The result panel is named for a screen reader also while it is empty.
    QAccessibleInterface* result = QAccessible::queryAccessibleInterface(main.P_Tip);
    EXPECT_EQ(result->text(QAccessible::Name), "Result");
    EXPECT_EQ(result->text(QAccessible::Value), "");

    click(main.B_Program);
    EXPECT_EQ(status(main), "Program Finish!");
    EXPECT_EQ(main.P_Tip->Caption(), "Program Passed!");
    EXPECT_EQ(result->text(QAccessible::Name), "Result");
    EXPECT_EQ(result->text(QAccessible::Value), "Program Passed!");
    const std::vector<uint8_t> rom = deciphered_rom(dat);
    EXPECT_EQ(sim.memory().at(rom.size() - 1), rom.back());
}

TEST_F(writer_page, AReportThatCannotBeRemovedDoesNotHoldUpTheLoad) {
    const std::string dat = make_dat();
    std::filesystem::create_directories(folder.file("temp/temp.csm/kept"));
    TForm1& main = open_writer_page();
    load(main, dat);
    // The checksum query cannot empty its report, so it runs nothing; the file stays loaded.
    EXPECT_EQ(status(main), "Check Sum Failed!");
    EXPECT_EQ(main.L_FileName->Caption().toStdString(), dat);
    EXPECT_EQ(main.CB_Wrt_Device->Text(), "KOVA3K10");
    EXPECT_TRUE(writer_controls_enabled(main));
}

TEST_F(writer_page, TheChecksumQueryForARomSizeOfNullFailsWithoutTheChecker) {
    const std::string dat = make_dat();
    write_text(folder.file("temp/temp.csm"), "an older report");
    TForm1& main = open_writer_page();
    const checksum_query_result checksum = main.GetImageCheckSum(QString::fromStdString(dat), "NULL");
    EXPECT_FALSE(checksum.ok);
    EXPECT_EQ(checksum.text, "Check Sum Failed!");
    EXPECT_EQ(read_text(folder.file("temp/temp.csm")), "an older report") << "the checker was prepared for";
}

TEST_F(writer_page, ProgramAndVerifyRefuseADatOfAnotherDeviceAndStartNoWriter) {
    start_writer("KOVA3k10");
    const std::string dat = make_dat();
    TForm1& main = open_writer_page();
    load(main, dat);
    choose(main.CB_Wrt_Device, "KOVA3K21");
    const QString unmatched =
        "The loaded DAT file does not match with the selected Device.\n\n"
        "Loaded DAT file:KOVA3K10\nSelected Device:KOVA3K21\n\nPlease re-select Device.";
    for (QPushButton* button : {main.B_Program, main.B_Verify}) {
        expect_box("Warning!", "Unmatch Device!!!", IDOK);
        click(button);
        EXPECT_EQ(status(main), unmatched);
        EXPECT_EQ(record.boxes.back().flags, unsigned{MB_OK | MB_ICONINFORMATION});
        EXPECT_EQ(main.ProgBar->value(), 0);
        EXPECT_TRUE(writer_controls_enabled(main));
    }
    EXPECT_EQ(writer_connections(), 0);
    EXPECT_EQ(record.sounds.size(), 1u);

    // The DAT's device again: Verify runs, and finds the blank chip unlike the image.
    choose(main.CB_Wrt_Device, "KOVA3K10");
    click(main.B_Verify);
    EXPECT_EQ(status(main), "Verify Finish!");
    EXPECT_EQ(main.P_Tip->Caption(), "Verify Failed!");
    EXPECT_EQ(font_color(main.P_Tip), kBgrRed);
    EXPECT_EQ(writer_connections(), 1);

    // A file that can no longer be read names no model: it matches no device of the sample.
    std::filesystem::remove(dat);
    expect_box("Warning!", "Unmatch Device!!!", IDOK);
    click(main.B_Program);
    EXPECT_EQ(status(main), "The loaded DAT file does not match with the selected Device.\n\n"
                            "Loaded DAT file:\nSelected Device:KOVA3K10\n\nPlease re-select Device.");
    EXPECT_EQ(writer_connections(), 1);
}

TEST_F(writer_page, NoWriterGivesUsbWriterNotFound) {
    TForm1& main = open_writer_page();
    click(main.B_BlankCheck);
    EXPECT_EQ(status(main), "USB writer not found!");
    EXPECT_EQ(main.P_Tip->Caption(), "");
    EXPECT_EQ(main.ProgBar->value(), 0);
    EXPECT_EQ(record.sounds.back(), "SYSTEMHAND");
    EXPECT_TRUE(writer_controls_enabled(main));
}

TEST_F(writer_page, AnEmptySocketFailsTheBlankCheckOfANamedChip) {
    start_writer("none");
    TForm1& main = open_writer_page();
    click(main.B_BlankCheck);  // KOVA3K10: the writer forces that chip
    EXPECT_EQ(status(main), "Blank Check Finish!");
    EXPECT_EQ(main.P_Tip->Caption(), "Blank Check Failed!");
    EXPECT_EQ(font_color(main.P_Tip), kBgrRed);
    EXPECT_EQ(main.ProgBar->value(), 100);
    EXPECT_EQ(record.sounds.back(), "SYSTEMHAND");
}

TEST_F(writer_page, ADeviceWithoutAModelNameLetsTheWriterDetectTheChip) {
    folder.set_setup_value("Z5", "Symbol", "KOVA170");
    folder.set_setup_value("Z5", "Size", "0x80000");
    start_writer("none");
    TForm1& main = open_writer_page();
    choose(main.CB_Wrt_Device, "KOVA170");
    click(main.B_BlankCheck);
    EXPECT_EQ(status(main), "IC detection failed!");
    EXPECT_EQ(main.P_Tip->Caption(), "");
    EXPECT_EQ(main.ProgBar->value(), 0);
    EXPECT_EQ(record.sounds.back(), "SYSTEMHAND");
}

TEST_F(writer_page, AMissingWriterOrOneThatEndsWith99IsAnUnknownFailure) {
    std::filesystem::remove(folder.file("bin/qavwriter"));
    std::filesystem::remove(folder.file("bin/qav3kwriter"));
    write_text(folder.file("bin/qav3kwriter"), "#!/bin/sh\nexit 99\n");
    std::filesystem::permissions(folder.file("bin/qav3kwriter"), std::filesystem::perms::owner_all);
    TForm1& main = open_writer_page();
    for (const QString device : {"KOVA3K10", "KOVA42"}) {
        choose(main.CB_Wrt_Device, device);
        click(main.B_BlankCheck);
        EXPECT_EQ(status(main), "Unknown Failed!") << device.toStdString();
        EXPECT_EQ(main.P_Tip->Caption(), "");
        EXPECT_EQ(main.ProgBar->value(), 0);
        EXPECT_EQ(record.sounds.back(), "SYSTEMHAND");
        EXPECT_TRUE(writer_controls_enabled(main));
    }
}

}  // namespace
