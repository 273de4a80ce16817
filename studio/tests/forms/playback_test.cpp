// Playback from the file list and the group menu over the fake media back end:
// the start sound first, then the queued files, each started by the notice of
// the one before; the three captions; stops at any point; player errors.
#include "studio_fixture.h"
#include "tform1.h"
#include "ui_driver.h"

#include <QCoreApplication>

#include <filesystem>
#include <ostream>

// Failure messages show texts as texts.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace {

class Playback : public studio_test {
protected:
    // Fills file-list row `row` with a sound item as the file list does: name, rate, size, type, path, item id.
    // A path starting with "*Mute" makes a mute item.
    void put_item(int row, const QString& id, const QString& path) {
        TStringGrid* list = form->SG_FileList;
        const bool mute = path.startsWith("*Mute");
        list->SetCells(0, row, mute ? "Mute: " + path.mid(5) + " mS" : path.section('/', -1));
        list->SetCells(1, row, mute ? "--" : "8000");
        list->SetCells(2, row, mute ? "0" : "4000");
        list->SetCells(3, row, mute ? "Mute" : "8-bit PCM");
        list->SetCells(5, row, path);
        list->SetCells(6, row, id);
    }
    // Fills the group table with the selected group's entries (item id and busy flag), from row 1 on.
    void put_group(const QStringList& entries) {
        for (int i = 0; i < entries.size(); ++i) form->SG_GrpTab->SetCells(5, i + 1, entries[i]);
    }

    QString sample(const char* name) const { return QString::fromStdString(folder.file("Samples/")) + name; }
    QString start_sound() const { return QString::fromStdString(folder.file("bin/Play.wav")); }

    // The captions of the button and both menu items, which always agree.
    void expect_captions(const QString& caption) {
        EXPECT_EQ(form->BT_PlayVoice->text(), caption);
        EXPECT_EQ(form->PMB_FilePlay->text(), caption);
        EXPECT_EQ(form->PMB_GrpPlay->text(), caption);
    }
    // Lets the queued notices arrive.
    static void settle() {
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    }
    // Ends every play in turn, as each file reaches its end, until the playback is over.
    void play_to_the_end() {
        for (int guard = 0; guard < 20 && record.media.finish(); ++guard) settle();
    }

    void SetUp() override {
        studio_test::SetUp();
        start_studio();
        ASSERT_NE(form, nullptr);
        expect_captions("Play");
    }
};

TEST_F(Playback, OneFileFollowsTheStartSoundAndTheCaptionsReturnToPlay) {
    put_item(1, "I0001", sample("Beep.wav"));
    put_item(2, "I0002", sample("Chime.wav"));
    click_cell(form->SG_FileList, 0, 2);
    click(form->BT_PlayVoice);
    expect_captions("Stop");
    EXPECT_EQ(record.media.playing(), start_sound());

    ASSERT_TRUE(record.media.finish());
    settle();
    EXPECT_EQ(record.media.playing(), sample("Chime.wav"));
    expect_captions("Stop");

    ASSERT_TRUE(record.media.finish());
    settle();
    EXPECT_EQ(record.media.playing(), "");
    expect_captions("Play");
    EXPECT_EQ(record.media.played(), (QStringList{start_sound(), sample("Chime.wav")}));
    EXPECT_TRUE(form->PlayQueue.empty());
    EXPECT_TRUE(record.boxes.empty());
}

TEST_F(Playback, AGroupPlaysItsFilesInOrderSkippingMutesAndRepeatingFiles) {
    put_item(1, "I0001", sample("Beep.wav"));
    put_item(2, "I0002", "*Mute250");
    put_item(3, "I0003", sample("Chime.wav"));
    put_item(4, "I0004", sample("Noise.wav"));  // in no group
    put_group({"I00011", "I00021", "I00030", "I00011"});
    ASSERT_TRUE(choose_menu_item(form->PMB_GrpPlay));
    expect_captions("Stop");
    play_to_the_end();
    EXPECT_EQ(record.media.played(),
              (QStringList{start_sound(), sample("Beep.wav"), sample("Chime.wav"), sample("Beep.wav")}));
    expect_captions("Play");
    EXPECT_TRUE(record.boxes.empty());
}

TEST_F(Playback, AGroupWithoutSoundsPlaysOnlyTheStartSound) {
    put_item(1, "I0001", "*Mute100");
    put_group({"I00011"});
    ASSERT_TRUE(choose_menu_item(form->PMB_GrpPlay));
    play_to_the_end();
    EXPECT_EQ(record.media.played(), QStringList{start_sound()});
    expect_captions("Play");
}

