#include "project_dat.h"

#include "child_process.h"
#include "command_line.h"
#include "compile_commands.h"
#include "device_vocabulary.h"
#include "encoder_script_files.h"
#include "image_header.h"
#include "image_reader.h"
#include "ini_file.h"
#include "link_script.h"
#include "mode_settings.h"
#include "pipeline_files.h"
#include "wav_writer.h"

#include <cmath>
#include <cstdio>
#include <filesystem>

namespace {

std::string run(const std::string& command_line) {
    std::vector<std::string> words = split_command_line(command_line);
    const std::string program = words.front();
    words.erase(words.begin());
    const child_result result = run_child(program, words);
    if (result.exit_code == 0) return "";
    return program + " exited " + std::to_string(result.exit_code) + ": " + result.output + result.error_output;
}

std::string write_sound(const std::string& path, int32_t samples, double hertz) {
    std::vector<float> frames(static_cast<size_t>(samples));
    for (size_t i = 0; i < frames.size(); ++i) frames[i] = 0.6f * static_cast<float>(std::sin(hertz * i / 8000.0 * 6.2832));
    std::string error;
    write_wav_file(path, wav_format{}, frames, error);
    return error;
}

}  // namespace

std::string make_project_dat(const std::string& program_folder, const project_dat_shape& shape,
                             const std::string& dat_path) {
    const std::string sounds = program_folder + "../sounds/";
    std::filesystem::create_directories(sounds);
    const std::string size = std::to_string(shape.sound_samples);
    for (const auto& [name, hertz] : {std::pair{"tone.wav", 440.0}, std::pair{"beep.wav", 1000.0}}) {
        if (std::string error = write_sound(sounds + name, shape.sound_samples, hertz); !error.empty()) return error;
    }

    project_snapshot project;
    const std::string format = compression_formats()[static_cast<size_t>(shape.compression_index)];
    project.items = {
        {"tone.wav", "8000", size, format, sounds + "tone.wav", "I0001"},
        {"Mute: 250 mS", "--", "0", "Mute", "*Mute250", "I0002"},
        {"beep.wav", "8000", size, "8-bit PCM", sounds + "beep.wav", "I0003"},
    };
    const ini_file settings(mode_settings_path(program_folder, mode_key(shape.device_code, shape.mode_code)));
    const int32_t groups = group_count(read_mode_settings(settings).max_sec);
    project.groups.assign(static_cast<size_t>(groups), voice_group{"Edge", "Holdable", "Retrigger", ""});
    project.groups[0].item_list = "I00011I00020";
    if (groups > 1) project.groups[1].item_list = "I00030";
    project.device_text = shape.device_text;
    project.device_code = shape.device_code;
    project.device_size = shape.device_size;
    project.output_type = "COUT[DAC]";
    project.mode_code = shape.mode_code;
    project.compression_index = shape.compression_index;
    project.compression_text = format;
    const std::string offset = settings.read_string("Global", "Offset", "");

    if (const int result = write_script_files(project, offset, program_folder + kScriptFile,
                                              program_folder + kTableFile);
        result != 0) {
        return "script files: " + std::to_string(result);
    }
    if (std::string error = run(encoder_command_line(program_folder)); !error.empty()) return error;
    if (const int result = write_link_script(project, offset, program_folder, dat_path); result != 0) {
        return "link script: " + std::to_string(result);
    }
    std::remove((program_folder + kBuilderLogFile).c_str());
    return run(image_builder_command_line(program_folder));
}

int system_info_length(const std::vector<uint8_t>& rom) {
    return rom.size() < 2 ? 0 : ((rom[0] | rom[1] << 8) & 0x3FFF) * 2;
}

checker_verdict check_image(const std::string& dat_path, const std::string& rom_size) {
    const child_result run = run_child(std::string(KOVA_DIR) + "/bin/qavchk", {dat_path, rom_size});
    checker_verdict verdict;
    verdict.exit_code = run.exit_code;
    const std::string mark = "Check Sum: [";
    const size_t at = run.output.rfind(mark);
    if (at != std::string::npos && run.output.compare(at + mark.size() + 4, 13, "] Verify OK.\n") == 0) {
        verdict.checksum = run.output.substr(at + mark.size(), 4);
    }
    return verdict;
}
