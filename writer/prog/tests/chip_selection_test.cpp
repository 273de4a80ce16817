// Chip selection: forced by name, detected, or refused with -7.
#include "writer_program_fixture.h"

namespace {

using chip_selection_test = writer_program_test;

TEST_F(chip_selection_test, a_detected_chip_cuts_the_range_to_its_size) {
    start_writer("KOVA3k21");
    const child_result result = run("qav3kwriter", {"Blank"});
    EXPECT_EQ(result.exit_code, 0) << result.output;
    EXPECT_TRUE(contains(result.output, "[03] IC Detector [   KOVA3k21   ] Succ.\n"));
    EXPECT_TRUE(contains(result.output, "     End of operation [000000:00FFFF] at "));
    EXPECT_TRUE(contains(result.output, "[  ] It takes about "));
    EXPECT_TRUE(contains(result.output, " seconds for Blank-Check operation.\n"));
    EXPECT_TRUE(contains(result.output, "     Pass Ratio = 100.000000. (0 Errors) \n\n"));
}

TEST_F(chip_selection_test, a_forced_name_selects_the_row_it_starts_with) {
    start_writer("KOVA10");
    const child_result result = run("qavwriter", {"empty", "kova10xyz"});
    EXPECT_EQ(result.exit_code, 0) << result.output;
    EXPECT_TRUE(contains(result.output, "[03] Force with  [kova10xyz]     .\n"));
    EXPECT_TRUE(contains(result.output, "     End of operation [000000:007FFF] at "));
}

TEST_F(chip_selection_test, no_model_exits_minus_7) {
    start_writer("none");
    const child_result empty_socket = run("qav3kwriter", {"Blank"});
    EXPECT_EQ(empty_socket.exit_code, -7);
    EXPECT_TRUE(contains(empty_socket.output, "[??] QAV series auto detect error.\n\n"));

    // A forced name that matches no row never falls back to detection.
    const child_result unknown = run("qav3kwriter", {"Blank", "Kova10"});
    EXPECT_EQ(unknown.exit_code, -7);
    EXPECT_TRUE(contains(unknown.output, "[??] QAV series auto detect error.\n"));
}

TEST_F(chip_selection_test, a_chip_of_the_other_series_is_not_detected) {
    start_writer("KOVA42");
    EXPECT_EQ(run("qav3kwriter", {"Blank"}).exit_code, -7);
    start_writer("KOVA3k42");
    EXPECT_EQ(run("qavwriter", {"Blank"}).exit_code, -7);
}

TEST_F(chip_selection_test, an_image_longer_than_the_chip_is_refused) {
    start_writer("KOVA3k10");
    template_spec spec;
    spec.model = "KOVA3k10";
    const test_image image = make_sealed_image(spec, 0x8000);  // 4 KiB template + 32 KiB voice
    const child_result result = run("qav3kwriter", {"Program", save(image), "KOVA3K10"});
    EXPECT_EQ(result.exit_code, -7);
    EXPECT_TRUE(contains(result.output, "[??] Input file greater then chip Size.\n"));
    EXPECT_EQ(chip(0, 16), std::vector<uint8_t>(16, 0xFF));
}

}  // namespace
