// The pipelined transfers against the simulated writer: every byte of a
// range moves, whatever its length and the pipe depth.
#include "block_transfer.h"
#include "sim_link_test.h"
#include "writer_protocol.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

constexpr uint8_t kChipType = 0xF6;

class block_transfer_test : public sim_link_test {
protected:
    // A writer with a 1 MiB chip, opened with at most `depth` requests in
    // flight, the chip selected; the mark stands after the selection.
    void open_chip(int depth, std::vector<std::string> options = {}) {
        options.insert(options.begin(), {"--chip", "KOVA3k341"});
        open(options, false, depth);
        if (HasFatalFailure()) return;
        ASSERT_EQ(link->get_pipe_depth(), depth);
        link->drain_input();
        ASSERT_TRUE(select_chip(*link, kChipType, 0, true));
        mark();
    }
    // Byte 0 and count of each report since the mark.
    std::vector<std::pair<uint8_t, uint8_t>> requests_since_mark() const {
        std::vector<std::pair<uint8_t, uint8_t>> requests;
        for (const auto& report : sent_since_mark()) requests.emplace_back(report[0], report[1]);
        return requests;
    }
    // Transfers over chip addresses 0 .. size - 1; the writer's address must stand at 0.
    bool program_from_0(const std::vector<uint8_t>& data) {
        int32_t start = 0;
        int32_t end = static_cast<int32_t>(data.size()) - 1;
        return program_buffer(*link, data.data(), start, end);
    }
    bool read_from_0(std::vector<uint8_t>& back) {
        int32_t start = 0;
        int32_t end = static_cast<int32_t>(back.size()) - 1;
        return read_buffer(*link, back.data(), start, end);
    }
};

std::vector<uint8_t> pattern(size_t size) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i * 13 + (i >> 8));
    return bytes;
}

TEST_F(block_transfer_test, a_range_of_1_byte_sends_one_request_and_the_stream_end) {
    std::vector<uint8_t> memory(16, 0xFF);
    memory[5] = 0x3C;
    sim.preload_memory(memory);
    open_chip(4);
    set_address(*link, 5);
    mark();
    uint8_t byte = 0;
    int32_t start = 5;
    int32_t end = 5;
    ASSERT_TRUE(read_buffer(*link, &byte, start, end));
    EXPECT_EQ(byte, 0x3C);
    const auto requests = requests_since_mark();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0], std::make_pair(uint8_t{0x15}, uint8_t{1}));
    EXPECT_EQ(requests[1], std::make_pair(uint8_t{0x00}, uint8_t{1}));
}

TEST_F(block_transfer_test, a_range_of_100_bytes_at_depth_4_goes_out_in_the_first_fill) {
    open_chip(4);
    const std::vector<uint8_t> data = pattern(100);
    ASSERT_TRUE(program_from_0(data));
    const auto requests = requests_since_mark();
    ASSERT_GE(requests.size(), 5u);
    EXPECT_EQ(requests[0], std::make_pair(uint8_t{0x16}, uint8_t{48}));
    EXPECT_EQ(requests[1], std::make_pair(uint8_t{0x16}, uint8_t{48}));
    EXPECT_EQ(requests[2], std::make_pair(uint8_t{0x16}, uint8_t{4}));
    EXPECT_EQ(requests[3].first, 0x00);
    EXPECT_EQ(requests[4].first, 0x17);  // programming ends with the finish command
    const std::vector<uint8_t> memory = sim.memory();
    EXPECT_EQ(std::vector<uint8_t>(memory.begin(), memory.begin() + 100), data);

    reset_address(*link);
    std::vector<uint8_t> back(100);
    ASSERT_TRUE(read_from_0(back));
    EXPECT_EQ(back, data);
}

TEST_F(block_transfer_test, a_whole_1_mib_chip_moves_every_byte) {
    open_chip(64);
    const std::vector<uint8_t> data = pattern(0x100000);
    ASSERT_TRUE(program_from_0(data));
    EXPECT_EQ(sim.memory(), data);
    reset_address(*link);
    std::vector<uint8_t> back(data.size());
    ASSERT_TRUE(read_from_0(back));
    EXPECT_EQ(back, data);
}

TEST_F(block_transfer_test, depth_1_waits_for_each_answer_and_compares_every_block) {
    std::vector<uint8_t> memory(300, 0xFF);
    memory[150] = 0xEE;
    sim.preload_memory(memory);
    open_chip(1);
    int32_t start = 0;
    int32_t end = 299;
    compare_result result;
    ASSERT_TRUE(compare_range(*link, nullptr, start, end, result, 0, 0));
    EXPECT_EQ(result.errors, 1);
    EXPECT_FLOAT_EQ(result.pass_ratio, 299 * 100.0f / 300);
}

TEST_F(block_transfer_test, a_lost_answer_ends_the_transfer_with_false) {
    open_chip(8, {"--no-answer", "200"});
    std::vector<uint8_t> back(0x4000);
    EXPECT_FALSE(read_from_0(back));
}

TEST_F(block_transfer_test, an_answer_with_another_count_is_refused) {
    open_chip(4, {"--garbage-from", "120"});
    std::vector<uint8_t> back(0x2000);
    EXPECT_FALSE(read_from_0(back));
}

TEST_F(block_transfer_test, no_link_no_transfer) {
    writer_link closed;
    uint8_t byte = 0;
    int32_t start = 0;
    int32_t end = 0;
    EXPECT_FALSE(read_buffer(closed, &byte, start, end));
    EXPECT_FALSE(program_buffer(closed, &byte, start, end));
    EXPECT_FALSE(program_from_image(closed, nullptr, nullptr, 0x16, start, end, false));
}

}  // namespace
