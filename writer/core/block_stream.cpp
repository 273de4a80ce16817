#include "block_stream.h"

#include "address_counter.h"
#include "writer_command.h"

#include <algorithm>
#include <deque>

namespace {

constexpr int kFinishAnswerMs = 500;
constexpr int32_t kProgressMask = 0x3FF;

// Reads one raw answer; the payload starts after the report id.
bool read_answer(writer_link& link, uint8_t raw[kWriterReportSize]) {
    std::fill(raw, raw + kWriterReportSize, 0);
    return link.receive_raw_report(raw, kWriterReportSize);
}

void finish_programming(writer_link& link) {
    uint8_t payload[kWriterPayloadSize] = {};
    uint8_t answer[kWriterReportSize];
    payload[0] = code_of(writer_command::finish_program);
    link.send_report(payload);
    link.receive_report(answer, kFinishAnswerMs);
    payload[0] = code_of(writer_command::stream_end);
    link.send_report(payload);
    link.receive_report(answer, kFinishAnswerMs);
}

}  // namespace

int answer_count(const uint8_t* payload) {
    return std::clamp<int>(static_cast<int8_t>(payload[1]), 0, kWriterBlockSize);
}

bool run_block_stream(writer_link& link, uint8_t command, int32_t start, int32_t end,
                      block_stream_member& member) {
    if (!link.read_handle_open() || !link.write_handle_open()) return false;
    const int32_t total = end - start + 1;
    const int depth = std::max(1, link.get_pipe_depth());
    int32_t requested = 0;
    bool source_done = false;
    std::deque<int> outstanding;  // the data counts of the requests not yet answered
    uint8_t request[kWriterPayloadSize] = {};
    uint8_t raw[kWriterReportSize];

    auto send_next = [&]() {
        const int chunk = static_cast<int>(std::min<int32_t>(kWriterBlockSize, total - requested));
        if (source_done || chunk <= 0) return false;
        const int count = member.fill(request + kWriterDataOffset, chunk);
        if (count <= 0) {
            source_done = true;
            return false;
        }
        requested += count;
        request[0] = command;
        request[1] = static_cast<uint8_t>(count);
        link.send_report(request);  // a lost request shows as a missing answer
        outstanding.push_back(count);
        return true;
    };
    auto use_next = [&]() {
        if (!read_answer(link, raw)) return false;
        const int count = outstanding.front();
        outstanding.pop_front();
        return member.use(raw + 1, count);
    };

    while (static_cast<int>(outstanding.size()) < depth && send_next()) {
    }
    if (!read_answer(link, raw)) return false;
    while (send_next()) {
        if (!use_next()) return false;
        if ((requested & kProgressMask) < kWriterBlockSize)
            show_address_counter(start + requested, end, counter_state::in_progress);
    }
    request[0] = code_of(writer_command::stream_end);
    request[1] = 1;
    link.send_report(request);
    while (!outstanding.empty())
        if (!use_next()) return false;
    if (command == code_of(writer_command::program)) finish_programming(link);
    return true;
}
