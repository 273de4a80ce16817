// Command-line and image checks: every one ends the run before the writer is used.
#include "writer_program_fixture.h"

#include <sys/stat.h>
#include <unistd.h>

namespace {

class arguments_test : public writer_program_test {
protected:
    test_image short_image() { return make_sealed_image(template_spec{}, 0); }
};

TEST_F(arguments_test, no_argument_shows_the_usage_box_of_each_build) {
    const child_result k3 = run("qav3kwriter", {});
    EXPECT_EQ(k3.exit_code, -1);
    EXPECT_TRUE(contains(k3.output, "* USB Writer for ZORVA QAV 3K Series (V01.8)               2010/03/10 *\n"));
    EXPECT_TRUE(contains(k3.output, "  *  Usage: Kova3kWriter.exe Func [input-file(for program & verify)]*\n"));
    EXPECT_TRUE(contains(k3.output, "Program/Slave/Verify/Check/Freq*\n"));
    EXPECT_TRUE(contains(k3.output, "  *                 -7 = IC Detector Error                          *\n"));

    const child_result other = run("qavwriter", {});
    EXPECT_EQ(other.exit_code, -1);
    EXPECT_TRUE(contains(other.output, "* USB Writer for ZORVA QAV Series (V01.8)                  2010/03/10 *\n"));
    EXPECT_TRUE(contains(other.output, "  *  Usage: KovaWriter.exe Func [input-file(for program & verify)]  *\n"));
    EXPECT_TRUE(contains(other.output, "  *         Func:   Empty/Blank/Test/Program/Slave/Verify/Check     *\n"));
}

TEST_F(arguments_test, argument_counts_and_function_words_are_refused_with_minus_1) {
    const child_result too_many = run("qav3kwriter", {"Blank", "a", "b", "c"});
    EXPECT_EQ(too_many.exit_code, -1);
    EXPECT_TRUE(contains(too_many.output, "Argument number error\n\n"));
    EXPECT_EQ(run("qav3kwriter", {"Blank", "a", "b"}).exit_code, -1);
    const child_result unknown = run("qav3kwriter", {"Erase"});
    EXPECT_EQ(unknown.exit_code, -1);
    EXPECT_TRUE(contains(unknown.output, "Unknow function\n\n"));
    const child_result freq = run("qavwriter", {"Freq"});
    EXPECT_EQ(freq.exit_code, -1);
    EXPECT_TRUE(contains(freq.output, "Unknow function\n\n"));
    // An image function without its image never goes on.
    const child_result no_path = run("qav3kwriter", {"program"});
    EXPECT_EQ(no_path.exit_code, -1);
    EXPECT_TRUE(contains(no_path.output, "Argument number error\n\n"));
}

TEST_F(arguments_test, images_that_cannot_be_used_exit_minus_3_before_the_writer) {
    EXPECT_EQ(run("qav3kwriter", {"Program", sim.folder() + "/missing.dat"}).exit_code, -3);

    test_image wrong_magic = short_image();
    wrong_magic.file[3] = 'a';
    const child_result magic = run("qav3kwriter", {"VERIFY", save(wrong_magic)});
    EXPECT_EQ(magic.exit_code, -3);
    EXPECT_TRUE(contains(magic.output, "Error QAV file !!\n\n\n"));

    test_image odd_range = short_image();
    odd_range.file[12] = 0x04;  // the enciphered range ends 4 bytes into a block
    EXPECT_EQ(run("qav3kwriter", {"Check", save(odd_range)}).exit_code, -3);

    test_image low_offset = short_image();
    low_offset.file[6] = 0x10;
    low_offset.file[7] = 0x00;
    EXPECT_EQ(run("qavwriter", {"Check", save(low_offset)}).exit_code, -3);

    // Too short for its own system information.
    test_image truncated = short_image();
    truncated.file.resize(template_spec{}.header_offset + 10);
    const child_result cut = run("qav3kwriter", {"Program", save(truncated)});
    EXPECT_EQ(cut.exit_code, -3);
    EXPECT_TRUE(contains(cut.output, "Error QAV file !!\n\n"));
    EXPECT_FALSE(contains(cut.output, "[01]"));

    // Slave would mark a byte inside the long system information for good.
    template_spec level2;
    level2.level = 2;
    const child_result slave = run("qav3kwriter", {"Slave", save(make_sealed_image(level2, 0))});
    EXPECT_EQ(slave.exit_code, -3);
    EXPECT_FALSE(contains(slave.output, "[01]"));
}

TEST_F(arguments_test, a_pipe_is_no_image_and_is_refused_without_waiting) {
    const std::string pipe = sim.folder() + "/voice.dat";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);  // no writer: opening it to read would wait
    child_options options;
    options.kill_after = std::chrono::seconds(20);
    const child_result result = run_child(std::string(KOVA_DIR) + "/bin/qavwriter", {"Verify", pipe}, options);
    EXPECT_FALSE(result.killed_as_hung);
    EXPECT_EQ(result.exit_code, -3);
    EXPECT_FALSE(contains(result.output, "[01]"));
}

TEST_F(arguments_test, an_image_its_user_may_not_write_is_programmed_verified_and_left_as_it_was) {
    start_writer("KOVA3k10");
    // The writer program runs as a user who may read the image and reach the writer, but not write the image
    // (root may write any file).
    ::chmod(sim.folder().c_str(), 0755);
    ::chmod(sim.socket_path().c_str(), 0777);
    const test_image image = make_sealed_image(template_spec{}, 0x300);
    const std::string path = save(image);
    ::chmod(path.c_str(), 0444);
    child_options options;
    options.environment = {sim.environment_entry()};
    options.other_user = true;
    for (const char* function : {"Program", "Verify"}) {
        const child_result result =
            run_child(std::string(KOVA_DIR) + "/bin/qav3kwriter", {function, path, "KOVA3K10"}, options);
        EXPECT_EQ(result.exit_code, 0) << function << "\n" << result.output;
    }
    EXPECT_EQ(chip(0, image.rom.size()), image.rom);
    EXPECT_EQ(read_file(path), image.file);
}

}  // namespace
