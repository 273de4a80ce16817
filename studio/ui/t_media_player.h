// The main form's media player: plays one sound file at a time through a
// swappable back end (Qt Multimedia in the program, a fake in tests) and gives
// the forms a notice they can rely on. Every play started with Notify set ends
// with exactly one queued OnNotify, whether it ran to its end, a stop
// interrupted it or a new open replaced it; a play that fails ends instead
// with exactly one queued OnError carrying the back end's message, however
// often the back end reports it. Each notice carries its play's serial number
// and is dropped when a newer play has started meanwhile, so a late notice of
// an old play cannot act on the new one.
#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

// What a media player needs of the machinery that really plays: it may report
// ends and errors at once or later, several times, or not at all after a stop.
class media_backend {
public:
    virtual ~media_backend() = default;
    // Makes `path` the file to play, closing the one loaded before.
    virtual void load(const QString& path) = 0;
    // Plays the loaded file from its start.
    virtual void play() = 0;
    virtual void stop() = 0;

    // Set by the player; called on the GUI thread.
    std::function<void()> ended;                         // the play reached the file's end
    std::function<void(const QString& message)> failed;  // the file cannot be loaded or played
};

class TMediaPlayer : public QObject {
public:
    explicit TMediaPlayer(QObject* parent = nullptr);
    ~TMediaPlayer() override;

    QString FileName() const { return file_name_; }
    void SetFileName(const QString& path) { file_name_ = path; }
    // Applies to the next Open, Play or Stop only.
    bool Notify() const { return notify_; }
    void SetNotify(bool notify) { notify_ = notify; }

    // Ends a play in progress (as a stop does) and loads FileName. The back end is made at the first open, so
    // that a broken media stack cannot get in the way before anything is played. A file that is there but is no
    // regular file (a pipe, a device, a folder) or cannot be opened is not loaded: the back end would wait on a
    // pipe for a writer. The next play fails with "PATH\nReason." as for a file the back end cannot load.
    void Open();
    // Starts a play of the open file and returns at once. With nothing open the play fails at once.
    void Play();
    // Ends the play in progress; with nothing open it does nothing.
    void Stop();

    bool IsOpen() const { return open_; }
    bool IsPlaying() const { return playing_; }

    std::function<void()> OnNotify;
    std::function<void(const QString& message)> OnError;

private:
    void EndPlay();
    void FailPlay(QString message);  // by value: it may be given load_error_, which it clears
    void BackendEnded();
    void BackendFailed(const QString& message);

    std::unique_ptr<media_backend> backend_;
    QString file_name_;
    bool notify_ = false;
    bool open_ = false;
    bool playing_ = false;
    bool play_notifies_ = false;  // the play in progress was started with Notify
    QString load_error_;          // the open file failed before its play started
    uint64_t serial_ = 0;         // of the latest play
};
