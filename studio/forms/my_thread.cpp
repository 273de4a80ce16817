#include "my_thread.h"

#include "child_run.h"
#include "studio_services.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QObject>
#include <QTimer>

#include <pthread.h>

#include <system_error>
#include <thread>

std::string ChildCommandLine;
std::atomic<int> ChildResult{0};
std::atomic<bool> DebugMode{false};

namespace {

// Set by the worker after ChildResult, so that a child whose exit code is 99 still ends the wait.
std::atomic<bool> child_done{true};
std::atomic<unsigned> run_serial{0};
bool waiting = false;

// Lives on the GUI thread; the worker's done notice is posted to it and carries the run's serial number.
class child_notifier : public QObject {
public:
    std::function<void(unsigned)> on_done;
};

child_notifier& notifier() {
    static child_notifier* instance = new child_notifier;
    return *instance;
}

void post_done_notice(unsigned serial) {
    QMetaObject::invokeMethod(&notifier(), [serial] {
        if (notifier().on_done) notifier().on_done(serial);
    }, Qt::QueuedConnection);
}

}  // namespace

TMyThread::TMyThread(bool) {}

void TMyThread::Start() {
    // The command line is taken now, on the GUI thread, so that the worker reads nothing the GUI thread writes.
    command_line_ = ChildCommandLine;
    show_console_ = DebugMode;
    serial_ = run_serial;
    try {
        std::thread([this] { Execute(); }).detach();
    } catch (const std::system_error&) {
        ChildResult = kChildNotStarted;
        child_done = true;
        delete this;
    }
}

void TMyThread::Execute() {
    pthread_setname_np(pthread_self(), "MyThread");
    ChildResult = run_child_command(command_line_, show_console_);
    child_done = true;
    const unsigned serial = serial_;
    delete this;
    post_done_notice(serial);
}

int RunChildProgram(const std::string& command_line, TMyThread*& last_thread, std::chrono::milliseconds cadence,
                    const std::function<void()>& tick) {
    if (waiting) return kChildNotStarted;
    waiting = true;
    notifier();  // created on the GUI thread, before any worker posts to it
    ChildCommandLine = command_line;
    ChildResult = kChildRunning;
    child_done = false;
    const unsigned serial = ++run_serial;
    if (DebugMode) services().message_boxes->show(nullptr, QString::fromStdString(ChildCommandLine), "Thread!", MB_OK);

    QEventLoop loop;
    notifier().on_done = [&loop, serial](unsigned done_serial) {
        if (done_serial == serial) loop.quit();
    };
    // Each step waits a whole cadence after the last one has ended: a repeating timer keeps its schedule, so after
    // a late step (a slow repaint, a loaded machine) the next would come early. A precise timer, as a coarse one
    // may fire up to 5% early.
    QTimer pace;
    pace.setSingleShot(true);
    pace.setTimerType(Qt::PreciseTimer);
    pace.setInterval(static_cast<int>(cadence.count()));
    if (cadence.count() > 0 && tick) {
        QObject::connect(&pace, &QTimer::timeout, &loop, [&tick, &pace] {
            if (child_done) return;
            tick();
            pace.start();
        });
        pace.start();
    }
    auto* worker = new TMyThread(false);
    last_thread = worker;
    worker->Start();
    if (!child_done) loop.exec();
    // A notice that was already posted finds no loop to end; it must not reach the next run's loop.
    notifier().on_done = nullptr;
    pace.stop();
    waiting = false;
    return ChildResult;
}

bool ChildProgramRunning() { return waiting; }
