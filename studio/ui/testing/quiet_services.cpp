#include "quiet_services.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <cstdio>

namespace {

class logged_boxes : public message_box_service {
public:
    int show(QWidget*, const QString& text, const QString& caption, unsigned flags) override {
        std::fprintf(stderr, "box \"%s\": %s\n", caption.toUtf8().constData(), text.toUtf8().constData());
        return closed_box_answer(flags);
    }
};

class no_sounds : public sound_service {
public:
    void play(const QString&) override {}
};

}  // namespace

answering_dialogs& install_quiet_services() {
    auto dialogs = std::make_unique<answering_dialogs>();
    answering_dialogs& answers = *dialogs;
    studio_services quiet;
    quiet.message_boxes = std::make_unique<logged_boxes>();
    quiet.sounds = std::make_unique<no_sounds>();
    quiet.file_dialogs = std::move(dialogs);
    install_services(std::move(quiet));
    return answers;
}

bool handle_events_until(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limit.count()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return true;
}
