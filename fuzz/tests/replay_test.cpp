// The replay driver that runs every fuzz target over its seeds in the builds
// that do not fuzz: it runs each input once, and a run over nothing is a
// failure, so that a corpus that was never made cannot pass.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "child_process.h"
#include "test_files.h"

namespace {

child_result replay(const std::vector<std::string>& args) { return run_child(REPLAY_PROBE, args); }

TEST(FuzzReplay, RunsEveryFileNamedAndEveryFileInEachFolderNamed) {
    const std::string folder = test_folder();
    std::filesystem::create_directories(folder + "/seeds");
    write_text(folder + "/seeds/a", "abc");
    write_text(folder + "/seeds/b", "");
    write_text(folder + "/one", "12345");
    const child_result run = replay({folder + "/seeds", folder + "/one"});
    EXPECT_EQ(run.exit_code, 0) << run.error_output;
    EXPECT_TRUE(contains(run.error_output, "input of 3 bytes\n")) << run.error_output;
    EXPECT_TRUE(contains(run.error_output, "input of 0 bytes\n")) << run.error_output;
    EXPECT_TRUE(contains(run.error_output, "input of 5 bytes\n")) << run.error_output;
    EXPECT_TRUE(contains(run.error_output, "3 inputs replayed")) << run.error_output;
}

TEST(FuzzReplay, AMissingCorpusOrAnEmptyOneFails) {
    const std::string folder = test_folder();
    std::filesystem::create_directories(folder + "/empty");
    for (const std::string& missing : {folder + "/no-such-seeds", folder + "/empty"}) {
        const child_result run = replay({missing});
        EXPECT_NE(run.exit_code, 0) << missing;
        EXPECT_FALSE(contains(run.error_output, "input of")) << missing << ": " << run.error_output;
    }
    // One missing name among good ones fails the run too.
    write_text(folder + "/one", "x");
    EXPECT_NE(replay({folder + "/one", folder + "/no-such-seeds"}).exit_code, 0);
    EXPECT_NE(replay({}).exit_code, 0);
}

}  // namespace
