// The real KovaStudio program on an X server without a window manager, as a
// user starts it: the start checks against the writer simulator, a second
// copy, Cancel, the debug box, and the program at the root of an installed
// tree.
#include "x_session.h"

#include "child_process.h"
#include "temp_program_folder.h"
#include "test_files.h"
#include "writer_sim_fixture.h"

#include <gtest/gtest.h>

#include <signal.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

const std::string kMainWindow = "^KOVA Sound Compiler - ";
const std::string kStartForm = "^KOVAPRO$";
// Guards against waits that never end: a start, its checks or an exit take seconds, many more on a busy machine.
constexpr auto kCheckTime = std::chrono::seconds(120);

class Window : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists("/usr/bin/xdotool")) << "xdotool is missing: run tools/install-deps.sh";
        ASSERT_TRUE(x.ok()) << "Xvfb did not start";
        runtime_ = folder.path() + "../runtime";
        fs::create_directories(runtime_);
        fs::permissions(runtime_, fs::perms::owner_all);
        // The program file itself in the folder: it finds its folder through its own path.
        place_program(std::string(KOVA_DIR) + "/KovaStudio", folder.file("KovaStudio"));
        ASSERT_TRUE(writer.start({"--version", "1.08"}));
    }

    static void place_program(const std::string& from, const std::string& to) {
        std::error_code error;
        fs::create_hard_link(from, to, error);
        if (error) fs::copy_file(from, to);
    }

    std::vector<std::string> environment() const {
        return {"DISPLAY=" + x.display(), "QT_QPA_PLATFORM=xcb", "XDG_RUNTIME_DIR=" + runtime_,
                writer.environment_entry(), "LSAN_OPTIONS=suppressions=" SYSTEM_LEAKS};
    }
    std::unique_ptr<program_process> start(const std::string& program, const std::string& output) const {
        return std::make_unique<program_process>(program, environment(), folder.path() + "../" + output);
    }
    std::unique_ptr<program_process> start_studio(const std::string& output = "studio.out") const {
        return start(folder.file("KovaStudio"), output);
    }

    x_session x;
    temp_program_folder folder;
    writer_sim_process writer;
    std::string runtime_;
};

TEST_F(Window, TheSampleInstallationPassesItsChecksAndTheMainWindowAppears) {
    const auto studio = start_studio();
    EXPECT_NE(x.wait_for_window(kMainWindow, kCheckTime), "") << read_text(folder.path() + "../studio.out");
    EXPECT_TRUE(x.visible_windows(kStartForm).empty());
    EXPECT_TRUE(studio->running());
    // The updater reached the writer: the firmware check ran.
    EXPECT_FALSE(writer.trace_lines().empty());
}

TEST_F(Window, ASecondCopyShowsItsBoxAndEndsWith0AndAStartAfterAKillSucceeds) {
    const auto first = start_studio("first.out");
    ASSERT_NE(x.wait_for_window(kMainWindow, kCheckTime), "");
    const auto second = start_studio("second.out");
    const std::string box = x.wait_for_window("^Program Starts Failure!$", kCheckTime);
    ASSERT_NE(box, "");
    EXPECT_TRUE(second->running());
    // No form of the second copy.
    EXPECT_TRUE(x.visible_windows(kStartForm, second->pid()).empty());
    EXPECT_TRUE(x.visible_windows(kMainWindow, second->pid()).empty());
    EXPECT_TRUE(x.press_key(box, "Return"));
    EXPECT_EQ(second->wait_for_exit(kCheckTime), 0);
    EXPECT_TRUE(first->running());

    first->kill(SIGKILL);
    EXPECT_EQ(first->wait_for_exit(kCheckTime), 98);
    const auto third = start_studio("third.out");
    const auto deadline = std::chrono::steady_clock::now() + kCheckTime;
    while (x.visible_windows(kMainWindow, third->pid()).empty() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_FALSE(x.visible_windows(kMainWindow, third->pid()).empty());
}

TEST_F(Window, CancelAfterAFailedCheckEndsTheProgramWith0AndTheNextStartRunsTheChecksAgain) {
    fs::remove(folder.file("bin/SysChk.lst"));
    const auto first = start_studio("first.out");
    const std::string form = x.wait_for_window(kStartForm, kCheckTime);
    ASSERT_NE(form, "");
    int width = 0, height = 0;
    ASSERT_TRUE(x.window_size(form, width, height));
    EXPECT_EQ(width, 400);
    // Cancel: 200 pixels wide in the middle, its 25 pixels 10 above the bottom.
    EXPECT_TRUE(x.click(form, width / 2, height - 10 - 12));
    EXPECT_EQ(first->wait_for_exit(kCheckTime), 0) << read_text(folder.path() + "../first.out");
    EXPECT_TRUE(x.visible_windows(kMainWindow).empty());

    const auto second = start_studio("second.out");
    EXPECT_NE(x.wait_for_window(kStartForm, kCheckTime), "");
    EXPECT_TRUE(second->running());
}

TEST_F(Window, WithTheDebugModeTheThreadBoxComesFirstAndTheUpdatersOutputReachesKovaStudiosOwn) {
    std::string setup = read_text(folder.file("setup.ini"));
    const size_t debug = setup.find("DbgMode=0");
    ASSERT_NE(debug, std::string::npos);
    setup.replace(debug, 9, "DbgMode=1");
    write_text(folder.file("setup.ini"), setup);
    const auto studio = start_studio();
    const std::string box = x.wait_for_window("^Thread!$", kCheckTime);
    ASSERT_NE(box, "");
    EXPECT_TRUE(writer.trace_lines().empty());  // the updater waits for the box
    EXPECT_TRUE(x.press_key(box, "Return"));
    EXPECT_NE(x.wait_for_window(kMainWindow, kCheckTime), "");
    const std::string output = read_text(folder.path() + "../studio.out");
    EXPECT_TRUE(contains(output, "[  ] On-Board Version is V01.08,Update Version is V01.08 .")) << output;
}

TEST_F(Window, KovaStudioAtTheRootOfAnInstalledTreePassesItsOwnCheck) {
    const std::string prefix = folder.path() + "../installed";
    const child_result installed = run_child(CMAKE_COMMAND, {"--install", KOVA_BUILD_DIR, "--prefix", prefix});
    ASSERT_EQ(installed.exit_code, 0) << installed.output << installed.error_output;
    ASSERT_TRUE(fs::is_regular_file(prefix + "/KovaStudio"));
    const auto studio = start(prefix + "/KovaStudio", "installed.out");
    EXPECT_NE(x.wait_for_window(kMainWindow, kCheckTime), "") << read_text(folder.path() + "../installed.out");
    EXPECT_TRUE(studio->running());
}

}  // namespace
