// The writer's boot loader: it reports the version with bit 7 of the major
// set, answers the link test and restarts on the restart commands. Its flash
// commands (erase, write, final write) are added with sim_writer::set_command
// for the boot-loader mode; a firmware integrity check goes into
// sim_writer::application_intact.
#include "sim_writer.h"

namespace {

using cmd = writer_command;

void boot_version(sim_writer& writer, sim_command& command) {
    command.result[0] = kVersionAnswerMark;
    command.result[5] = static_cast<uint8_t>(writer.version_major | kBootLoaderVersionBit);
    command.result[6] = static_cast<uint8_t>(writer.version_minor);
}

void start_application(sim_writer& writer, sim_command& command) {
    const bool stays = writer.options().faults.stay_in_boot_loader || !writer.application_intact();
    restart_into(command, stays ? sim_mode::boot_loader : sim_mode::application);
}

}  // namespace

void install_boot_loader_commands(sim_writer& writer) {
    const sim_mode boot = sim_mode::boot_loader;
    writer.set_command(boot, code_of(cmd::firmware_version), boot_version);
    writer.set_command(boot, code_of(cmd::start_application), start_application);
    // The link test as the application answers it, so that a writer left in
    // its boot loader can still be updated.
    writer.set_command(boot, code_of(cmd::link_test), answer_link_test);
    writer.set_command(boot, code_of(cmd::enter_boot_loader),
                       [](sim_writer&, sim_command& c) { restart_into(c, sim_mode::boot_loader); });
}
