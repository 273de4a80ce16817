// The file list as a user works it: adding WAV files and mutes, the mute
// editor, Edit between PCM and compression, the format change, Remove, the
// item ids and the buttons that follow the selected row.
#include "editor_fixture.h"
#include "grid_columns.h"
#include "tform1.h"
#include "ui_driver.h"

#include <QTest>

#include <sys/stat.h>

#include <filesystem>

namespace {

using FileList = editor_test;

using namespace file_column;

TEST_F(FileList, NewFilesEnterAsPcmWithTheirHeaderFieldsAndConsecutiveIds) {
    TForm1& main = start_studio();
    const QString first = wav("first.wav", 100, at_rate(6000));
    const QString second = wav("second.wav", 64, at_rate(22050));
    choose(main.CB_ComFmt, "5-bit u-Law");  // new files ignore the compression shown
    add_files({first, second});

    EXPECT_EQ(column(main.SG_FileList, kName), (QStringList{"first.wav", "second.wav"}));
    EXPECT_EQ(column(main.SG_FileList, kRate), (QStringList{"6000", "22050"}));
    EXPECT_EQ(column(main.SG_FileList, kSize), (QStringList{"100", "64"}));
    EXPECT_EQ(column(main.SG_FileList, kType), (QStringList{"8-bit PCM", "8-bit PCM"}));
    EXPECT_EQ(column(main.SG_FileList, kPath), (QStringList{first, second}));
    EXPECT_EQ(column(main.SG_FileList, kId), (QStringList{"I0001", "I0002"}));
    EXPECT_EQ(main.SG_FileList->Cells(4, 1), "");
    // One row more for each item: 22 empty rows follow the last one.
    EXPECT_EQ(main.SG_FileList->RowCount(), 25);
    // The last added row is selected and the buttons follow it.
    EXPECT_EQ(main.SG_FileList->Row(), 2);
    EXPECT_TRUE(main.BT_EditFL->isEnabled());
    EXPECT_TRUE(main.BT_Remove->isEnabled());
    EXPECT_TRUE(main.BT_PlayVoice->isEnabled());
}

TEST_F(FileList, IdsAreNeverRenumberedAndOnlyTheLastIdIsGivenAgain) {
    TForm1& main = start_studio();
    add_files({wav("a.wav"), wav("b.wav"), wav("c.wav")});
    select_file(3);
    click(main.BT_Remove);
    add_files({wav("d.wav")});
    EXPECT_EQ(column(main.SG_FileList, kId), (QStringList{"I0001", "I0002", "I0003"}));
    EXPECT_EQ(main.SG_FileList->Cells(kName, 3), "d.wav");

    select_file(1);
    click(main.BT_Remove);
    add_files({wav("e.wav")});
    EXPECT_EQ(column(main.SG_FileList, kId), (QStringList{"I0002", "I0003", "I0004"}));
    EXPECT_EQ(column(main.SG_FileList, kName), (QStringList{"b.wav", "d.wav", "e.wav"}));
    EXPECT_EQ(main.SG_FileList->RowCount(), 26);
}

TEST_F(FileList, RejectedFilesAreNamedInABoxEachAndTheOthersAreStillAdded) {
    TForm1& main = start_studio();
    const QString good = wav("good.wav");
    const QString wide = wav("wide.wav", 100, with_bits(16));
    const QString stereo = wav("stereo.wav", 100, with_channels(2));
    const QString floats = wav("float.wav", 100, float_samples());
    const QString listed = wav("listed.wav", 100, with_list_chunk());
    const QString tiny = raw_file("tiny.wav", {'R', 'I', 'F', 'F'});
    const QString missing = QString::fromStdString(folder.file("missing.wav"));
    const QString fifo = QString::fromStdString(folder.file("pipe.wav"));
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    const QString last = wav("last.wav", 64);
    for (const char* name : {"wide.wav", "stereo.wav", "float.wav", "tiny.wav", "missing.wav", "pipe.wav"})
        expect_box("Add File Error!", QString("File\"%1\"is not a 8-bit mono wave file!").arg(name), IDOK);

    add_files({good, wide, stereo, floats, listed, tiny, missing, fifo, last});

    EXPECT_EQ(column(main.SG_FileList, kName), (QStringList{"good.wav", "listed.wav", "last.wav"}));
    EXPECT_EQ(column(main.SG_FileList, kId), (QStringList{"I0001", "I0002", "I0003"}));
    for (const recorded_box& box : record.boxes) {
        EXPECT_EQ(box.flags, unsigned(MB_ICONERROR));
        EXPECT_EQ(box.owner, &main);
    }
    // The size of its data chunk, not of the LIST chunk before it.
    EXPECT_EQ(main.SG_FileList->Cells(kSize, 2), "100");
}

TEST_F(FileList, AFileAlreadyListedIsRefusedWithItsPathButAnotherSpellingIsNot) {
    TForm1& main = start_studio();
    const QString lower = wav("voice.wav");
    const QString upper = wav("VOICE.wav");
    add_files({lower});
    expect_box("Error", "Same wave file has been added:\n" + lower, IDOK);
    // A file chosen twice in one dialog is listed by the time its second turn comes.
    expect_box("Error", "Same wave file has been added:\n" + upper, IDOK);
    add_files({lower, upper, upper});
    EXPECT_EQ(record.boxes.back().flags, unsigned(MB_ICONINFORMATION));
    EXPECT_EQ(column(main.SG_FileList, kPath), (QStringList{lower, upper}));
    EXPECT_EQ(column(main.SG_FileList, kId), (QStringList{"I0001", "I0002"}));
}

TEST_F(FileList, APathThatTheScriptCannotCarryIsRefused) {
    TForm1& main = start_studio();
    const QString quoted = wav("say \"hi\".wav");
    const QString broken = wav("two\nlines.wav");
    const QString plain = wav("it's <b>.wav");
    expect_box("Add File Error!",
               "A file whose path holds a double quote or a line break cannot be added:\n" + quoted, IDOK);
    expect_box("Add File Error!",
               "A file whose path holds a double quote or a line break cannot be added:\n" + broken, IDOK);
    add_files({quoted, broken, plain});
    EXPECT_EQ(column(main.SG_FileList, kName), QStringList{"it's <b>.wav"});
}

TEST_F(FileList, CancellingTheDialogChangesNothing) {
    TForm1& main = start_studio();
    add_files({});
    EXPECT_EQ(main.SG_FileList->RowCount(), 23);
    EXPECT_EQ(main.SG_FileList->Row(), 1);
    EXPECT_FALSE(main.BT_Remove->isEnabled());
}

TEST_F(FileList, NoIdIsGivenBeyondI9999) {
    TForm1& main = start_studio();
    add_files({wav("a.wav")});
    // As after a long session of adding and removing: the last item holds id I9998.
    main.SG_FileList->SetCells(kId, 1, "I9998");
    const QString full = "The file list is full: it holds at most 9999 items!";
    expect_box("Error!", full, IDOK);
    add_files({wav("b.wav"), wav("c.wav"), wav("d.wav")});
    EXPECT_EQ(column(main.SG_FileList, kId), (QStringList{"I9998", "I9999"}));
    ASSERT_EQ(record.boxes.size(), 1u);  // one box, not one for each file left over
    EXPECT_EQ(record.boxes[0].flags, unsigned(MB_ICONERROR));

    expect_box("Error!", full, IDOK);
    click(main.BT_ItemCtl);
    ASSERT_TRUE(choose_menu_item(main.PMB_AddMute));
    EXPECT_FALSE(main.GB_MuteTime->isVisible());
    EXPECT_EQ(main.SG_FileList->RowCount(), 25);

    // An id cell that is not an id refuses too, without a fault.
    main.SG_FileList->SetCells(kId, 2, "Ixx");
    expect_box("Error!", full, IDOK);
    add_files({wav("e.wav")});
    EXPECT_EQ(main.SG_FileList->RowCount(), 25);
}

TEST_F(FileList, MuteTimesOutsideOneTo60000AreRefusedAndTheEditorStays) {
    TForm1& main = start_studio();
    click(main.BT_ItemCtl);
    ASSERT_TRUE(choose_menu_item(main.PMB_AddMute));
    // A new mute exists at once, with its id, type and size but no name or path.
    EXPECT_EQ(main.SG_FileList->Cells(kId, 1), "I0001");
    EXPECT_EQ(main.SG_FileList->Cells(kType, 1), "Mute");
    EXPECT_EQ(main.SG_FileList->Cells(kRate, 1), "--");
    EXPECT_EQ(main.SG_FileList->Cells(kSize, 1), "0");
    EXPECT_EQ(main.SG_FileList->Cells(kName, 1), "");
    EXPECT_EQ(main.LE_SilTime->Text(), "1");
    EXPECT_EQ(main.LE_SilTime->selectedText(), "1");
    for (QWidget* control : std::initializer_list<QWidget*>{main.SG_FileList, main.BT_ItemCtl, main.BT_EditFL,
                                                             main.BT_Remove, main.BT_PlayVoice, main.CB_ComFmt})
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();

    for (const char* bad : {"0", "abc", "-5", "60001", ""}) {
        expect_box("Warning!", "Mute time must be a number  between 1 to 60,000!", IDOK);
        set_mute_time(bad);
        EXPECT_TRUE(main.GB_MuteTime->isVisible()) << bad;
        EXPECT_EQ(main.SG_FileList->Cells(kName, 1), "") << bad;
    }
    EXPECT_EQ(record.boxes.back().flags, unsigned(MB_ICONINFORMATION));

    set_mute_time("60000");
    EXPECT_FALSE(main.GB_MuteTime->isVisible());
    EXPECT_EQ(main.SG_FileList->Cells(kName, 1), "Mute: 60000 mS");
    EXPECT_EQ(main.SG_FileList->Cells(kPath, 1), "*Mute60000");
    EXPECT_TRUE(main.SG_FileList->isEnabled());
    EXPECT_TRUE(main.CB_ComFmt->isEnabled());
    EXPECT_TRUE(main.BT_ItemCtl->isEnabled());
    // A mute can be edited and removed, not played.
    EXPECT_TRUE(main.BT_EditFL->isEnabled());
    EXPECT_TRUE(main.BT_Remove->isEnabled());
    EXPECT_FALSE(main.BT_PlayVoice->isEnabled());

    add_mute("1");
    EXPECT_EQ(main.SG_FileList->Cells(kName, 2), "Mute: 1 mS");
}

TEST_F(FileList, AMuteTimeKeepsItsDigitsAsTypedAndIsNoDuplicateOfAnotherSpelling) {
    TForm1& main = start_studio();
    add_mute("007");
    add_mute("7");
    EXPECT_EQ(column(main.SG_FileList, kName), (QStringList{"Mute: 007 mS", "Mute: 7 mS"}));
    EXPECT_EQ(column(main.SG_FileList, kPath), (QStringList{"*Mute007", "*Mute7"}));
    EXPECT_TRUE(record.boxes.empty());
}

TEST_F(FileList, TheSameMuteAgainIsQuestionedAndRemovedOnOk) {
    TForm1& main = start_studio();
    add_mute("250");
    expect_box("Error!", "Same mute has been added! Remove this one?", IDCANCEL);
    add_mute("250");
    EXPECT_EQ(record.boxes.back().flags, unsigned(MB_OKCANCEL | MB_ICONINFORMATION));
    // Cancel: the editor stays for another time, the row keeps the texts just typed.
    EXPECT_TRUE(main.GB_MuteTime->isVisible());
    EXPECT_EQ(main.SG_FileList->Cells(kName, 2), "Mute: 250 mS");
    EXPECT_EQ(main.LE_SilTime->selectedText(), "250");

    expect_box("Error!", "Same mute has been added! Remove this one?", IDOK);
    click(main.BT_MuteTimeSet);
    EXPECT_FALSE(main.GB_MuteTime->isVisible());
    EXPECT_EQ(column(main.SG_FileList, kId), QStringList{"I0001"});
    EXPECT_EQ(main.SG_FileList->RowCount(), 24);

    add_mute("300");
    EXPECT_EQ(column(main.SG_FileList, kId), (QStringList{"I0001", "I0002"}));
}

TEST_F(FileList, CancelRemovesANewMuteButRestoresAnEditedOneInEveryGroup) {
    TForm1& main = start_studio();
    add_mute("250");
    put_into_group(1);
    select_group(3);
    put_into_group(1);

    click(main.BT_ItemCtl);
    ASSERT_TRUE(choose_menu_item(main.PMB_AddMute));
    click(main.BT_MuteTimeCancel);
    EXPECT_EQ(column(main.SG_FileList, kId), QStringList{"I0001"});
    EXPECT_EQ(main.SG_FileList->RowCount(), 24);

    select_file(1);
    click(main.BT_EditFL);
    EXPECT_EQ(main.LE_SilTime->Text(), "250");
    type_text(main.LE_SilTime, "999");
    click(main.BT_MuteTimeCancel);
    EXPECT_FALSE(main.GB_MuteTime->isVisible());
    EXPECT_EQ(main.SG_FileList->Cells(kName, 1), "Mute: 250 mS");
    EXPECT_EQ(main.SG_FileList->Cells(kPath, 1), "*Mute250");
    EXPECT_EQ(item_list(1), "I00011");
    EXPECT_EQ(item_list(3), "I00011");
    EXPECT_TRUE(main.BT_EditFL->isEnabled());
}

TEST_F(FileList, EditingAMuteRenamesItInTheGroupTable) {
    TForm1& main = start_studio();
    add_mute("250");
    put_into_group(1);
    select_file(1);
    click(main.BT_EditFL);
    set_mute_time("500");
    EXPECT_EQ(main.SG_FileList->Cells(kName, 1), "Mute: 500 mS");
    EXPECT_EQ(main.SG_GrpTab->Cells(0, 1), "Mute: 500 mS");
    EXPECT_EQ(item_list(1), "I00011");
}

TEST_F(FileList, EnterAppliesTheTimeOnlyWhenTheEditSawItsPress) {
    TForm1& main = start_studio();
    click(main.BT_ItemCtl);
    ASSERT_TRUE(choose_menu_item(main.PMB_AddMute));
    main.LE_SilTime->selectAll();
    type_text(main.LE_SilTime, "0");
    expect_box("Warning!", "", IDOK);
    press_key(main.LE_SilTime, Qt::Key_Return);
    EXPECT_EQ(record.boxes.size(), 1u);
    // The press of Enter went to the box that closed; only its release reaches the edit.
    QTest::keyRelease(main.LE_SilTime, Qt::Key_Return);
    EXPECT_EQ(record.boxes.size(), 1u);
    // Other keys do nothing.
    main.LE_SilTime->selectAll();
    type_text(main.LE_SilTime, "120");
    press_key(main.LE_SilTime, Qt::Key_Tab);
    EXPECT_TRUE(main.GB_MuteTime->isVisible());
    main.LE_SilTime->setFocus();
    press_key(main.LE_SilTime, Qt::Key_Enter);
    EXPECT_FALSE(main.GB_MuteTime->isVisible());
    EXPECT_EQ(main.SG_FileList->Cells(kName, 1), "Mute: 120 mS");
}

TEST_F(FileList, TheMuteEditorOpensBelowItsRowWithinTheGrid) {
    TForm1& main = start_studio();
    add_files({wav("a.wav"), wav("b.wav"), wav("c.wav")});
    click(main.BT_ItemCtl);
    ASSERT_TRUE(choose_menu_item(main.PMB_AddMute));
    const QRect row = main.SG_FileList->CellRect(0, 4).translated(main.SG_FileList->pos());
    EXPECT_GT(main.GB_MuteTime->y(), row.top());
    EXPECT_GE(main.GB_MuteTime->geometry().top(), main.SG_FileList->geometry().top());
    EXPECT_LE(main.GB_MuteTime->geometry().bottom(), main.SG_FileList->geometry().bottom());
    click(main.BT_MuteTimeCancel);
}

TEST_F(FileList, EditSwitchesAFileBetweenPcmAndTheShownCompressionWithItsEstimate) {
    TForm1& main = start_studio();
    add_files({wav("hundred.wav", 100), wav("sixty-four.wav", 64)});
    put_into_group(1);
    click(main.BT_EditFL);
    EXPECT_EQ(main.SG_FileList->Cells(kType, 1), "4-bit ADPCM");
    EXPECT_EQ(main.SG_FileList->Cells(kSize, 1), "52");
    EXPECT_EQ(main.SG_GrpTab->Cells(2, 1), "4-bit ADPCM");  // the group table shows the new type at once
    click(main.BT_EditFL);
    EXPECT_EQ(main.SG_GrpTab->Cells(2, 1), "8-bit PCM");
    EXPECT_EQ(main.SG_FileList->Cells(kType, 1), "8-bit PCM");
    EXPECT_EQ(main.SG_FileList->Cells(kSize, 1), "100");

    choose(main.CB_ComFmt, "5-bit u-Law");
    click(main.BT_EditFL);
    EXPECT_EQ(main.SG_FileList->Cells(kSize, 1), "74");  // 65 is no multiple of 9
    select_file(2);
    click(main.BT_EditFL);
    EXPECT_EQ(main.SG_FileList->Cells(kType, 2), "5-bit u-Law");
    EXPECT_EQ(main.SG_FileList->Cells(kSize, 2), "45");  // 45 is one
}

TEST_F(FileList, TheFormatChangeRetypesOnlyCompressedRowsAndTheGroupTableFollows) {
    TForm1& main = start_studio();
    add_files({wav("a.wav", 100), wav("b.wav", 100)});
    add_mute("40");
    select_file(1);
    click(main.BT_EditFL);
    put_into_group(1);
    put_into_group(2);
    EXPECT_EQ(main.SG_GrpTab->Cells(2, 1), "4-bit ADPCM");

    choose(main.CB_ComFmt, "5-bit u-Law");
    EXPECT_EQ(column(main.SG_FileList, kType), (QStringList{"5-bit u-Law", "8-bit PCM", "Mute"}));
    EXPECT_EQ(column(main.SG_FileList, kSize), (QStringList{"74", "100", "0"}));
    EXPECT_EQ(main.SG_GrpTab->Cells(2, 1), "5-bit u-Law");
    EXPECT_EQ(main.SG_GrpTab->Cells(2, 2), "8-bit PCM");

    choose(main.CB_ComFmt, "4-bit ADPCM");
    EXPECT_EQ(column(main.SG_FileList, kSize), (QStringList{"52", "100", "0"}));
}

TEST_F(FileList, AFileGoneFromDiskCountsNoBytesWhenItsSizeIsReadAgain) {
    TForm1& main = start_studio();
    const QString path = wav("gone.wav", 100);
    add_files({path});
    std::filesystem::remove(path.toStdString());
    click(main.BT_EditFL);
    EXPECT_EQ(main.SG_FileList->Cells(kSize, 1), "4");  // the ADPCM estimate of 0 bytes
    click(main.BT_EditFL);
    EXPECT_EQ(main.SG_FileList->Cells(kSize, 1), "0");
}

TEST_F(FileList, ButtonsFollowTheSelectedRowAndRemoveSelectsItsRowAgain) {
    TForm1& main = start_studio();
    EXPECT_FALSE(main.BT_EditFL->isEnabled());
    EXPECT_FALSE(main.BT_Remove->isEnabled());
    EXPECT_FALSE(main.BT_PlayVoice->isEnabled());
    add_files({wav("a.wav")});
    add_mute("10");
    select_file(1);
    EXPECT_TRUE(main.BT_PlayVoice->isEnabled());
    select_file(2);
    EXPECT_FALSE(main.BT_PlayVoice->isEnabled());
    EXPECT_TRUE(main.BT_Remove->isEnabled());
    select_file(5);
    EXPECT_FALSE(main.BT_EditFL->isEnabled());
    EXPECT_FALSE(main.BT_Remove->isEnabled());
    EXPECT_FALSE(main.BT_PlayVoice->isEnabled());

    select_file(2);
    click(main.BT_Remove);
    // Row 2 is empty now, and the buttons say so.
    EXPECT_EQ(main.SG_FileList->Row(), 2);
    EXPECT_FALSE(main.BT_Remove->isEnabled());
    EXPECT_FALSE(main.BT_EditFL->isEnabled());
    EXPECT_EQ(main.SG_FileList->RowCount(), 24);
    // Edit and Remove reached without an item (the menu) change nothing.
    ASSERT_TRUE(choose_menu_item(main.PMB_Remove));
    ASSERT_TRUE(choose_menu_item(main.PMB_FileEdit));
    EXPECT_FALSE(main.GB_MuteTime->isVisible());
    EXPECT_EQ(column(main.SG_FileList, kId), QStringList{"I0001"});
}

}  // namespace
