#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "child_process.h"
#include "single_instance_lock.h"
#include "test_files.h"

namespace fs = std::filesystem;

extern char** environ;

namespace {

const std::string kLockText = "KOVAPRO Sound Compiler";

// Each case has a runtime folder of its own, so that cases running in
// parallel never meet on one lock file.
class single_instance_lock_test : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = test_folder();
        runtime_ = folder_ + "/run";
        fs::create_directories(runtime_);
        ::setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
    }

    std::string lock_path() const { return runtime_ + "/" + kLockText + ".lock"; }

    // What another process finds when it tries the lock once.
    static std::string other_process_sees(const std::string& text = kLockText) {
        const child_result result = run_child(LOCK_PROBE, {text});
        return result.output;
    }

    std::string folder_;
    std::string runtime_;
};

// A second copy of the program that keeps the lock until told to end.
class lock_holder {
public:
    explicit lock_holder(const std::string& text) {
        int in[2], out[2];
        if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) return;
        posix_spawn_file_actions_t actions;
        ::posix_spawn_file_actions_init(&actions);
        ::posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
        ::posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        std::string program = LOCK_PROBE, lock_text = text, hold = "hold";
        char* argv[] = {program.data(), lock_text.data(), hold.data(), nullptr};
        if (::posix_spawn(&pid_, LOCK_PROBE, &actions, nullptr, argv, environ) != 0) pid_ = -1;
        ::posix_spawn_file_actions_destroy(&actions);
        ::close(in[0]);
        ::close(out[1]);
        input_ = in[1];
        // The first line tells that the holder has tried the lock.
        for (char c; ::read(out[0], &c, 1) == 1 && c != '\n';) first_line_ += c;
        ::close(out[0]);
    }
    ~lock_holder() {
        if (input_ >= 0) ::close(input_);
        if (pid_ > 0) ::waitpid(pid_, nullptr, 0);
    }

    const std::string& first_line() const { return first_line_; }

    // Ends the holder the ordinary way (its input ends) and waits for it.
    int end() {
        ::close(input_);
        input_ = -1;
        return wait();
    }
    // Kills it the hard way: nothing of its own runs at the end.
    int kill() {
        ::kill(pid_, SIGKILL);
        return wait();
    }

private:
    int wait() {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return status;
    }

    pid_t pid_ = -1;
    int input_ = -1;
    std::string first_line_;
};

TEST_F(single_instance_lock_test, second_process_finds_the_program_running) {
    const single_instance_lock lock(kLockText);
    ASSERT_EQ(lock.result(), instance_lock_result::acquired);
    EXPECT_EQ(other_process_sees(), "already running\n");
    EXPECT_EQ(run_child(LOCK_PROBE, {kLockText}).exit_code, 1);
    // Another spelling is another program.
    EXPECT_EQ(other_process_sees("KOVAPRO  Sound Compiler"), "acquired\n");
    EXPECT_EQ(other_process_sees("kovapro sound compiler"), "acquired\n");
    // The lock is the file's, not the process's: a second try in the same process fails too.
    EXPECT_EQ(single_instance_lock(kLockText).result(), instance_lock_result::already_running);
}

TEST_F(single_instance_lock_test, released_with_the_object_and_the_file_stays) {
    {
        const single_instance_lock lock(kLockText);
        ASSERT_EQ(lock.result(), instance_lock_result::acquired);
    }
    EXPECT_TRUE(fs::is_regular_file(lock_path()));
    EXPECT_EQ(other_process_sees(), "acquired\n");
    EXPECT_EQ(single_instance_lock(kLockText).result(), instance_lock_result::acquired);
}

TEST_F(single_instance_lock_test, released_when_the_holder_ends_or_is_killed) {
    lock_holder first(kLockText);
    ASSERT_EQ(first.first_line(), "acquired");
    EXPECT_EQ(single_instance_lock(kLockText).result(), instance_lock_result::already_running);
    first.end();
    EXPECT_EQ(single_instance_lock(kLockText).result(), instance_lock_result::acquired);

    lock_holder second(kLockText);
    ASSERT_EQ(second.first_line(), "acquired");
    EXPECT_EQ(single_instance_lock(kLockText).result(), instance_lock_result::already_running);
    const int status = second.kill();
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    EXPECT_EQ(single_instance_lock(kLockText).result(), instance_lock_result::acquired);
}

