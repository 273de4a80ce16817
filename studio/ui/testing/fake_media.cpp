#include "fake_media.h"

#include <QFileInfo>
#include <QTimer>

QStringList fake_media_record::played() const {
    QStringList files;
    QString loaded;
    for (const QString& entry : log) {
        if (entry.startsWith("open ")) loaded = entry.mid(5);
        if (entry == "play") files << loaded;
    }
    return files;
}

QString fake_media_record::playing() const {
    return live != nullptr && live->playing() ? live->loaded() : QString();
}

bool fake_media_record::finish() {
    if (live == nullptr || !live->playing()) return false;
    live->finish();
    return true;
}

bool fake_media_record::fail(const QString& message) {
    if (live == nullptr || !live->playing()) return false;
    live->fail(message);
    return true;
}

fake_media_backend::fake_media_backend(fake_media_record& record) : record_(record) { record_.live = this; }

fake_media_backend::~fake_media_backend() {
    if (record_.live == this) record_.live = nullptr;
}

void fake_media_backend::load(const QString& path) {
    record_.log.push_back("open " + path);
    loaded_ = path;
    playing_ = false;
}

void fake_media_backend::play() {
    record_.log.push_back("play");
    playing_ = true;
    const unsigned play = ++plays_;
    if (QFileInfo(loaded_).isFile()) return;
    QTimer::singleShot(0, &context_, [this, play] {
        if (playing_ && plays_ == play) fail(loaded_ + "\nResource not found.");
    });
}

void fake_media_backend::stop() {
    record_.log.push_back("stop");
    playing_ = false;
}

void fake_media_backend::finish() {
    playing_ = false;
    if (ended) ended();
}

void fake_media_backend::fail(const QString& message) {
    // Qt reports a failure more than once and stays in its playing state.
    for (int i = 0; i < 2; ++i) {
        if (failed) failed(message);
    }
}

namespace {

class fake_media : public media_service {
public:
    explicit fake_media(fake_media_record& record) : record_(record) {}
    std::unique_ptr<media_backend> make_backend() override { return std::make_unique<fake_media_backend>(record_); }

private:
    fake_media_record& record_;
};

}  // namespace

std::unique_ptr<media_service> make_fake_media(fake_media_record& record) {
    return std::make_unique<fake_media>(record);
}