TEST_F(Playback, StoppingDuringTheStartSoundOfAGroupPlaysNothingMore) {
    put_item(1, "I0001", sample("Beep.wav"));
    put_item(2, "I0002", sample("Chime.wav"));
    put_group({"I00011", "I00021"});
    ASSERT_TRUE(choose_menu_item(form->PMB_GrpPlay));
    ASSERT_EQ(record.media.playing(), start_sound());
    ASSERT_TRUE(choose_menu_item(form->PMB_GrpPlay));  // now "Stop"
    expect_captions("Play");
    EXPECT_EQ(record.media.playing(), "");
    EXPECT_TRUE(form->PlayQueue.empty());
    settle();  // the stopped play's notice arrives and finds nothing to do
    EXPECT_EQ(record.media.played(), QStringList{start_sound()});
    expect_captions("Play");
}

TEST_F(Playback, WhileAFilePlaysTheGroupMenuReadsStopAndStopsIt) {
    put_item(1, "I0001", sample("Beep.wav"));
    put_item(2, "I0002", sample("Chime.wav"));
    put_group({"I00021"});
    click_cell(form->SG_FileList, 0, 1);
    click(form->BT_PlayVoice);
    ASSERT_TRUE(record.media.finish());
    settle();
    ASSERT_EQ(record.media.playing(), sample("Beep.wav"));
    EXPECT_EQ(form->PMB_GrpPlay->text(), "Stop");
    ASSERT_TRUE(choose_menu_item(form->PMB_GrpPlay));
    expect_captions("Play");
    settle();
    EXPECT_EQ(record.media.playing(), "");
    EXPECT_EQ(record.media.played(), (QStringList{start_sound(), sample("Beep.wav")}));
}

TEST_F(Playback, PlayRightAfterStopIgnoresTheOldNoticeAndPlaysOnlyTheNewChoice) {
    put_item(1, "I0001", sample("Beep.wav"));
    put_item(2, "I0002", sample("Chime.wav"));
    click_cell(form->SG_FileList, 0, 1);
    click(form->BT_PlayVoice);
    ASSERT_EQ(record.media.playing(), start_sound());
    // The row of the next playback is chosen first; then Stop and Play follow with no event handled in between.
    click_cell(form->SG_FileList, 0, 2);
    click(form->BT_PlayVoice);
    click(form->BT_PlayVoice);
    expect_captions("Stop");
    settle();
    EXPECT_EQ(record.media.playing(), start_sound()) << "the stopped play's notice cut the new start sound short";
    expect_captions("Stop");
    play_to_the_end();
    EXPECT_EQ(record.media.played(), (QStringList{start_sound(), start_sound(), sample("Chime.wav")}));
    expect_captions("Play");
}

TEST_F(Playback, AFileGoneSinceItWasAddedShowsOneErrorAndEndsThePlayback) {
    const std::string gone = folder.file("Samples/Gone.wav");
    std::filesystem::copy_file(folder.file("Samples/Beep.wav"), gone);
    put_item(1, "I0001", QString::fromStdString(gone));
    put_item(2, "I0002", sample("Chime.wav"));
    put_group({"I00011", "I00021"});
    std::filesystem::remove(gone);

    expect_box("Error!", QString::fromStdString(gone) + "\nResource not found.", IDOK);
    record.while_box_shown = [this](const recorded_box&) {
        // Behind the box the form is idle already: nothing plays on, and nothing is left to play.
        expect_captions("Play");
        EXPECT_EQ(record.media.playing(), "");
        EXPECT_TRUE(form->PlayQueue.empty());
    };
    ASSERT_TRUE(choose_menu_item(form->PMB_GrpPlay));
    ASSERT_TRUE(record.media.finish());  // the start sound ends; the gone file fails (reported twice)
    ASSERT_TRUE(wait_until([this] { return !record.boxes.empty(); }));
    settle();
    ASSERT_EQ(record.boxes.size(), 1u);
    EXPECT_EQ(record.boxes[0].flags, unsigned(MB_OK | MB_ICONERROR));
    EXPECT_EQ(record.media.played(), (QStringList{start_sound(), QString::fromStdString(gone)}));
    expect_captions("Play");

    // The next playback works as ever.
    record.while_box_shown = nullptr;
    click_cell(form->SG_FileList, 0, 2);
    click(form->BT_PlayVoice);
    play_to_the_end();
    EXPECT_EQ(record.media.played().mid(2), (QStringList{start_sound(), sample("Chime.wav")}));
    expect_captions("Play");
}

TEST_F(Playback, AMissingStartSoundShowsItsErrorAndPlaysNothingElse) {
    std::filesystem::remove(folder.file("bin/Play.wav"));
    put_item(1, "I0001", sample("Beep.wav"));
    expect_box("Error!", start_sound() + "\nResource not found.", IDOK);
    click_cell(form->SG_FileList, 0, 1);
    click(form->BT_PlayVoice);
    ASSERT_TRUE(wait_until([this] { return !record.boxes.empty(); }));
    settle();
    EXPECT_EQ(record.media.played(), QStringList{start_sound()});
    expect_captions("Play");
    EXPECT_TRUE(form->PlayQueue.empty());
}

}  // namespace
