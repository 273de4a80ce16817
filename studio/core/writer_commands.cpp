#include "writer_commands.h"

#include "command_line.h"
#include "studio_texts.h"

#include <array>

namespace {

constexpr std::array<writer_operation, 3> kOperations{{
    {"Blank Check", "Blank Checking...", "Blank ", false},
    {"Program", "Programming...", "Program ", true},
    {"Verify", "Verifying...", "Verify ", true},
}};

constexpr int kPassed = 0;
constexpr int kFailed = -6;
constexpr int kNoWriter = -4;
constexpr int kNoChip = -7;

// Tip colours as 0xBBGGRR values.
constexpr uint32_t kTipBlue = 0xFF0000;
constexpr uint32_t kTipRed = 0x0000FF;

constexpr auto kFirstCadence = std::chrono::milliseconds(250);
constexpr auto kCadencePerPosition = std::chrono::milliseconds(250);

}  // namespace

const writer_operation& writer_operation_of(writer_function function) {
    return kOperations[static_cast<size_t>(function)];
}

std::string writer_program_file(const std::string& device_code) {
    return !device_code.empty() && device_code[0] == 'Y' ? "bin/qav3kwriter" : "bin/qavwriter";
}

std::string writer_command_line(const std::string& program_folder, const std::string& device_code,
                                const std::string& model, writer_function function, const std::string& dat_path) {
    const writer_operation& operation = writer_operation_of(function);
    std::string line = quote_short_path(program_folder, writer_program_file(device_code)) + operation.function_word;
    if (operation.needs_dat) line += quote_short_path(dat_path, "");
    return line + model;
}

std::chrono::milliseconds writer_progress_cadence(int device_index) {
    return kFirstCadence + kCadencePerPosition * (device_index > 0 ? device_index : 0);
}

writer_result_view writer_result(int exit_code, const std::string& operation_name) {
    writer_result_view view;
    view.sound = "SYSTEMHAND";
    switch (exit_code) {
    case kPassed:
        view.status = operation_name + " Finish!";
        view.tip = operation_name + " Passed!";
        view.tip_color = kTipBlue;
        view.progress_full = true;
        view.sound = "SYSTEMDEFAULT";
        break;
    case kFailed:
        view.status = operation_name + " Finish!";
        view.tip = operation_name + " Failed!";
        view.tip_color = kTipRed;
        view.progress_full = true;
        break;
    case kNoWriter:
        view.status = "USB writer not found!";
        break;
    case kNoChip:
        view.status = "IC detection failed!";
        break;
    default:
        view.status = "Unknown Failed!";
        break;
    }
    return view;
}

std::string load_finished_status(const ini_file& language, const std::string& device_text,
                                 const std::string& checksum) {
    return "Load file finished!\n\n" + message_text(language, "Msg023") + device_text + "\n\n" +
           message_text(language, "Msg024") + checksum;
}

std::string unmatched_device_status(const ini_file& language, const std::string& dat_device,
                                    const std::string& selected_device) {
    return message_text(language, "Msg012") + "\n\n" + message_text(language, "Msg013") + dat_device + "\n" +
           message_text(language, "Msg014") + selected_device + "\n\n" + message_text(language, "Msg015");
}
