#include "t_media_player.h"

#include "regular_file.h"
#include "studio_services.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMetaObject>

#include <algorithm>

namespace {

// Why `path` is not handed to the back end, which opens it on the GUI thread and would wait there for ever on a
// pipe without a writer; empty when it may be. Only a regular file that opens without waiting may. A missing
// file may too: the back end reports it as it reports any file it cannot load.
QString refusal_to_play(const QString& path) {
    const std::string name = QFile::encodeName(path).toStdString();
    std::string error;
    if (open_regular_input(name, error) || !QFileInfo::exists(path)) return {};
    // The reader says "PATH: reason"; the message puts it as the back end's errors do: the path on a line of its
    // own, then the reason as a sentence.
    QString reason = QString::fromLocal8Bit(error.substr(std::min(error.size(), name.size() + 2)));
    if (!reason.isEmpty()) reason[0] = reason[0].toUpper();
    if (!reason.endsWith('.')) reason += '.';
    return QDir::toNativeSeparators(path) + "\n" + reason;
}

}  // namespace

TMediaPlayer::TMediaPlayer(QObject* parent) : QObject(parent) {}

TMediaPlayer::~TMediaPlayer() = default;

void TMediaPlayer::Open() {
    notify_ = false;
    EndPlay();
    if (!backend_) {
        backend_ = services().media->make_backend();
        backend_->ended = [this] { BackendEnded(); };
        backend_->failed = [this](const QString& message) { BackendFailed(message); };
    }
    open_ = true;
    load_error_.clear();
    const QString refusal = refusal_to_play(file_name_);
    if (refusal.isEmpty()) {
        backend_->load(file_name_);
    } else {
        backend_->stop();  // the file loaded before plays no more, as when another is loaded
        load_error_ = refusal;  // reported by the play that tries this file
    }
}

void TMediaPlayer::Play() {
    const bool notify = notify_;
    notify_ = false;
    EndPlay();
    ++serial_;
    playing_ = true;
    play_notifies_ = notify;
    if (!open_) {
        FailPlay(QStringLiteral("No sound file is open."));
        return;
    }
    if (!load_error_.isEmpty()) {
        FailPlay(load_error_);
        return;
    }
    backend_->play();
}

void TMediaPlayer::Stop() {
    notify_ = false;
    if (!open_) return;
    EndPlay();
    backend_->stop();
}

// The play in progress ends without an error: its notice, when it asked for one, follows once the caller is done.
void TMediaPlayer::EndPlay() {
    if (!playing_) return;
    playing_ = false;
    if (!play_notifies_) return;
    const uint64_t serial = serial_;
    QMetaObject::invokeMethod(
        this,
        [this, serial] {
            if (serial == serial_ && OnNotify) OnNotify();
        },
        Qt::QueuedConnection);
}

// The play in progress fails: it ends with its error instead of a notice, and the file is closed.
void TMediaPlayer::FailPlay(QString message) {
    playing_ = false;
    if (open_) backend_->stop();
    open_ = false;
    load_error_.clear();
    const uint64_t serial = serial_;
    QMetaObject::invokeMethod(
        this,
        [this, serial, message = std::move(message)] {
            if (serial == serial_ && OnError) OnError(message);
        },
        Qt::QueuedConnection);
}

void TMediaPlayer::BackendEnded() { EndPlay(); }

void TMediaPlayer::BackendFailed(const QString& message) {
    const QString text = message.isEmpty() ? QStringLiteral("The sound file cannot be played.") : message;
    if (playing_) {
        FailPlay(text);
    } else if (open_ && load_error_.isEmpty()) {
        load_error_ = text;  // reported by the play that tries this file
    }
}
