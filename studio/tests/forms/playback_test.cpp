// Playback from the file list and the group menu over the fake media back end:
// the start sound first, then the queued files, each started by the notice of
// the one before; the three captions; stops at any point; player errors.
#include "project_entry.h"
#include "studio_fixture.h"
#include "tform1.h"
#include "ui_driver.h"

#include <QCoreApplication>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

namespace {

class Playback : public studio_test {
protected:
    // Adds the sounds and mutes as the user does, each in a row of its own from row 1 down: a path starting
    // with "*Mute" is a mute of that time, any other a WAV file.
    void add_items(const QStringList& paths) {
        int row = 1;
        for (const QString& path : paths) {
            const int added = path.startsWith("*Mute") ? project().add_mute(path.mid(5))
                                                       : project().add_wave_file(path);
            ASSERT_EQ(added, row++);
        }
    }
    // Puts file-list rows into group 1, in turn, each with or without its busy output. Group 1 stays
    // selected, so that the group table shows it.
    struct group_entry {
        int row;
        bool busy = true;
    };
    void fill_group(std::initializer_list<group_entry> entries) {
        for (const group_entry& entry : entries) project().put_into_group(entry.row, 1, entry.busy);
    }

    QString sample(const char* name) const { return QString::fromStdString(folder.file("Samples/")) + name; }
    QString start_sound() const { return QString::fromStdString(folder.file("bin/Play.wav")); }

    // Group 1 of a copy of a sample, named `name`, and Chime.wav; the copy is then removed from the disk, for the
    // test to leave gone or to put something else in its place. Its path.
    std::string group_with_a_removed_sound(const std::string& name) {
        const std::string removed = folder.file("Samples/" + name);
        std::filesystem::copy_file(folder.file("Samples/Beep.wav"), removed);
        add_items({QString::fromStdString(removed), sample("Chime.wav")});
        fill_group({{1}, {2}});
        std::filesystem::remove(removed);
        return removed;
    }

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

    project_entry project() { return project_entry(*form, record); }
};

TEST_F(Playback, OneFileFollowsTheStartSoundAndTheCaptionsReturnToPlay) {
    add_items({sample("Beep.wav"), sample("Chime.wav")});
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
    add_items({sample("Beep.wav"), "*Mute250", sample("Chime.wav"), sample("Noise.wav")});  // Noise in no group
    fill_group({{1}, {2}, {3, false}, {1}});
    ASSERT_EQ(form->SG_GrpList->Cells(5, 1), "I00011I00021I00030I00011");
    ASSERT_TRUE(choose_menu_item(form->PMB_GrpPlay));
    expect_captions("Stop");
    play_to_the_end();
    EXPECT_EQ(record.media.played(),
              (QStringList{start_sound(), sample("Beep.wav"), sample("Chime.wav"), sample("Beep.wav")}));
    expect_captions("Play");
    EXPECT_TRUE(record.boxes.empty());
}

TEST_F(Playback, AGroupWithoutSoundsPlaysOnlyTheStartSound) {
    add_items({"*Mute100"});
    fill_group({{1}});
    ASSERT_TRUE(choose_menu_item(form->PMB_GrpPlay));
    play_to_the_end();
    EXPECT_EQ(record.media.played(), QStringList{start_sound()});
    expect_captions("Play");
}

TEST_F(Playback, StoppingDuringTheStartSoundOfAGroupPlaysNothingMore) {
    add_items({sample("Beep.wav"), sample("Chime.wav")});
    fill_group({{1}, {2}});
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
    add_items({sample("Beep.wav"), sample("Chime.wav")});
    fill_group({{2}});
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
    add_items({sample("Beep.wav"), sample("Chime.wav")});
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
    const std::string gone = group_with_a_removed_sound("Gone.wav");

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

// A pipe without a writer would hold the media stack's open, and so the window, for ever: it is never handed over.
TEST_F(Playback, AFileReplacedByAPipeIsNotOpenedAndEndsThePlaybackWithOneError) {
    const std::string piped = group_with_a_removed_sound("Piped.wav");
    ASSERT_EQ(::mkfifo(piped.c_str(), 0600), 0);

    expect_box("Error!", QString::fromStdString(piped) + "\nNot a regular file.", IDOK);
    ASSERT_TRUE(choose_menu_item(form->PMB_GrpPlay));
    ASSERT_TRUE(record.media.finish());  // the start sound ends; the pipe is next
    ASSERT_TRUE(wait_until([this] { return !record.boxes.empty(); }));
    settle();
    ASSERT_EQ(record.boxes.size(), 1u);
    EXPECT_EQ(std::count(record.media.log.begin(), record.media.log.end(), "open " + QString::fromStdString(piped)),
              0);
    EXPECT_EQ(record.media.played(), QStringList{start_sound()});
    EXPECT_EQ(record.media.playing(), "");
    EXPECT_TRUE(form->PlayQueue.empty());
    expect_captions("Play");
}

TEST_F(Playback, AMissingStartSoundShowsItsErrorAndPlaysNothingElse) {
    std::filesystem::remove(folder.file("bin/Play.wav"));
    add_items({sample("Beep.wav")});
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
