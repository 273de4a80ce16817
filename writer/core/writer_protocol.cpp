#include "writer_protocol.h"

#include "console_key.h"
#include "writer_command.h"

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstring>
#include <thread>

namespace {

constexpr int kAnswerMs = 1000;
constexpr int kChipTestAnswerMs = 3000;
constexpr int kMeasureAnswerMs = 5000;
constexpr int kMeasureResultMs = 10000;
constexpr int kShortPauseMs = 10;
constexpr int kLongPauseMs = 100;
constexpr int kLinkTestEchoes = 5;
constexpr uint8_t kLinkTestCount = 62;

constexpr char kLinkTestText[] = "  [10] Synchronization Test [01234356789abcdef0123456789ABCDEF].";
static_assert(sizeof kLinkTestText == kWriterPayloadSize + 1);

// One request payload, bytes not named by a command left at zero.
struct request {
    uint8_t bytes[kWriterPayloadSize] = {};
    explicit request(writer_command command) { bytes[0] = code_of(command); }
    request& command(writer_command command) {
        bytes[0] = code_of(command);
        return *this;
    }
    void put_u32(int offset, uint32_t value) {
        for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
    }
};

// One answer, cleared before each receive so that a missing answer holds zeros.
struct answer {
    uint8_t bytes[kWriterReportSize] = {};
    int length = 0;
};

// Sends the request and waits for one answer, then pauses.
answer exchange(writer_link& link, const request& sent, int wait_ms, int pause = 0) {
    answer got;
    link.send_report(sent.bytes);
    got.length = link.receive_report(got.bytes, wait_ms);
    if (pause > 0) pause_ms(pause);
    return got;
}

// An answer too short to hold the bytes a command looks at carries no result.
bool holds(const answer& got, int last_byte) { return got.length > last_byte; }

bool has_chip_mark(const answer& got) {
    return holds(got, 8) && got.bytes[5] == kChipMarkFirst && got.bytes[6] == kChipMarkSecond;
}

// Selects the chip type and has it tested; the answer carrying the test result.
answer test_chip(writer_link& link, uint8_t chip_id, bool forced) {
    request sent(writer_command::select_chip_type);
    sent.bytes[5] = chip_id;
    exchange(link, sent, kAnswerMs, kLongPauseMs);
    sent.command(writer_command::test_chip).bytes[6] = forced ? 1 : 0;
    exchange(link, sent, kChipTestAnswerMs, kLongPauseMs);
    return exchange(link, sent.command(writer_command::fetch_result), kChipTestAnswerMs, kLongPauseMs);
}

uint16_t u16_at(const uint8_t* bytes, int offset) {
    return static_cast<uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

void wait_for_key() { read_console_key(false); }

}  // namespace

void pause_ms(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

bool sync_test(writer_link& link, bool pause, bool print) {
    request sent(writer_command::link_test);
    std::memcpy(sent.bytes, kLinkTestText, kWriterPayloadSize);
    sent.bytes[0] = code_of(writer_command::link_test);
    sent.bytes[1] = kLinkTestCount;
    exchange(link, sent, kAnswerMs);

    bool result = true;
    for (int i = 0; i < kLinkTestEchoes; ++i) {
        sent.bytes[3] = static_cast<uint8_t>('2' + i);
        sent.bytes[4] = static_cast<uint8_t>('1' + i);
        if (!link.send_report(sent.bytes)) {
            std::printf("Fail to write the usb report\n");
        } else if (print) {
            std::printf("Write <%.62s>\n", reinterpret_cast<const char*>(sent.bytes + 2));
        }
        if (pause) wait_for_key();
        answer got;
        got.length = link.receive_report(got.bytes, kAnswerMs);
        if (pause) wait_for_key();
        if (holds(got, 4)) {
            const auto signed_at = [](const uint8_t* bytes, int offset) { return static_cast<int8_t>(bytes[offset]); };
            if (signed_at(got.bytes, 3) != signed_at(sent.bytes, 3) ||
                signed_at(got.bytes, 4) + 1 != signed_at(sent.bytes, 4)) {
                result = false;
            }
            if (print) std::printf("Read  <%s>\n\n", reinterpret_cast<const char*>(got.bytes + 2));
        } else {
            result = false;
            if (print) std::printf("read fail.\n\n");
        }
    }
    exchange(link, request(writer_command::stream_end), kAnswerMs);
    return result;
}

int get_firmware_version(writer_link& link, int& major, int& minor) {
    request sent(writer_command::firmware_version);
    std::memcpy(sent.bytes + 5, "abcd", 4);
    exchange(link, sent, kAnswerMs);
    const answer got = exchange(link, sent, kAnswerMs);
    if (holds(got, 6) && got.bytes[0] == kVersionAnswerMark) {
        major = got.bytes[5];
        minor = got.bytes[6];
    } else {
        major = kNoFirmwareVersion;
        minor = kNoFirmwareVersion;
    }
    return major;
}

bool probe_chip(writer_link& link, uint8_t chip_id, uint8_t detected[2]) {
    const answer got = test_chip(link, chip_id, false);
    if (!has_chip_mark(got)) return false;
    detected[0] = got.bytes[7];
    detected[1] = got.bytes[8];
    return true;
}

bool select_chip(writer_link& link, uint8_t chip_id, int32_t start, bool forced) {
    const answer got = test_chip(link, chip_id, forced);
    if (!has_chip_mark(got) && !forced) {
        std::printf("IC Test Fail\n");
        return false;
    }
    move_address(link, start);
    return true;
}

void reset_address(writer_link& link) {
    exchange(link, request(writer_command::address_reset_first), kAnswerMs, kShortPauseMs);
    exchange(link, request(writer_command::address_reset_second), kAnswerMs, kShortPauseMs);
}

void set_address(writer_link& link, int32_t address) {
    if (address == 0) return;
    request sent(writer_command::set_address);
    sent.put_u32(5, static_cast<uint32_t>(address));
    exchange(link, sent, address / 500 + kAnswerMs, kShortPauseMs);
}

void move_address(writer_link& link, int32_t address) {
    reset_address(link);
    set_address(link, address);
}

uint8_t write_byte(writer_link& link, uint8_t value) {
    request sent(writer_command::program);
    sent.bytes[1] = 1;
    sent.bytes[5] = value;
    exchange(link, sent, kAnswerMs, kShortPauseMs);
    exchange(link, sent.command(writer_command::stream_end), kAnswerMs, kShortPauseMs);
    exchange(link, sent.command(writer_command::finish_program), kAnswerMs, kShortPauseMs);
    return exchange(link, sent.command(writer_command::stream_end), kAnswerMs, kShortPauseMs).bytes[5];
}

uint8_t read_byte(writer_link& link) {
    request sent(writer_command::read);
    sent.bytes[1] = 1;
    sent.bytes[5] = 0xFF;
    exchange(link, sent, kAnswerMs, kShortPauseMs);
    return exchange(link, sent.command(writer_command::stream_end), kAnswerMs, kShortPauseMs).bytes[5];
}

int32_t measure_frequency(writer_link& link, uint8_t code) {
    request sent(writer_command::measure_oscillator);
    sent.bytes[5] = code;
    exchange(link, sent, kMeasureAnswerMs, kShortPauseMs);
    const answer got = exchange(link, sent.command(writer_command::fetch_result), kMeasureResultMs, kLongPauseMs);
    return oscillator_frequency(got.bytes, got.length, code);
}

int32_t oscillator_frequency(const uint8_t* answer, int length, uint8_t code) {
    if (length < 19 || std::memcmp(answer + 5, kOscillatorMark, sizeof kOscillatorMark) != 0 || answer[8] != code ||
        u16_at(answer, 17) != kOscillatorEndMark) {
        return 0;
    }
    if (u16_at(answer, kOscillatorCountOffset) < 4) return 0;
    uint32_t sum = 0;
    for (int i = 0; i < 4; ++i) sum += u16_at(answer, kOscillatorCountOffset + 2 * i);
    const float average = static_cast<float>(sum / 4.0);
    const float value = static_cast<float>(3527.0 / average * 1000000.0);
    // Counts that add up to 4..6 (a first count of 4 and garbage after it)
    // would give more hertz than an int32_t holds: no valid measurement.
    if (value + 0.5f >= static_cast<float>(INT32_MAX)) return 0;
    return static_cast<int32_t>(value + 0.5);
}

int start_application(writer_link& link, int answer_wait_ms) {
    return exchange(link, request(writer_command::start_application), answer_wait_ms).length;
}

int enter_boot_loader(writer_link& link, int answer_wait_ms) {
    return exchange(link, request(writer_command::enter_boot_loader), answer_wait_ms).length;
}

int simulate_chip(writer_link& link, uint8_t chip_id) {
    request sent(writer_command::simulate_first);
    sent.bytes[5] = chip_id;
    exchange(link, sent, kAnswerMs, kLongPauseMs);
    exchange(link, sent.command(writer_command::simulate_second), kChipTestAnswerMs, kLongPauseMs);
    exchange(link, sent.command(writer_command::fetch_result), kAnswerMs, kShortPauseMs);
    return 1;
}

void end_simulation(writer_link& link) {
    exchange(link, request(writer_command::simulate_first), kAnswerMs, kLongPauseMs);
}

void end_session(writer_link& link) {
    exchange(link, request(writer_command::address_reset_first), kAnswerMs, kShortPauseMs);
    exchange(link, request(writer_command::select_chip_type), kAnswerMs, kLongPauseMs);
}
