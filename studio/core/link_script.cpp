#include "link_script.h"

#include <cstdio>

#include "command_line.h"
#include "ini_file.h"
#include "option_bytes.h"
#include "output_file.h"
#include "pipeline_files.h"

namespace {

// The image builder takes the text between the quotes as it stands: no escaping.
std::string quoted(const std::string& text) { return "\"" + text + "\""; }

// A folder in its short form followed by a name as given, between quotes.
std::string quoted_path(const std::string& folder, const std::string& name) {
    return quoted(short_path(folder) + name);
}

std::string hex_text(uint32_t value, const char* format) {
    char text[16];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace

std::optional<int32_t> voice_data_offset(const std::string& offset_text) {
    const std::optional<int32_t> offset = parse_ini_integer("0x" + offset_text);
    if (!offset || *offset < 32) return std::nullopt;
    return offset;
}

link_script_plan plan_link_script(const project_snapshot& project, const std::string& offset_text,
                                  const std::string& program_folder, const std::string& dat_path) {
    link_script_plan plan;
    if (project.device_code.empty()) {
        plan.result = kLinkNoDeviceCode;
        return plan;
    }
    if (project.compression_index != 0 && project.compression_index != 1) {
        plan.result = kLinkFormatUnknown;
        return plan;
    }
    if (project.mode_code.empty()) {
        plan.result = kLinkNoModeCode;
        return plan;
    }
    const std::optional<int32_t> offset = voice_data_offset(offset_text);
    if (!offset) {
        plan.result = kLinkNoOffset;
        return plan;
    }
    const std::array<int, kOptionByteCount> option_bytes = build_option_bytes(project.device_code, project.output_type);

    plan.opens_file = true;
    const auto line = [&plan](const std::string& text) { plan.text += text + "\r\n"; };
    // The DAT file's folder in its short form, its name in its long form.
    const size_t name_start = dat_path.rfind('/') + 1;
    line("%DupFile@=" + quoted_path(program_folder, kShadowImageFile));
    line("%OutFile@=" + quoted_path(dat_path.substr(0, name_start), dat_path.substr(name_start)));
    // A size of 0 or less would leave the image unbounded by the chip.
    if (project.device_size <= 0) {
        plan.result = kLinkNoRomSize;
        return plan;
    }
    line("%RomSize@=" + quoted(hex_text(static_cast<uint32_t>(project.device_size), "%06X")));
    line("%AddFile@=" + quoted_path(program_folder, image_template_file(project.device_code, project.compression_index,
                                                                        project.mode_code)));
    line("%AddFile@=" + quoted_path(program_folder, kVoiceDataFile));
    const uint32_t base = static_cast<uint32_t>(*offset) - kOptionByteCount;
    for (int i = 0; i < kOptionByteCount; ++i) {
        line("%SetParm@=" + quoted("[" + hex_text(base + i, "%06x") + "]=" +
                                   hex_text(static_cast<uint32_t>(option_bytes[i]), "%02X")));
    }
    line("%CheckSum@=" + quoted("Generate"));
    return plan;
}

int write_link_script(const project_snapshot& project, const std::string& offset_text,
                      const std::string& program_folder, const std::string& dat_path) {
    const link_script_plan plan = plan_link_script(project, offset_text, program_folder, dat_path);
    if (!plan.opens_file) return plan.result;
    const whole_file_write written = write_whole_file(program_folder + kLinkScriptFile, plan.text);
    if (written.outcome == whole_file_write::not_created) return kLinkNotOpened;
    if (!written) return kLinkWriteFailed;
    return plan.result;
}
