// The one way KovaStudio runs a child program: RunChildProgram and its worker
// thread, with the real updater against the simulator and a stand-in child
// for endings the real programs cannot give.
#include "startup_support.h"

#include "child_process.h"
#include "command_line.h"
#include "my_thread.h"
#include "test_files.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

namespace {

class Worker : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = test_folder() + "/";
        install_recording_services(record);
        DebugMode = false;
        plan_stand_in("", log());
        link_stand_in(folder_ + "child");
    }
    void TearDown() override {
        DebugMode = false;
        EXPECT_TRUE(record.expected_boxes.empty());
    }
    std::string child_command(const std::string& words) const { return quote_short_path(folder_, "child") + words; }
    std::string log() const { return folder_ + "runs.log"; }
    std::vector<std::string> runs() const { return text_lines(log()); }

    void expect_box(const QString& caption, const QString& text, int answer) {
        record.expected_boxes.push_back({caption, text, answer});
    }

    std::string folder_;
    service_record record;
    TMyThread* last_thread = nullptr;
};

double cpu_seconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

TEST_F(Worker, AProgramThatCannotStartGives97AtOnce) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(RunChildProgram(quote_short_path(folder_, "missing") + " word", last_thread), 97);
    EXPECT_EQ(RunChildProgram(quote_short_path(folder_, "") + " word", last_thread), 97);  // a folder
    write_text(folder_ + "plain", "#!/bin/sh\nexit 0\n");
    EXPECT_EQ(RunChildProgram(quote_short_path(folder_, "plain"), last_thread), 97);  // not executable
    EXPECT_EQ(RunChildProgram("", last_thread), 97);
    EXPECT_EQ(ChildResult, 97);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_TRUE(record.boxes.empty());
    EXPECT_FALSE(ChildProgramRunning());
}

TEST_F(Worker, ANegativeExitCodeArrivesSigned) {
    // The real updater against a writer that does not tell its version.
    writer_sim_process writer;
    ASSERT_TRUE(writer.start({"--no-version-answer"}));
    ::setenv("KOVA_WRITER_SIM", writer.socket_path().c_str(), 1);
    const std::string updater = quote_short_path(std::string(KOVA_DIR) + "/", "bin/" KOVA_UPDATER_NAME);
    EXPECT_EQ(RunChildProgram(updater + " version nonwait", last_thread), -6);
    EXPECT_EQ(ChildResult, -6);
}

TEST_F(Worker, AChildEndedByASignalGives98) {
    plan_stand_in("*:signal", log());
    EXPECT_EQ(RunChildProgram(child_command(" x"), last_thread), 98);
}

TEST_F(Worker, AChildExitingWith99DoesNotHangItsCaller) {
    plan_stand_in("*:sleep=100,99", log());
    EXPECT_EQ(RunChildProgram(child_command(" x"), last_thread), 99);
    EXPECT_FALSE(ChildProgramRunning());
    // The next run is not disturbed by the old one.
    plan_stand_in("*:5", log());
    EXPECT_EQ(RunChildProgram(child_command(" y"), last_thread), 5);
    EXPECT_EQ(runs(), (std::vector<std::string>{"x", "y"}));
}

TEST_F(Worker, RunsOneAfterTheOtherEachGiveTheirOwnResult) {
    for (int code = 0; code < 40; ++code) {
        plan_stand_in("99:99;98:signal;*:" + std::to_string(code), log());
        const int run = code % 3 == 0 ? 99 : code % 3 == 1 ? 98 : code;
        const int expected = run == 99 ? 99 : run == 98 ? 98 : code;
        ASSERT_EQ(RunChildProgram(child_command(" " + std::to_string(run)), last_thread), expected) << code;
    }
    EXPECT_EQ(runs().size(), 40u);
}

TEST_F(Worker, ASecondRunWhileOneRunsIsRefusedWith97) {
    plan_stand_in("first:sleep=2000,3;*:4", log());  // still running when the second run comes
    int second = 0;
    bool running_then = false;
    QTimer::singleShot(100, [&] {
        running_then = ChildProgramRunning();
        TMyThread* other = nullptr;
        second = RunChildProgram(child_command(" second"), other);
    });
    EXPECT_EQ(RunChildProgram(child_command(" first"), last_thread), 3);
    EXPECT_TRUE(running_then);
    EXPECT_EQ(second, 97);
    EXPECT_EQ(runs(), std::vector<std::string>{"first"});
}

