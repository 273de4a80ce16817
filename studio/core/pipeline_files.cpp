#include "pipeline_files.h"

#include "mode_settings.h"

namespace {

// "bin/1x2/": the per-chip folder of a device in a trigger mode.
std::string chip_folder(const std::string& device_code, const std::string& mode_code) {
    return "bin/" + mode_key(device_code, mode_code) + "/";
}

}  // namespace

std::string mode_settings_file(const std::string& device_code, const std::string& mode_code) {
    return mode_settings_path("", mode_key(device_code, mode_code));
}

std::string image_code(const std::string& device_code, int compression_index, const std::string& mode_code) {
    return device_code + format_digit(compression_index) + mode_code;
}

std::string image_template_name(const std::string& device_code, int compression_index, const std::string& mode_code) {
    return image_code(device_code, compression_index, mode_code) + ".pgm";
}

std::string image_template_file(const std::string& device_code, int compression_index, const std::string& mode_code) {
    return chip_folder(device_code, mode_code) + image_template_name(device_code, compression_index, mode_code);
}

std::string application_note_name(const std::string& device_code, const std::string& mode_code) {
    return device_code + "x" + mode_code + ".pdf";
}

std::string application_note_file(const std::string& device_code, const std::string& mode_code) {
    return chip_folder(device_code, mode_code) + application_note_name(device_code, mode_code);
}
