// The 3K oscillator: the trim after programming and the Freq sweep.
#include "writer_program_fixture.h"

#include "sim_oscillator.h"

#include <cstdlib>
#include <sstream>

namespace {

constexpr int kL = 44;

// The frequency the writer reports for a code, computed as the writer tools do.
int32_t simulated_hz(int code) {
    int sum = 0;
    for (int sample = 0; sample < 4; ++sample) sum += oscillator_period_count(static_cast<uint8_t>(code), sample);
    const float average = static_cast<float>(sum / 4.0);
    const float value = static_cast<float>(3527.0 / average * 1000000.0);
    return static_cast<int32_t>(value + 0.5);
}

int nearest_code(int target_tenths) {
    int best = 37;
    for (int code = 37; code <= 127; ++code)
        if (std::llabs(simulated_hz(code) - target_tenths * 100000LL) <
            std::llabs(simulated_hz(best) - target_tenths * 100000LL))
            best = code;
    return best;
}

class trim_test : public writer_program_test {
protected:
    static test_image trim_image(int target_tenths) {
        template_spec spec;
        spec.level = 2;
        spec.frequency_tenths_mhz = target_tenths;
        return make_sealed_image(spec, 200);
    }
};

TEST_F(trim_test, program_stores_the_code_nearest_the_target) {
    start_writer("KOVA3k10");
    const test_image image = trim_image(80);
    const child_result result = run("qav3kwriter", {"Program", save(image)});
    ASSERT_EQ(result.exit_code, 0) << result.output;
    EXPECT_TRUE(contains(result.output, "\n     Execute Frequecy Adjust to 8.000000 MHz.\n"));
    EXPECT_TRUE(contains(result.output, "     Desires res code is "));
    const std::vector<uint8_t> block = chip(kL - 14, 4);
    ASSERT_EQ(block.size(), 4u);
    EXPECT_EQ(block[0], 0xF0);
    EXPECT_EQ(block[3], nearest_code(80));

    // The chip now holds the trim code; Verify leaves it out and passes, and
    // a second Program finds the same code already stored and passes too.
    EXPECT_EQ(run("qav3kwriter", {"Verify", save(image)}).exit_code, 0);
    const child_result again = run("qav3kwriter", {"Program", save(image)});
    EXPECT_EQ(again.exit_code, 0) << again.output;
    EXPECT_EQ(chip(kL - 11, 1), std::vector<uint8_t>{block[3]});
}

TEST_F(trim_test, a_chip_holding_another_trim_code_fails_with_error_3) {
    const test_image image = trim_image(100);
    std::vector<uint8_t> held = image.rom;
    held[kL - 11] = static_cast<uint8_t>(nearest_code(100) + 5);
    sim.preload_memory(held);
    start_writer("KOVA3k10");
    const child_result result = run("qav3kwriter", {"Program", save(image)});
    EXPECT_EQ(result.exit_code, -6);
    EXPECT_TRUE(contains(result.output, "\n[XX] Frequency adjust error 3!\n"));
    EXPECT_TRUE(contains(result.output, "     Pass Ratio = 0.000000. (0 Errors) \n"));
}

TEST_F(trim_test, an_unsupported_target_fails_with_error_2) {
    start_writer("KOVA3k10");
    const child_result result = run("qav3kwriter", {"Program", save(trim_image(141))});
    EXPECT_EQ(result.exit_code, -6);
    EXPECT_TRUE(contains(result.output, "     Un-supported frequency\n[XX] Frequency adjust error 2!\n"));
}

TEST_F(trim_test, qavwriter_never_trims) {
    start_writer("KOVA10");
    const child_result result = run("qavwriter", {"Program", save(trim_image(80))});
    EXPECT_EQ(result.exit_code, 0) << result.output;
    EXPECT_FALSE(contains(result.output, "Frequecy"));
    EXPECT_EQ(chip(kL - 11, 1), std::vector<uint8_t>{0xFF});
}

TEST_F(trim_test, freq_sweeps_80_codes) {
    start_writer("KOVA3k10");
    const child_result result = run("qav3kwriter", {"Freq"});
    EXPECT_EQ(result.exit_code, 0) << result.output;
    std::istringstream lines(result.output);
    int sweep_lines = 0;
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("     code[", 0) == 0) ++sweep_lines;
    EXPECT_EQ(sweep_lines, 80);
    char first[96];
    const int32_t hz = simulated_hz(0x30);
    std::snprintf(first, sizeof first, "     code[30= 25.0R]: Freq=%2d.%06d MHz 0.000000%% step-up\n", hz / 1000000,
                  hz % 1000000);
    EXPECT_TRUE(contains(result.output, first));
    EXPECT_TRUE(contains(result.output, "     code[7f= 64.5R]: Freq="));
    EXPECT_TRUE(contains(result.output, " seconds for  operation.\n"));
}

}  // namespace