TEST_F(Worker, TheCadenceTicksOnTheGuiThreadOnlyWhileTheChildRunsAndNeverSoonerThanItsPeriod) {
    using std::chrono::milliseconds;
    using steady = std::chrono::steady_clock;
    plan_stand_in("*:sleep=1000,0", log());
    std::vector<steady::time_point> tick_ends;
    bool on_gui_thread = true;
    const steady::time_point started = steady::now();
    EXPECT_EQ(RunChildProgram(child_command(" x"), last_thread, milliseconds(100), [&] {
                  on_gui_thread = on_gui_thread && QThread::currentThread() == qApp->thread();
                  // The first step comes late, as when the GUI thread stalls on a loaded machine.
                  if (tick_ends.empty()) std::this_thread::sleep_for(milliseconds(150));
                  tick_ends.push_back(steady::now());
              }),
              0);
    EXPECT_TRUE(on_gui_thread);
    // Steps come a whole period after the last one ended, also after the late one.
    ASSERT_GE(tick_ends.size(), 2u);
    EXPECT_GE(tick_ends[0] - started, milliseconds(100 + 150));
    for (size_t i = 1; i < tick_ends.size(); ++i) EXPECT_GE(tick_ends[i] - tick_ends[i - 1], milliseconds(100)) << i;
    // The pace stops with the run.
    const size_t after = tick_ends.size();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 400) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(tick_ends.size(), after);
}

TEST_F(Worker, WaitingForAChildDoesNotSpin) {
    plan_stand_in("*:sleep=2000,0", log());
    const double before = cpu_seconds();
    EXPECT_EQ(RunChildProgram(child_command(" x"), last_thread, std::chrono::milliseconds(200), [] {}), 0);
    // A spinning wait would take the whole two seconds of one core.
    EXPECT_LT(cpu_seconds() - before, 0.2);
}

TEST_F(Worker, TheDebugBoxShowsTheCommandLineOnTheGuiThreadBeforeTheChildStarts) {
    DebugMode = true;
    const std::string folder = folder_ + "a \"quoted\" folder\\/";
    std::filesystem::create_directories(folder);
    link_stand_in(folder + "child");
    const std::string command = quote_short_path(folder, "child") + " one two";
    EXPECT_EQ(command, "\"" + folder_ + "a \\\"quoted\\\" folder\\/child\" " + " one two");
    expect_box("Thread!", QString::fromStdString(command), IDOK);
    bool on_gui_thread = false;
    bool started_then = true;
    record.while_box_shown = [&](const recorded_box&) {
        on_gui_thread = QThread::currentThread() == qApp->thread();
        started_then = std::filesystem::exists(log());
    };
    EXPECT_EQ(RunChildProgram(command, last_thread), 0);
    EXPECT_TRUE(on_gui_thread);
    EXPECT_FALSE(started_then);
    EXPECT_EQ(runs(), std::vector<std::string>{"one two"});
}

// Standard output of this process goes into a file while it lives.
class captured_output {
public:
    explicit captured_output(const std::string& path) {
        std::fflush(stdout);
        saved_ = ::dup(STDOUT_FILENO);
        const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(file, STDOUT_FILENO);
        ::close(file);
    }
    ~captured_output() {
        std::fflush(stdout);
        ::dup2(saved_, STDOUT_FILENO);
        ::close(saved_);
    }

private:
    int saved_ = -1;
};

TEST_F(Worker, WithTheDebugModeTheChildWritesToKovaStudiosOwnOutput) {
    const std::string nowhere = folder_ + "no-writer.sock";
    ::setenv("KOVA_WRITER_SIM", nowhere.c_str(), 1);
    const std::string updater =
        quote_short_path(std::string(KOVA_DIR) + "/", "bin/" KOVA_UPDATER_NAME) + " version nonwait";
    {
        captured_output capture(folder_ + "hidden.txt");
        EXPECT_EQ(RunChildProgram(updater, last_thread), -4);
    }
    EXPECT_EQ(read_text(folder_ + "hidden.txt"), "");

    DebugMode = true;
    expect_box("Thread!", QString::fromStdString(updater), IDOK);
    {
        captured_output capture(folder_ + "shown.txt");
        EXPECT_EQ(RunChildProgram(updater, last_thread), -4);
    }
    const std::string shown = read_text(folder_ + "shown.txt");
    EXPECT_TRUE(contains(shown, "* Update program for ZORVA's USB Writer V1.08")) << shown;
    EXPECT_TRUE(contains(shown, "[  ] KovaWriter   connect Fail.")) << shown;
}

}  // namespace
