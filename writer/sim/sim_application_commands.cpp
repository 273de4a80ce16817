// The writer's application firmware: link test, version, chip test and
// selection, the current chip address, reads and programming of up to 48
// bytes, and the oscillator measurement.
#include "sim_oscillator.h"
#include "sim_writer.h"

#include <algorithm>

namespace {

using cmd = writer_command;

void put_u16(sim_payload& bytes, int offset, uint16_t value) {
    bytes[offset] = static_cast<uint8_t>(value);
    bytes[offset + 1] = static_cast<uint8_t>(value >> 8);
}

// The count of a read or program request, bounded to one block.
int block_count(const sim_payload& request) {
    return std::clamp(static_cast<int>(static_cast<int8_t>(request[1])), 0, kWriterBlockSize);
}

void chip_test(sim_writer& writer, sim_command& command) {
    const sim_chip_model* chip = writer.chip();
    if (chip != nullptr && sim_chip_answers_type(*chip, writer.selected_type)) {
        command.result[5] = kChipMarkFirst;
        command.result[6] = kChipMarkSecond;
        command.result[7] = chip->detect_id;
        command.result[8] = chip->select_id;
    } else {
        std::fill(command.result.begin() + 5, command.result.begin() + 9, 0);
    }
}

void read_block(sim_writer& writer, sim_command& command) {
    if (writer.options().faults.read_protected) {
        // The writer hangs on the chip: no answer, and no data for the next.
        command.step.send = false;
        std::fill(command.result.begin() + 1, command.result.end(), 0);
        return;
    }
    const int count = block_count(command.request);
    command.result[1] = static_cast<uint8_t>(count);
    for (int i = 0; i < count; ++i) command.result[kWriterDataOffset + i] = writer.memory().read(writer.address++);
}

void program_block(sim_writer& writer, sim_command& command) {
    const int count = block_count(command.request);
    for (int i = 0; i < count; ++i) {
        if (!writer.options().faults.unprogrammable) {
            writer.memory().program(writer.address, command.request[kWriterDataOffset + i]);
        }
        ++writer.address;
    }
}

void measure_oscillator(sim_writer& writer, sim_command& command) {
    std::fill(command.result.begin() + 5, command.result.begin() + 19, 0);
    if (writer.chip() == nullptr || !writer.chip()->series_3k) return;
    const uint8_t code = command.request[5];
    std::copy(std::begin(kOscillatorMark), std::end(kOscillatorMark), command.result.begin() + 5);
    command.result[8] = code;
    for (int i = 0; i < 4; ++i) put_u16(command.result, kOscillatorCountOffset + 2 * i, oscillator_period_count(code, i));
    put_u16(command.result, 17, kOscillatorEndMark);
}

void firmware_version(sim_writer& writer, sim_command& command) {
    command.result[0] = kVersionAnswerMark;
    command.result[5] = static_cast<uint8_t>(writer.version_major);
    command.result[6] = static_cast<uint8_t>(writer.version_minor);
}

}  // namespace

void answer_link_test(sim_writer& writer, sim_command& command) {
    ++writer.link_tests;
    // The echo raises the first digit of the test's "[nm]" by one.
    const int raise = writer.options().faults.bad_echo.count(writer.link_tests) ? 2 : 1;
    command.result[3] = static_cast<uint8_t>(command.request[3] + raise);
}

void install_application_commands(sim_writer& writer) {
    const sim_mode app = sim_mode::application;
    writer.set_command(app, code_of(cmd::link_test), answer_link_test);
    writer.set_command(app, code_of(cmd::select_chip_type),
                       [](sim_writer& w, sim_command& c) { w.selected_type = c.request[5]; });
    writer.set_command(app, code_of(cmd::test_chip), chip_test);
    const auto reset = [](sim_writer& w, sim_command&) { w.address = 0; };
    writer.set_command(app, code_of(cmd::address_reset_first), reset);
    writer.set_command(app, code_of(cmd::address_reset_second), reset);
    writer.set_command(app, code_of(cmd::set_address), [](sim_writer& w, sim_command& c) {
        w.address = static_cast<uint32_t>(c.request[5] | c.request[6] << 8 | c.request[7] << 16 |
                                          static_cast<uint32_t>(c.request[8]) << 24);
    });
    writer.set_command(app, code_of(cmd::read), read_block);
    writer.set_command(app, code_of(cmd::program), program_block);
    writer.set_command(app, code_of(cmd::measure_oscillator), measure_oscillator);
    writer.set_command(app, code_of(cmd::firmware_version), firmware_version);
    writer.set_command(app, code_of(cmd::enter_boot_loader),
                       [](sim_writer&, sim_command& c) { restart_into(c, sim_mode::boot_loader); });
    writer.set_command(app, code_of(cmd::start_application),
                       [](sim_writer&, sim_command& c) { restart_into(c, sim_mode::application); });
}
