// QavUpdate run as a process against the writer simulator.
#include <gtest/gtest.h>

#include "child_process.h"
#include "writer_sim_fixture.h"

#include <algorithm>
#include <string>

namespace {

const std::string kBanner =
    "\n***************************************************************\n"
    "* Update program for ZORVA's USB Writer V1.08      2009.10.14 *\n"
    "***************************************************************\n\n";
const std::string kKeyWait = "\n[  ] Press any key to end the operation. ";
const std::string kProgress = "\n     Updating[" + std::string(48, ' ') + "]\r     Updating[" + std::string(48, '.') + "]\n";
const std::string kQuestion = "     Are you went to continue ? (yY/others)";

std::string version_report(const std::string& shown) {
    return kBanner + "[  ] Version Checking....\n[  ] On-Board Version is " + shown +
           ",Update Version is V01.08 .\n";
}

size_t count_of(const std::vector<uint8_t>& commands, uint8_t code) {
    return static_cast<size_t>(std::count(commands.begin(), commands.end(), code));
}

// QavUpdate as a child process that reaches the test's simulator.
class Updater : public ::testing::Test {
protected:
    void start(const std::vector<std::string>& arguments) { ASSERT_TRUE(sim.start(arguments)); }
    // Standard input carries `keys`, then ends.
    child_result run(const std::vector<std::string>& words, const std::string& keys = "") {
        child_options options;
        options.input = keys;
        options.environment = {sim.environment_entry()};
        return run_child(KOVA_UPDATER, words, options);
    }
    // On a terminal: each prompt's keys are typed when the output shows that prompt, in turn.
    child_result run_on_terminal(const std::vector<std::string>& words, const typed_keys& keys) {
        child_options options;
        options.environment = {sim.environment_entry()};
        return run_child_on_terminal(KOVA_UPDATER, words, keys, options);
    }
    writer_sim_process sim;
};

TEST_F(Updater, VersionModeWithTheSameVersionEndsWithoutAKey) {
    start({"--version", "1.08"});
    const child_result result = run({"ver", "non"});
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(result.output, version_report("V01.08") + "\n");
}

TEST_F(Updater, VersionModeWithAnOlderWriterWaitsForAKey) {
    start({"--version", "1.07"});
    const child_result result = run({"VERSION"}, "k");
    EXPECT_EQ(result.exit_code, -7);
    EXPECT_EQ(result.output, version_report("V01.07") + kKeyWait + "\n");
}

TEST_F(Updater, VersionModeWithANewerWriter) {
    start({"--version", "2.00"});
    const child_result result = run({"Version", "NONWAIT"});
    EXPECT_EQ(result.exit_code, -8);
    EXPECT_EQ(result.output, version_report("V02.00") + "\n");
}

TEST_F(Updater, MinorVersionIsShownInHexadecimal) {
    start({"--version", "1.10"});
    const child_result result = run({"ver", "non"});
    EXPECT_EQ(result.exit_code, -8);
    EXPECT_TRUE(contains(result.output, "On-Board Version is V01.0a,")) << result.output;
}

TEST_F(Updater, VersionThatCannotBeRead) {
    start({"--no-version-answer"});
    const child_result result = run({"ver", "non"});
    EXPECT_EQ(result.exit_code, -6);
    EXPECT_EQ(result.output, kBanner + "[  ] Version Checking....\n[  ] Cannot detect current version.\n\n");
}

TEST_F(Updater, NoWriter) {
    // The simulator is not started: nothing listens on its socket.
    const child_result result = run({"ver", "non"});
    EXPECT_EQ(result.exit_code, -4);
    EXPECT_EQ(result.output, kBanner + "[  ] KovaWriter   connect Fail.\n\n");
}

TEST_F(Updater, ParameterErrorsWaitForAKeyEvenAfterNon) {
    const std::string usage = std::string("Usage: ") + KOVA_UPDATER + " [Version/Update] [Nonwait] \n";
    child_result result = run({"non", "xyz"}, "k");
    EXPECT_EQ(result.exit_code, -1);
    EXPECT_EQ(result.output, kBanner + "Unknow parameter\n" + usage + kKeyWait + "\n");

    result = run({"ver", "upd"});  // end of input ends the key wait
    EXPECT_EQ(result.exit_code, -1);
    EXPECT_EQ(result.output, kBanner + "Error: Select both Version and update\n" + usage + kKeyWait + "\n");

    result = run({"ve", "non"});
    EXPECT_EQ(result.exit_code, -1);
    EXPECT_TRUE(contains(result.output, "Unknow parameter\n"));

    result = run({"ver", "non", "upd", "x"});
    EXPECT_EQ(result.exit_code, -1);
    EXPECT_EQ(result.output, kBanner + usage + kKeyWait + "\n");
}

TEST_F(Updater, UpdateDownloadsAndTheWriterThenRunsTheNewFirmware) {
    start({"--version", "1.07"});
    child_result result = run({"upd", "non"});
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(result.output, version_report("V01.07") + kProgress + "     Firmware download succ.\n\n");
    const auto commands = sim.received_commands();
    EXPECT_EQ(count_of(commands, 0x83), 6u);
    EXPECT_EQ(count_of(commands, 0x82), 1536u);
    EXPECT_EQ(commands.back(), 0x82);  // no restart after the download

    // A third word is ignored.
    result = run({"ver", "non", "anything"});
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(result.output, version_report("V01.08") + "\n");
}

TEST_F(Updater, DeclinedUpdate) {
    start({"--version", "1.07"});
    const child_result result = run({"non"}, "n");
    EXPECT_EQ(result.exit_code, -5);
    EXPECT_EQ(result.output, version_report("V01.07") + kQuestion + "\n     User Abort!!\n\n");
    EXPECT_EQ(count_of(sim.received_commands(), 0x82), 0u);
}

TEST_F(Updater, ArrowKeyDeclinesTheUpdateOnATerminal) {
    start({"--version", "1.07"});
    const child_result result = run_on_terminal({"non"}, {{kQuestion, "\x1b[A"}});
    EXPECT_EQ(result.exit_code, -5);
    EXPECT_TRUE(contains(result.output, kQuestion + "\r\n     User Abort!!\r\n")) << result.output;
    EXPECT_EQ(count_of(sim.received_commands(), 0x82), 0u);
}

TEST_F(Updater, ConfirmedUpdateOnATerminalThenKeyWait) {
    start({"--version", "1.07"});
    const child_result result = run_on_terminal({}, {{kQuestion, "Y"}, {"Press any key to end the operation. ", "q"}});
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_TRUE(contains(result.output, kQuestion + "\r\n     Updating[")) << result.output;
    EXPECT_TRUE(contains(result.output, "     Firmware download succ.\r\n\r\n[  ] Press any key to end the operation. \r\n"))
        << result.output;
    EXPECT_EQ(count_of(sim.received_commands(), 0x82), 1536u);
}

TEST_F(Updater, WriterThatDoesNotComeBackFromItsBootLoaderIsUpdatedAtOnce) {
    start({"--version", "1.07", "--lost-in-boot"});
    const child_result result = run({"ver", "non"});
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(result.output, kBanner + "[  ] Version Checking....\n" + kProgress + "     Firmware download succ.\n\n");
    EXPECT_EQ(count_of(sim.received_commands(), 0x82), 1536u);
}

TEST_F(Updater, FailingEchoesAreReportedAfterTheWholeImage) {
    start({"--bad-boot-echo"});
    const child_result result = run({"upd", "non"});
    EXPECT_EQ(result.exit_code, -9);
    EXPECT_EQ(result.output, version_report("V01.08") + kProgress + "     Firmware download fail.\n\n");
    EXPECT_EQ(count_of(sim.received_commands(), 0x82), 1536u);

    // The damaged application fails its integrity check, so the writer stays
    // in its boot loader and the next run sees the boot loader's version.
    const child_result after = run({"ver", "non"});
    EXPECT_EQ(after.exit_code, -8);
    EXPECT_NE(after.output.find("On-Board Version is V81.08,"), std::string::npos) << after.output;
}

}  // namespace
