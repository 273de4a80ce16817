// The simulated writer's firmware: one answer per report, carrying the result
// of the report before it. Commands are looked up per mode (application or
// boot loader) in tables, so that further commands (the boot loader's flash
// commands) can be added from a file of their own with set_command.
#pragma once

#include "sim_chip.h"
#include "sim_options.h"
#include "writer_command.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>

enum class sim_mode { application, boot_loader };

using sim_payload = std::array<uint8_t, kWriterPayloadSize>;

// What one report leads to.
struct sim_step {
    sim_payload answer{};        // the result of the report before
    bool send = true;            // false: this report gets no answer
    bool restart = false;        // after the answer the writer restarts ...
    sim_mode restart_mode = sim_mode::application;  // ... into this mode
    int restart_ms = 0;          // ... and is absent this long (0: the usual restart time)
};

// One command being carried out: the request and its result, which starts as
// a copy of the request and goes out with the answer to the next report.
struct sim_command {
    const sim_payload& request;
    sim_payload& result;
    sim_step& step;
};

class sim_writer {
public:
    using handler = std::function<void(sim_writer&, sim_command&)>;

    sim_writer(const sim_options& options, const sim_chip_model* chip, sim_chip_memory& memory);

    // A new connection: nothing carried over but the chip, the mode and the version.
    void start_connection();
    sim_step handle_report(const sim_payload& request);

    sim_mode mode() const { return mode_; }
    void set_mode(sim_mode mode) { mode_ = mode; }
    void set_command(sim_mode mode, uint8_t code, handler command);

    const sim_options& options() const { return options_; }
    const sim_chip_model* chip() const { return chip_; }
    sim_chip_memory& memory() { return memory_; }

    // Firmware state the commands share.
    int version_major;
    int version_minor;
    uint8_t selected_type = 0;   // chip type of the last select command
    uint32_t address = 0;        // the current chip address
    int link_tests = 0;          // link-test reports of this connection
    // The boot loader starts the application only when this says it is intact.
    std::function<bool()> application_intact = [] { return true; };

private:
    const sim_options& options_;
    const sim_chip_model* chip_;
    sim_chip_memory& memory_;
    sim_mode mode_;
    std::map<uint8_t, handler> commands_[2];
    sim_payload previous_result_{};
};

void install_application_commands(sim_writer& writer);
void install_boot_loader_commands(sim_writer& writer);
// The boot loader's flash commands and the updater's faults (sim_boot_loader_flash.cpp).
void install_boot_loader_flash(sim_writer& writer);
// The link test of both modes.
void answer_link_test(sim_writer& writer, sim_command& command);
// The restart commands of both modes.
void restart_into(sim_command& command, sim_mode mode);
