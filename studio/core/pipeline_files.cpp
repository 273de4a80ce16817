#include "pipeline_files.h"

#include "mode_settings.h"

std::string mode_settings_file(const std::string& device_code, const std::string& mode_code) {
    return mode_settings_path("", mode_key(device_code, mode_code));
}

std::string image_code(const std::string& device_code, int compression_index, const std::string& mode_code) {
    return device_code + format_digit(compression_index) + mode_code;
}

std::string image_template_file(const std::string& device_code, int compression_index, const std::string& mode_code) {
    const std::string name = image_code(device_code, compression_index, mode_code);
    return "bin/" + mode_key(device_code, mode_code) + "/" + name + ".pgm";
}
