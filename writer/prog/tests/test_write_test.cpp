// Test turns one bit of the test area at addresses 6 and 7 into 0.
#include "writer_program_fixture.h"

namespace {

class test_write_test : public writer_program_test {
protected:
    void start_with_test_area(uint8_t low, uint8_t high) {
        std::vector<uint8_t> memory(8, 0xFF);
        memory[6] = low;
        memory[7] = high;
        sim.preload_memory(memory);
        start_writer("KOVA3k10");
    }
};

TEST_F(test_write_test, a_blank_test_area_loses_its_lowest_bit) {
    start_with_test_area(0xFF, 0xFF);
    const child_result result = run("qav3kwriter", {"Test"});
    EXPECT_EQ(result.exit_code, 0) << result.output;
    EXPECT_TRUE(contains(result.output, "Test Area [6:7] = FFFFh <Read Out>\n"));
    EXPECT_TRUE(contains(result.output, "Test Area [6:7] = FFFEh <Write In>\n"));
    EXPECT_TRUE(contains(result.output, " seconds for Test-Write operation.\n"));
    EXPECT_EQ(chip(6, 2), (std::vector<uint8_t>{0xFE, 0xFF}));
}

TEST_F(test_write_test, a_test_area_of_zeros_stops_at_phase_1) {
    start_with_test_area(0x00, 0x00);
    const child_result result = run("qav3kwriter", {"Test"});
    EXPECT_EQ(result.exit_code, -6);
    EXPECT_TRUE(contains(result.output, "\n[XX] Operation Aborted with Test Write Phase 1!\n"));
    EXPECT_TRUE(contains(result.output, "(3 Errors) \n"));
}

TEST_F(test_write_test, a_bit_that_does_not_program_stops_at_phase_3) {
    sim.preload_memory(std::vector<uint8_t>(8, 0xFF));
    start_writer("KOVA3k10", {"--unprogrammable"});
    const child_result result = run("qav3kwriter", {"Test"});
    EXPECT_EQ(result.exit_code, -6);
    EXPECT_TRUE(contains(result.output, "\n[XX] Operation Aborted with Test Write Phase 3!\n"));
    EXPECT_TRUE(contains(result.output, "(1 Errors) \n"));
}

}  // namespace
