// The media player's notices over the fake back end: one per play started with
// Notify, queued, also for a stopped or replaced play; one error per failed
// play however often the back end reports it; none for an old play once a new
// one has started; nothing but a regular file handed to the back end.
#include "fake_media.h"
#include "t_media_player.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class MediaPlayer : public ::testing::Test {
protected:
    void SetUp() override {
        studio_services fake;
        fake.media = make_fake_media(record);
        install_services(std::move(fake));
        player = std::make_unique<TMediaPlayer>();
        player->OnNotify = [this] { ++notices; };
        player->OnError = [this](const QString& message) { errors.push_back(message); };
    }
    void TearDown() override {
        player.reset();
        studio_services qt;
        qt.media = make_qt_media();
        install_services(std::move(qt));
    }

    // Opens `path` and plays it, with or without a notice at its end.
    void play(const QString& path, bool notify) {
        player->SetFileName(path);
        player->Open();
        player->SetNotify(notify);
        player->Play();
    }
    static void settle() { QCoreApplication::processEvents(); }

    fake_media_record record;
    std::unique_ptr<TMediaPlayer> player;
    int notices = 0;
    std::vector<QString> errors;
    // An existing file for the fake, which fails a play of one that does not exist.
    const QString sound = QCoreApplication::applicationFilePath();
};

TEST_F(MediaPlayer, APlayThatEndsGivesOneQueuedNotice) {
    play(sound, true);
    EXPECT_TRUE(player->IsPlaying());
    ASSERT_TRUE(record.finish());
    EXPECT_FALSE(player->IsPlaying());
    EXPECT_EQ(notices, 0) << "the notice must come from the event loop, not from inside the back end's call";
    settle();
    EXPECT_EQ(notices, 1);
    settle();
    EXPECT_EQ(notices, 1);
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(record.played(), QStringList{sound});
}

TEST_F(MediaPlayer, AStopGivesTheNoticeThatTheBackEndDoesNot) {
    play(sound, true);
    player->Stop();
    EXPECT_FALSE(player->IsPlaying());
    settle();
    EXPECT_EQ(notices, 1);
    // A second stop of the ended play, and an end the back end might still signal, change nothing.
    player->Stop();
    record.live->finish();
    settle();
    EXPECT_EQ(notices, 1);
    EXPECT_TRUE(errors.empty());
}

TEST_F(MediaPlayer, NotifyCountsForTheNextOperationOnly) {
    player->SetFileName(sound);
    player->SetNotify(true);
    player->Open();  // takes the notify, and asks for no notice
    player->Play();
    ASSERT_TRUE(record.finish());
    settle();
    EXPECT_EQ(notices, 0);

    play(sound, false);
    player->Stop();
    settle();
    EXPECT_EQ(notices, 0);
}

TEST_F(MediaPlayer, ALateNoticeOfAnOldPlayIsDropped) {
    play(sound, true);
    player->Stop();        // posts the notice of the first play
    play(sound, true);     // no events in between: that notice is now stale
    settle();
    EXPECT_EQ(notices, 0);
    EXPECT_TRUE(player->IsPlaying());
    ASSERT_TRUE(record.finish());
    settle();
    EXPECT_EQ(notices, 1);
}

TEST_F(MediaPlayer, AnOpenThatReplacesAPlayEndsItWithItsNotice) {
    play(sound, true);
    player->Open();
    EXPECT_FALSE(player->IsPlaying());
    settle();
    EXPECT_EQ(notices, 1);
}

TEST_F(MediaPlayer, AFailedPlayGivesOneErrorAndNoNoticeAndClosesTheFile) {
    play(sound, true);
    ASSERT_TRUE(record.fail("bad format"));  // reported twice by the back end
    EXPECT_FALSE(player->IsPlaying());
    EXPECT_FALSE(player->IsOpen());
    EXPECT_TRUE(errors.empty()) << "the error must come from the event loop";
    settle();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "bad format");
    EXPECT_EQ(notices, 0);

    // With nothing open a stop does nothing, and asks nothing of the back end.
    const size_t asked = record.log.size();
    player->Stop();
    settle();
    EXPECT_EQ(record.log.size(), asked);
    EXPECT_EQ(notices, 0);

    // The next play works.
    play(sound, true);
    ASSERT_TRUE(record.finish());
    settle();
    EXPECT_EQ(notices, 1);
    EXPECT_EQ(errors.size(), 1u);
}

TEST_F(MediaPlayer, AFailureBeforeThePlayIsReportedByThePlay) {
    player->SetFileName(sound);
    player->Open();
    record.live->fail("cannot load");  // the back end gives up while loading
    settle();
    EXPECT_TRUE(errors.empty());
    player->SetNotify(true);
    player->Play();
    settle();
    EXPECT_EQ(errors, std::vector<QString>{"cannot load"});
    EXPECT_EQ(notices, 0);
}

TEST_F(MediaPlayer, AFolderIsNotLoadedYetEndsThePlayItReplacesAndFailsItsOwn) {
    const QString folder = QCoreApplication::applicationDirPath();
    play(sound, true);
    player->SetFileName(folder);
    player->Open();
    EXPECT_EQ(record.playing(), "") << "the replaced file plays on";
    player->SetNotify(true);
    player->Play();
    settle();
    EXPECT_EQ(notices, 0);  // the replaced play's notice is stale, and the failed play gives none
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].toStdString(), (folder + "\nNot a regular file.").toStdString());
    EXPECT_EQ(record.played(), QStringList{sound});
    EXPECT_EQ(std::count(record.log.begin(), record.log.end(), "open " + folder), 0);
}

TEST_F(MediaPlayer, NothingOpenMeansNoBackEndForAStopAndAnErrorForAPlay) {
    player->Stop();
    EXPECT_EQ(record.live, nullptr) << "the back end is made at the first open";
    player->SetNotify(true);
    player->Play();
    settle();
    EXPECT_EQ(errors.size(), 1u);
    EXPECT_EQ(notices, 0);
    EXPECT_TRUE(record.log.empty());
}

TEST_F(MediaPlayer, ANoticeStillQueuedWhenThePlayerGoesIsNeverDelivered) {
    play(sound, true);
    player->Stop();
    player.reset();
    settle();
    EXPECT_EQ(notices, 0);
    EXPECT_EQ(record.live, nullptr);
}

}  // namespace
