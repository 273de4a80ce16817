// The boot loader's flash: the application area 0x2000..0x7FFF, erased by
// region and written block by block. Each write's answer echoes the block
// written before it, since every answer carries the result of the report
// before. On leaving the boot loader the application starts only when its
// integrity check passes, and its descriptor then names the version the
// writer reports. Also the faults the updater's tests need.
#include "firmware_layout.h"
#include "sim_writer.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

using cmd = writer_command;

constexpr int kAddressOffset = 2;
// A writer that does not come back from its boot loader stays away this long
// before it shows up, still in its boot loader.
constexpr int kLostRestartMs = 4500;

int32_t request_address(const sim_payload& request) {
    return request[kAddressOffset] | request[kAddressOffset + 1] << 8 | request[kAddressOffset + 2] << 16;
}

class sim_flash {
public:
    sim_flash(int major, int minor) : cells_(make_plain_firmware(major, minor)) {}

    void erase(int32_t start, int32_t size) {
        for (int32_t a = std::max(start, kFirmwareBase); a < std::min(start + size, kFirmwareBase + kFirmwareSize); ++a)
            cells_[static_cast<size_t>(a - kFirmwareBase)] = 0xFF;
    }
    void write(int32_t address, const uint8_t* data, int count) {
        for (int i = 0; i < count; ++i) {
            const int32_t a = address + i;
            if (a >= kFirmwareBase && a < kFirmwareBase + kFirmwareSize) cells_[static_cast<size_t>(a - kFirmwareBase)] = data[i];
        }
    }
    const uint8_t* image() const { return cells_.data(); }

private:
    std::vector<uint8_t> cells_;
};

void write_block(sim_flash& flash, sim_writer& writer, sim_command& command) {
    const int count = std::clamp<int>(command.request[1], 0, kWriterPayloadSize - kWriterDataOffset);
    // A garbled transfer: the block lands damaged, and the echo shows it.
    if (writer.options().faults.bad_boot_echo) command.result[kWriterDataOffset] ^= 0xFF;
    flash.write(request_address(command.request), command.result.data() + kWriterDataOffset, count);
}

}  // namespace

void install_boot_loader_flash(sim_writer& writer) {
    const sim_mode boot = sim_mode::boot_loader;
    const sim_faults& faults = writer.options().faults;
    auto flash = std::make_shared<sim_flash>(writer.version_major, writer.version_minor);

    writer.set_command(boot, code_of(cmd::boot_erase), [flash](sim_writer&, sim_command& c) {
        flash->erase(request_address(c.request), c.request[1] * 1024);
    });
    const auto write = [flash](sim_writer& w, sim_command& c) { write_block(*flash, w, c); };
    writer.set_command(boot, code_of(cmd::boot_write_block), write);
    writer.set_command(boot, code_of(cmd::boot_final_write), write);
    writer.application_intact = [flash, &writer] {
        if (!firmware_intact(flash->image())) return false;
        firmware_version(flash->image(), writer.version_major, writer.version_minor);
        return true;
    };
    if (faults.lost_in_boot_loader) {
        writer.set_command(boot, code_of(cmd::start_application), [](sim_writer&, sim_command& c) {
            restart_into(c, sim_mode::boot_loader);
            c.step.restart_ms = kLostRestartMs;
        });
    }
    if (faults.no_version_answer) {
        writer.set_command(sim_mode::application, code_of(cmd::firmware_version), [](sim_writer&, sim_command& c) {
            c.result.fill(0);
            c.step.send = false;
        });
    }
}
