// Blank, Program, Verify, Slave and Check against the simulated chip.
#include "writer_program_fixture.h"

namespace {

class blank_program_test : public writer_program_test {
protected:
    // A 32 KiB-chip image with an enciphered range and some voice data.
    static test_image voice_image(int level = 1) {
        template_spec spec;
        spec.level = level;
        spec.cipher_start = 0x100;
        spec.cipher_end = 0x400;
        return make_sealed_image(spec, 1000);
    }
};

TEST_F(blank_program_test, blank_passes_on_a_blank_chip_and_fails_on_a_programmed_one) {
    start_writer("KOVA3k10");
    const child_result blank = run("qav3kwriter", {"Blank", "KOVA3K10"});
    EXPECT_EQ(blank.exit_code, 0) << blank.output;
    EXPECT_TRUE(contains(blank.output, "Address Counter = 007FFF -> 007FFF(hex) < Complete OK >.\n"));

    // Without an image there is no system information whose bytes a blank
    // check could leave out: a byte in it counts like any other.
    for (const int32_t address : {0x7000, 0x0006}) {
        std::vector<uint8_t> used(0x8000, 0xFF);
        used[static_cast<size_t>(address)] = 0xFE;
        sim.stop();
        sim.preload_memory(used);
        start_writer("KOVA3k10");
        const child_result programmed = run("qav3kwriter", {"Blank"});
        EXPECT_EQ(programmed.exit_code, -6) << address;
        EXPECT_TRUE(contains(programmed.output, "<  End Error  >.\n"));
        EXPECT_TRUE(contains(programmed.output, "(1 Errors) \n"));
        EXPECT_FALSE(contains(programmed.output, "[XX]"));
    }
}

TEST_F(blank_program_test, program_then_verify_leave_the_deciphered_image_on_the_chip) {
    start_writer("KOVA3k10");
    const test_image image = voice_image();
    const std::string path = save(image);
    const child_result program = run("qav3kwriter", {"Program", path, "KOVA3K10"});
    ASSERT_EQ(program.exit_code, 0) << program.output;
    const int32_t last = static_cast<int32_t>(image.rom.size()) - 1;
    char range[64];
    std::snprintf(range, sizeof range, "     End of operation [000000:%06X] at ", last);
    EXPECT_TRUE(contains(program.output, range));
    EXPECT_TRUE(contains(program.output, " seconds for Write-Check operation.\n"));

    EXPECT_EQ(chip(0, image.rom.size()), image.rom);
    EXPECT_EQ(chip(image.rom.size(), 0x8000 - image.rom.size()),
              std::vector<uint8_t>(0x8000 - image.rom.size(), 0xFF));

    const child_result verify = run("qav3kwriter", {"verify", path});
    EXPECT_EQ(verify.exit_code, 0) << verify.output;
    EXPECT_TRUE(contains(verify.output, "     Pass Ratio = 100.000000. (0 Errors) \n"));
    EXPECT_EQ(run("qav3kwriter", {"Check", path}).exit_code, 0);
}

TEST_F(blank_program_test, a_chip_whose_bits_do_not_program_fails_the_verify_without_an_abort) {
    start_writer("KOVA21", {"--unprogrammable"});
    template_spec spec;
    spec.model = "KOVA21";
    const child_result result = run("qavwriter", {"Program", save(make_sealed_image(spec, 100)), "KOVA21"});
    EXPECT_EQ(result.exit_code, -6);
    EXPECT_FALSE(contains(result.output, "[XX]"));
    EXPECT_TRUE(contains(result.output, "<  End Error  >.\n"));
}

TEST_F(blank_program_test, an_answer_lost_in_mid_stream_aborts_the_operation) {
    start_writer("KOVA3k10", {"--no-answer", "400"});
    const child_result result = run("qav3kwriter", {"Program", save(make_sealed_image(template_spec{}, 0x6000))});
    EXPECT_EQ(result.exit_code, -6);
    EXPECT_TRUE(contains(result.output, "\n[XX] Operation Aborted with error!\n"));
    EXPECT_TRUE(contains(result.output, "     Pass Ratio = 0.000000. (0 Errors) \n"));
}

TEST_F(blank_program_test, slave_marks_address_8_and_verifies_against_the_image) {
    start_writer("KOVA10");
    const test_image image = voice_image();
    const child_result result = run("qavwriter", {"Slave", save(image)});
    EXPECT_EQ(result.exit_code, 0) << result.output;
    std::vector<uint8_t> expected = image.rom;
    expected[8] = 0x5A;
    EXPECT_EQ(chip(0, expected.size()), expected);
    EXPECT_TRUE(contains(result.output, " seconds for Slave-Check operation.\n"));
}

TEST_F(blank_program_test, verify_of_a_read_protected_chip_aborts_on_the_probe) {
    start_writer("KOVA3k10", {"--read-protected"});
    const child_result result = run("qav3kwriter", {"Verify", save(voice_image())});
    EXPECT_EQ(result.exit_code, -6);
    EXPECT_TRUE(contains(result.output, "\n[XX] Operation Aborted with read protect!\n"));
}

}  // namespace
