#include "sim_writer.h"

sim_writer::sim_writer(const sim_options& options, const sim_chip_model* chip, sim_chip_memory& memory)
    : version_major(options.version_major),
      version_minor(options.version_minor),
      options_(options),
      chip_(chip),
      memory_(memory),
      mode_(options.start_in_boot_loader ? sim_mode::boot_loader : sim_mode::application) {
    install_application_commands(*this);
    install_boot_loader_commands(*this);
    install_boot_loader_flash(*this);
}

void sim_writer::start_connection() {
    previous_result_.fill(0);
    link_tests = 0;
}

void sim_writer::set_command(sim_mode mode, uint8_t code, handler command) {
    commands_[static_cast<int>(mode)][code] = std::move(command);
}

sim_step sim_writer::handle_report(const sim_payload& request) {
    sim_step step;
    sim_payload result = request;  // unknown commands are echoed
    sim_command command{request, result, step};
    const auto& table = commands_[static_cast<int>(mode_)];
    if (const auto found = table.find(request[0]); found != table.end()) found->second(*this, command);
    step.answer = previous_result_;
    previous_result_ = result;
    return step;
}

void restart_into(sim_command& command, sim_mode mode) {
    command.step.restart = true;
    command.step.restart_mode = mode;
}
