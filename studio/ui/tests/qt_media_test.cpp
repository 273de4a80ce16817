// The media player over Qt Multimedia, as the program uses it: generated WAV
// files play to their end headless, with no sound device, each giving one
// notice; a stop gives the notice Qt does not; a missing file gives one error;
// a pipe is never opened.
#include "quiet_services.h"
#include "t_media_player.h"
#include "test_files.h"
#include "wav_signals.h"
#include "wav_writer.h"

#include <QElapsedTimer>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

// Read by LeakSanitizer in the sanitized build: the sound-server client library keeps the state of its failed
// connection attempt (a test machine has no sound server) for good.
extern "C" const char* __lsan_default_suppressions() { return "leak:libpulse.so\n"; }

namespace {

// Whether anything opened a named pipe for reading while it was watched. Such a reader waits for a writer, so the
// watch lets it go at once: it keeps opening the pipe for writing without waiting, which succeeds only while a
// reader is there. No time bound: a reader is seen whenever it comes, and nothing hangs on it.
class pipe_reader_watch {
public:
    explicit pipe_reader_watch(std::string fifo) : fifo_(std::move(fifo)), thread_([this] { run(); }) {}
    ~pipe_reader_watch() { stop(); }
    // Ends the watch; true when a reader came.
    bool stop() {
        done_ = true;
        if (thread_.joinable()) thread_.join();
        return seen_;
    }

private:
    void run() {
        while (!done_) {
            const int writer = ::open(fifo_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (writer >= 0) {
                seen_ = true;
                ::close(writer);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    std::string fifo_;
    std::atomic<bool> done_{false};
    std::atomic<bool> seen_{false};
    std::thread thread_;  // last, so that it starts once the rest is there
};

class QtMedia : public ::testing::Test {
protected:
    void SetUp() override {
        folder = QString::fromStdString(test_folder()) + "/";
        player.OnNotify = [this] { ++notices; };
        player.OnError = [this](const QString& message) { errors.push_back(message); };
    }

    // A tone of `seconds` in a new WAV file; its path.
    QString tone(const QString& name, double seconds) {
        const QString path = folder + name;
        wav_format format;
        format.sample_rate = 8000;
        std::string error;
        const auto frames = static_cast<size_t>(seconds * format.sample_rate);
        EXPECT_TRUE(write_wav_file(path.toStdString(), format, wav_tone(440, format.sample_rate, frames, 0.3), error))
            << error;
        return path;
    }
    void play(const QString& path) {
        player.SetFileName(path);
        player.Open();
        player.SetNotify(true);
        player.Play();
    }
    // The limit only guards against a play that never ends: the media stack's start alone may take seconds on a
    // busy machine.
    static bool wait_until(const std::function<bool()>& done, int limit_ms = 120000) {
        return handle_events_until(done, std::chrono::milliseconds(limit_ms));
    }
    static void linger(int ms) {
        wait_until([] { return false; }, ms);
    }

    QString folder;
    TMediaPlayer player;
    int notices = 0;
    std::vector<QString> errors;
};

TEST_F(QtMedia, AShortWavPlaysToItsEndAndGivesOneNotice) {
    const QString sound = tone("short.wav", 0.25);
    QElapsedTimer clock;
    clock.start();
    play(sound);
    ASSERT_TRUE(wait_until([this] { return notices > 0 || !errors.empty(); }))
        << "the play never ended: is the media stack (GStreamer base and good plug-ins) installed?";
    EXPECT_TRUE(errors.empty()) << errors.front().toStdString();
    EXPECT_GE(clock.elapsed(), 200) << "the play ended before the sound could have been played";
    linger(300);
    EXPECT_EQ(notices, 1);
    EXPECT_FALSE(player.IsPlaying());
}

TEST_F(QtMedia, EachNoticeStartsTheNextFileAsThePlaybackDoes) {
    const QString first = tone("first.wav", 0.15);
    const QString second = tone("second.wav", 0.15);
    QStringList queue{second, first, first};
    player.OnNotify = [&] {
        ++notices;
        if (!queue.isEmpty()) play(queue.takeFirst());
    };
    play(first);
    ASSERT_TRUE(wait_until([&] { return notices == 4 || !errors.empty(); }));
    EXPECT_TRUE(errors.empty()) << errors.front().toStdString();
    linger(300);
    EXPECT_EQ(notices, 4);
}

TEST_F(QtMedia, AStopDuringThePlayGivesOneNotice) {
    const QString sound = tone("long.wav", 5);
    play(sound);
    linger(300);
    ASSERT_TRUE(player.IsPlaying());
    EXPECT_EQ(notices, 0);
    player.Stop();
    ASSERT_TRUE(wait_until([this] { return notices > 0; }));
    linger(300);
    EXPECT_EQ(notices, 1);
    EXPECT_TRUE(errors.empty());
}

TEST_F(QtMedia, AMissingFileGivesOneErrorWithItsPath) {
    const QString missing = folder + "gone.wav";
    play(missing);
    ASSERT_TRUE(wait_until([this] { return !errors.empty(); }));
    linger(500);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0].startsWith(missing + "\n")) << errors[0].toStdString();
    EXPECT_EQ(notices, 0);
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_FALSE(player.IsOpen());
}

TEST_F(QtMedia, APipeInPlaceOfTheFileIsNeverOpenedAndGivesOneError) {
    const QString fifo = folder + "pipe.wav";
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    pipe_reader_watch readers(fifo.toStdString());
    play(fifo);
    ASSERT_TRUE(wait_until([this] { return !errors.empty() || notices > 0; }));
    linger(500);
    EXPECT_FALSE(readers.stop()) << "the pipe was opened for reading, which waits for a writer";
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].toStdString(), (fifo + "\nNot a regular file.").toStdString());
    EXPECT_EQ(notices, 0);
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_FALSE(player.IsOpen());
}

TEST_F(QtMedia, AFileThatIsNoSoundGivesOneError) {
    const QString path = folder + "text.wav";
    write_text(path.toStdString(), "this is not a sound file at all\n");
    play(path);
    ASSERT_TRUE(wait_until([this] { return !errors.empty() || notices > 0; }));
    linger(500);
    EXPECT_EQ(errors.size(), 1u);
    EXPECT_EQ(notices, 0);
    EXPECT_FALSE(player.IsPlaying());
}

}  // namespace
