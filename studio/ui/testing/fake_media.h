// A media back end for tests: it plays nothing and logs what the player asked
// of it ("open PATH", "play", "stop"). The test ends the play in progress or
// makes it fail; like Qt Multimedia it signals no end after a stop, reports a
// failure twice, and fails a file that does not exist shortly after its play
// starts.
#pragma once

#include "studio_services.h"
#include "t_media_player.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class fake_media_backend;

// What the fake back ends saw, shared by a test and the service it installed.
struct fake_media_record {
    std::vector<QString> log;
    fake_media_backend* live = nullptr;  // the back end made last, while it exists

    // The files whose plays started, in order.
    QStringList played() const;
    // The file playing now; empty when nothing plays.
    QString playing() const;
    // The play in progress reaches its end; false when nothing plays.
    bool finish();
    // The play in progress fails with `message` (reported twice); false when nothing plays.
    bool fail(const QString& message);
};

class fake_media_backend : public media_backend {
public:
    explicit fake_media_backend(fake_media_record& record);
    ~fake_media_backend() override;

    void load(const QString& path) override;
    void play() override;
    void stop() override;

    bool playing() const { return playing_; }
    const QString& loaded() const { return loaded_; }
    void finish();
    void fail(const QString& message);

private:
    fake_media_record& record_;
    QString loaded_;
    bool playing_ = false;
    unsigned plays_ = 0;
    QObject context_;  // ends the posted failure of a missing file with the back end
};

// A media service that makes fake back ends writing into `record` (which must outlive them).
std::unique_ptr<media_service> make_fake_media(fake_media_record& record);
