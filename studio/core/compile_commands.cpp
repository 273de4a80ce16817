#include "compile_commands.h"

#include <cstdio>

#include "command_line.h"
#include "pipeline_files.h"

std::string rom_size_text(int32_t rom_size) {
    char text[16];
    std::snprintf(text, sizeof text, "%06X", static_cast<uint32_t>(rom_size));
    return text;
}

std::string encoder_command_line(const std::string& program_folder) {
    return quote_short_path(program_folder, kEncoderProgram) + quote_short_path(program_folder, kScriptFile) +
           quote_short_path(program_folder, kVoiceDataFile);
}

std::string image_builder_command_line(const std::string& program_folder) {
    return quote_short_path(program_folder, kImageBuilderProgram) + quote_short_path(program_folder, kLinkScriptFile) +
           quote_short_path(program_folder, kBuilderLogFile) + "+w";
}

std::string image_checker_command_line(const std::string& program_folder, const std::string& dat_path,
                                       const std::string& rom_size) {
    return quote_short_path(program_folder, kImageCheckerProgram) + quote_short_path(dat_path, "") + rom_size + " " +
           quote_short_path(program_folder, kChecksumReportFile);
}
