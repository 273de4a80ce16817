// The simulated writer's firmware on its own, without a socket.
#include "sim_oscillator.h"
#include "sim_writer.h"

#include <gtest/gtest.h>

namespace {

using cmd = writer_command;

class sim_writer_test : public ::testing::Test {
protected:
    void SetUp() override { make("KOVA3k10"); }
    void make(const char* chip_name) {
        chip = find_sim_chip_model(chip_name);
        std::string error;
        memory = std::make_unique<sim_chip_memory>();
        ASSERT_TRUE(memory->open(chip != nullptr ? chip->size : 0, "", error));
        writer = std::make_unique<sim_writer>(options, chip, *memory);
        writer->start_connection();
    }
    // Sends a report and then a fetch; the fetch's answer is the report's result.
    sim_payload result_of(cmd command, std::initializer_list<std::pair<int, uint8_t>> bytes = {}) {
        sim_payload request{};
        request[0] = code_of(command);
        for (const auto& [at, value] : bytes) request[at] = value;
        writer->handle_report(request);
        last = writer->handle_report(fetch());
        return last.answer;
    }
    static sim_payload fetch() {
        sim_payload request{};
        request[0] = code_of(cmd::fetch_result);
        return request;
    }

    sim_options options;
    const sim_chip_model* chip = nullptr;
    std::unique_ptr<sim_chip_memory> memory;
    std::unique_ptr<sim_writer> writer;
    sim_step last;
};

TEST_F(sim_writer_test, first_answer_of_a_connection_is_empty) {
    const sim_step step = writer->handle_report(fetch());
    EXPECT_EQ(step.answer, sim_payload{});
}

TEST_F(sim_writer_test, link_test_raises_the_first_digit) {
    const sim_payload result = result_of(cmd::link_test, {{3, '1'}, {4, '0'}, {20, 'x'}});
    EXPECT_EQ(result[3], '2');
    EXPECT_EQ(result[4], '0');
    EXPECT_EQ(result[20], 'x');
}

TEST_F(sim_writer_test, boot_loader_answers_the_link_test_as_the_application_does) {
    options.faults.bad_echo = {2};
    make("KOVA3k10");
    writer->set_mode(sim_mode::boot_loader);
    EXPECT_EQ(result_of(cmd::link_test, {{3, '1'}})[3], '2');
    EXPECT_EQ(result_of(cmd::link_test, {{3, '1'}})[3], '3');  // the second one of the connection is garbled
}

TEST_F(sim_writer_test, chip_test_answers_for_its_own_series) {
    result_of(cmd::select_chip_type, {{5, 0xF6}});
    sim_payload result = result_of(cmd::test_chip, {{5, 0xF6}});
    EXPECT_EQ(result[5], 0x5A);
    EXPECT_EQ(result[6], 0xA5);
    EXPECT_EQ(result[7], 0xF9);
    EXPECT_EQ(result[8], 0xF1);
    result_of(cmd::select_chip_type, {{5, 0x86}});
    result = result_of(cmd::test_chip, {{5, 0x86}});
    EXPECT_EQ(result[5], 0x00);
}

TEST_F(sim_writer_test, reads_and_programs_move_the_address) {
    result_of(cmd::set_address, {{5, 0x10}, {6, 0x02}});
    sim_payload data{};
    data[0] = code_of(cmd::program);
    data[1] = 50;  // more than a block: one block is taken
    for (int i = 0; i < 48; ++i) data[5 + i] = static_cast<uint8_t>(i);
    writer->handle_report(data);
    EXPECT_EQ(writer->address, 0x210u + 48);
    EXPECT_EQ(memory->read(0x210 + 47), 47);
    EXPECT_EQ(memory->read(0x210 + 48), 0xFF);

    result_of(cmd::address_reset_first);
    result_of(cmd::set_address, {{5, 0x11}, {6, 0x02}});
    const sim_payload result = result_of(cmd::read, {{1, 3}});
    EXPECT_EQ(result[1], 3);
    EXPECT_EQ(result[5], 1);
    EXPECT_EQ(result[7], 3);
    EXPECT_EQ(writer->address, 0x214u);
}

TEST_F(sim_writer_test, version_and_restarts_per_mode) {
    options.version_major = 2;
    options.version_minor = 3;
    make("KOVA3k10");
    sim_payload result = result_of(cmd::firmware_version);
    EXPECT_EQ(result[0], 0x80);
    EXPECT_EQ(result[5], 2);
    EXPECT_EQ(result[6], 3);

    sim_payload restart{};
    restart[0] = code_of(cmd::enter_boot_loader);
    sim_step step = writer->handle_report(restart);
    EXPECT_TRUE(step.restart);
    EXPECT_EQ(step.restart_mode, sim_mode::boot_loader);
    writer->set_mode(sim_mode::boot_loader);
    result = result_of(cmd::firmware_version);
    EXPECT_EQ(result[5], 0x82);

    writer->application_intact = [] { return false; };
    restart[0] = code_of(cmd::start_application);
    step = writer->handle_report(restart);
    EXPECT_EQ(step.restart_mode, sim_mode::boot_loader);
    writer->application_intact = [] { return true; };
    step = writer->handle_report(restart);
    EXPECT_EQ(step.restart_mode, sim_mode::application);
}

TEST_F(sim_writer_test, boot_loader_takes_added_commands) {
    writer->set_mode(sim_mode::boot_loader);
    writer->set_command(sim_mode::boot_loader, code_of(cmd::boot_final_write),
                        [](sim_writer&, sim_command& command) { command.result[5] = 0x42; });
    sim_payload request{};
    request[0] = code_of(cmd::boot_final_write);
    writer->handle_report(request);
    EXPECT_EQ(writer->handle_report(request).answer[5], 0x42);
}

TEST_F(sim_writer_test, oscillator_answer_carries_marks_and_counts) {
    const sim_payload result = result_of(cmd::measure_oscillator, {{5, 0x50}});
    EXPECT_EQ(result[5], '3');
    EXPECT_EQ(result[6], 'K');
    EXPECT_EQ(result[7], '-');
    EXPECT_EQ(result[8], 0x50);
    EXPECT_EQ(result[17], 0xAA);
    EXPECT_EQ(result[18], 0x55);
    EXPECT_EQ(result[9] | result[10] << 8, oscillator_period_count(0x50, 0));
}

TEST(sim_oscillator_test, covers_5_to_14_mhz_falling_with_the_code) {
    const auto mhz = [](int code) {
        double sum = 0;
        for (int i = 0; i < 4; ++i) sum += oscillator_period_count(static_cast<uint8_t>(code), i);
        return 3527.0 / (sum / 4);
    };
    EXPECT_GE(mhz(38), 14.0);
    EXPECT_LE(mhz(127), 5.0);
    for (int code = 0; code < 255; ++code) EXPECT_GT(mhz(code), mhz(code + 1)) << code;
    EXPECT_GE(oscillator_period_count(0, 0), 4);
}

TEST(sim_chip_test, models_of_both_tables) {
    for (const char* name : {"KOVA3k10", "kova3K21", "KOVA3k42", "KOVA3k85", "KOVA3k170", "KOVA3k341", "KOVA10",
                             "KOVA21", "KOVA42", "KOVA85", "KOVA170", "kova341"}) {
        EXPECT_NE(find_sim_chip_model(name), nullptr) << name;
    }
    EXPECT_EQ(find_sim_chip_model("KOVA3k100"), nullptr);
    EXPECT_EQ(find_sim_chip_model("KOVA341")->size, 1024u * 1024);
    EXPECT_EQ(find_sim_chip_model("KOVA3k10")->size, 32u * 1024);
}

TEST(sim_chip_test, programming_only_clears_bits) {
    sim_chip_memory memory;
    std::string error;
    ASSERT_TRUE(memory.open(16, "", error));
    EXPECT_EQ(memory.read(3), 0xFF);
    memory.program(3, 0xF0);
    memory.program(3, 0x3F);
    EXPECT_EQ(memory.read(3), 0x30);
    memory.program(16, 0x00);
    EXPECT_EQ(memory.read(16), 0x00);  // beyond the chip: nothing there
}

TEST(sim_options_test, command_line) {
    sim_options options;
    std::string error;
    const char* words[] = {"--socket", "s", "--version", "1.10", "--no-answer", "3", "--no-answer", "9", "--boot"};
    ASSERT_TRUE(parse_sim_options(9, const_cast<char**>(words), options, error)) << error;
    EXPECT_EQ(options.version_minor, 10);
    EXPECT_EQ(options.faults.no_answer.size(), 2u);
    EXPECT_TRUE(options.start_in_boot_loader);

    const char* bad[] = {"--socket", "s", "--version", "1"};
    EXPECT_FALSE(parse_sim_options(4, const_cast<char**>(bad), options, error));
    const char* unknown[] = {"--socket", "s", "--colour"};
    EXPECT_FALSE(parse_sim_options(3, const_cast<char**>(unknown), options, error));
    sim_options no_socket;
    EXPECT_FALSE(parse_sim_options(0, nullptr, no_socket, error));
}

}  // namespace
