// The media back end of the program: Qt Multimedia's player with an audio
// output. Qt signals no end when it is stopped and may report one failure
// several times; the media player above copes with both.
#include "studio_services.h"
#include "t_media_player.h"

#include <QAudioOutput>
#include <QDir>
#include <QMediaPlayer>
#include <QUrl>

namespace {

class qt_media_backend : public media_backend {
public:
    qt_media_backend() {
        player_.setAudioOutput(&output_);
        QObject::connect(&player_, &QMediaPlayer::mediaStatusChanged, &player_,
                         [this](QMediaPlayer::MediaStatus status) {
                             if (status == QMediaPlayer::EndOfMedia && ended) ended();
                             if (status == QMediaPlayer::InvalidMedia) report(player_.errorString());
                         });
        QObject::connect(&player_, &QMediaPlayer::errorOccurred, &player_,
                         [this](QMediaPlayer::Error error, const QString& text) {
                             if (error != QMediaPlayer::NoError) report(text);
                         });
    }

    void load(const QString& path) override {
        path_ = path;
        // Through an empty source, so that the same file loads afresh (and fails afresh) every time.
        player_.setSource(QUrl());
        player_.setSource(QUrl::fromLocalFile(path));
    }
    void play() override { player_.play(); }
    void stop() override { player_.stop(); }

private:
    void report(const QString& text) {
        if (!failed) return;
        const QString reason = text.isEmpty() ? QStringLiteral("The file cannot be played.") : text;
        failed(QDir::toNativeSeparators(path_) + "\n" + reason);
    }

    QString path_;
    QAudioOutput output_;
    QMediaPlayer player_;  // after the output, so that it goes first
};

class qt_media : public media_service {
public:
    std::unique_ptr<media_backend> make_backend() override { return std::make_unique<qt_media_backend>(); }
};

}  // namespace

std::unique_ptr<media_service> make_qt_media() { return std::make_unique<qt_media>(); }