TEST_F(single_instance_lock_test, children_do_not_inherit_the_lock) {
    const single_instance_lock lock(kLockText);
    ASSERT_EQ(lock.result(), instance_lock_result::acquired);
    // A plain fork and exec, which passes on every descriptor not marked close-on-exec.
    const std::string report = folder_ + "/report.txt";
    ASSERT_EQ(run_child(CHILD_PROBE, {"report", report}).exit_code, 0);
    const std::string seen = read_text(report);
    EXPECT_NE(seen.find("fd0 "), std::string::npos);
    EXPECT_EQ(seen.find(lock_path()), std::string::npos) << seen;

    // A child that outlives the program must not keep it "running".
    lock_holder outliving(kLockText);
    EXPECT_EQ(outliving.first_line(), "already running");
}

TEST_F(single_instance_lock_test, file_is_the_owners_alone) {
    const mode_t old_mask = ::umask(0);
    {
        const single_instance_lock lock(kLockText);
        EXPECT_EQ(lock.result(), instance_lock_result::acquired);
    }
    ::umask(old_mask);
    EXPECT_EQ(fs::status(lock_path()).permissions(), fs::perms::owner_read | fs::perms::owner_write);

    // A file left readable by others, say by an older copy, is closed to them again.
    fs::permissions(lock_path(), fs::perms::all);
    const single_instance_lock lock(kLockText);
    EXPECT_EQ(lock.result(), instance_lock_result::acquired);
    EXPECT_EQ(fs::status(lock_path()).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(single_instance_lock_test, planted_link_is_not_followed) {
    const std::string victim = folder_ + "/victim.txt";
    fs::create_symlink(victim, lock_path());
    EXPECT_EQ(single_instance_lock(kLockText).result(), instance_lock_result::unavailable);
    EXPECT_FALSE(fs::exists(victim));

    write_text(victim, "keep me");
    EXPECT_EQ(single_instance_lock(kLockText).result(), instance_lock_result::unavailable);
    EXPECT_EQ(read_text(victim), "keep me");
    // Nothing holds the file the link points to.
    const int fd = ::open(victim.c_str(), O_RDONLY);
    EXPECT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
    ::close(fd);
}

TEST_F(single_instance_lock_test, other_things_at_the_path_make_it_unavailable) {
    // A FIFO must not make the start wait for a writer.
    ASSERT_EQ(::mkfifo(lock_path().c_str(), 0600), 0);
    EXPECT_EQ(single_instance_lock(kLockText).result(), instance_lock_result::unavailable);
    fs::remove(lock_path());

    fs::create_directory(lock_path());
    EXPECT_EQ(single_instance_lock(kLockText).result(), instance_lock_result::unavailable);
    fs::remove(lock_path());

    ::setenv("XDG_RUNTIME_DIR", (runtime_ + "/missing").c_str(), 1);
    EXPECT_EQ(single_instance_lock(kLockText).result(), instance_lock_result::unavailable);
}

TEST_F(single_instance_lock_test, file_of_another_user_is_not_trusted) {
    write_text(lock_path(), "");
    if (::chown(lock_path().c_str(), 65534, 65534) != 0) GTEST_SKIP() << "changing the owner needs root";
    ::chmod(lock_path().c_str(), 0666);
    EXPECT_EQ(single_instance_lock(kLockText).result(), instance_lock_result::unavailable);
}

TEST_F(single_instance_lock_test, text_is_the_file_name_blanks_and_all) {
    EXPECT_EQ(single_instance_lock_path(kLockText), lock_path());
    ::setenv("XDG_RUNTIME_DIR", (runtime_ + "/").c_str(), 1);
    EXPECT_EQ(single_instance_lock_path(kLockText), lock_path());
    // No text can reach outside the folder or share a file with another text.
    EXPECT_EQ(single_instance_lock_path("../a/b%"), runtime_ + "/..%2Fa%2Fb%25.lock");
    const single_instance_lock odd("a/b");
    EXPECT_EQ(odd.result(), instance_lock_result::acquired);
    EXPECT_TRUE(fs::is_regular_file(runtime_ + "/a%2Fb.lock"));
    EXPECT_EQ(single_instance_lock("a%2Fb").result(), instance_lock_result::acquired);
}

TEST_F(single_instance_lock_test, without_an_absolute_runtime_folder_tmp_with_the_user_id) {
    const std::string in_tmp = "/tmp/" + kLockText + "." + std::to_string(::geteuid()) + ".lock";
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(single_instance_lock_path(kLockText), in_tmp);
    ::setenv("XDG_RUNTIME_DIR", "", 1);
    EXPECT_EQ(single_instance_lock_path(kLockText), in_tmp);
    ::setenv("XDG_RUNTIME_DIR", "run/user", 1);
    EXPECT_EQ(single_instance_lock_path(kLockText), in_tmp);
}

}  // namespace
