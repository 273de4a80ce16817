// The two-byte write test against the simulated chip.
#include "blank_pair_write_test.h"

#include "sim_link_test.h"

#include <vector>

namespace {

class blank_pair_test : public sim_link_test {
protected:
    void TearDown() override {
        if (file != nullptr) std::fclose(file);
    }
    // A file of the chip's bytes whose 0xFF bytes lie at the given offsets.
    void make_file(size_t size, const std::vector<size_t>& blanks) {
        file = std::tmpfile();
        ASSERT_NE(file, nullptr);
        std::vector<uint8_t> bytes(size, 0x00);
        for (size_t at : blanks) bytes[at] = 0xFF;
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::rewind(file);
    }
    bool run(int32_t first, int32_t last) {
        testing::internal::CaptureStdout();
        const bool ok = blank_pair_write_test(*link, file, first, last, log, ratio);
        printed = testing::internal::GetCapturedStdout();
        return ok;
    }

    FILE* file = nullptr;
    FILE* log = nullptr;
    float ratio = -1;
    std::string printed;
};

TEST_F(blank_pair_test, writes_the_first_and_the_last_blank_byte_and_reads_them_back) {
    open({"--chip", "KOVA3k10"});
    make_file(0x3000, {0x0005, 0x0100, 0x1800, 0x2FFF});
    log = std::tmpfile();
    EXPECT_TRUE(run(0x0010, 0x2000));
    EXPECT_FLOAT_EQ(ratio, 100.0f);
    const std::string lines = "     Write to 000100 with 55h,and read back value is 55h\n"
                              "     Write to 001800 with AAh,and read back value is AAh\n";
    EXPECT_EQ(printed, "\n     Find two loaction for write test <000100>,<001800>\n" + lines);
    std::rewind(log);
    std::string logged(lines.size() + 10, '\0');
    logged.resize(std::fread(logged.data(), 1, logged.size(), log));
    EXPECT_EQ(logged, lines);
    std::fclose(log);

    const std::vector<uint8_t> memory = sim.memory();
    ASSERT_GE(memory.size(), 0x2000u);
    EXPECT_EQ(memory[0x100], 0x55);
    EXPECT_EQ(memory[0x1800], 0xAA);
    EXPECT_EQ(memory[0x101], 0xFF);  // nothing else written
    EXPECT_EQ(memory[0x1801], 0xFF);
    const auto commands = commands_since_mark();
    EXPECT_EQ(std::count(commands.begin(), commands.end(), code_of(writer_command::finish_program)), 2);
}

TEST_F(blank_pair_test, address_0_is_written_where_it_lies) {
    open({"--chip", "KOVA3k10"});
    make_file(0x100, {0x00, 0x80});
    EXPECT_TRUE(run(0, 0xFF));
    EXPECT_EQ(sim.memory()[0], 0x55);
    EXPECT_EQ(sim.memory()[1], 0xFF);
    EXPECT_EQ(sim.memory()[0x80], 0xAA);
}

TEST_F(blank_pair_test, a_chip_that_will_not_program_reads_back_blank) {
    std::vector<uint8_t> chip(0x100, 0xFF);
    chip[0x40] = 0x50;  // 0x55 cannot set the bits that are already 0
    sim.preload_memory(chip);
    open({"--chip", "KOVA3k10"});
    make_file(0x100, {0x40, 0x60});
    EXPECT_FALSE(run(0, 0xFF));
    EXPECT_FLOAT_EQ(ratio, 50.0f);
    EXPECT_NE(printed.find("     Write to 000040 with 55h,and read back value is 50h\n"), std::string::npos);
    EXPECT_NE(printed.find("     Write to 000060 with AAh,and read back value is AAh\n"), std::string::npos);
}

TEST_F(blank_pair_test, fewer_than_two_blank_bytes_write_nothing) {
    open({"--chip", "KOVA3k10"});
    make_file(0x100, {0x10, 0xF0});
    const std::string refusal = "\n     Cannot find two blank address for program test.";
    EXPECT_FALSE(run(0x11, 0xEF));  // none in the range
    EXPECT_EQ(printed, refusal);
    EXPECT_FALSE(run(0x00, 0x20));  // one
    EXPECT_EQ(printed, refusal);
    EXPECT_FALSE(run(0xE0, 0x1FF));  // one, with the range running past the file's end
    EXPECT_EQ(printed, refusal);
    EXPECT_FLOAT_EQ(ratio, 0.0f);
    EXPECT_TRUE(sent_since_mark().empty());
}

}  // namespace
