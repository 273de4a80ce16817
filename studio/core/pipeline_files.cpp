#include "pipeline_files.h"

std::string chip_folder_key(const std::string& device_code, const std::string& mode_code) {
    // A code shorter than two characters gives no digit rather than reading past its end.
    const std::string digit = device_code.size() > 1 ? device_code.substr(1, 1) : "";
    return digit + "x" + mode_code;
}

std::string mode_settings_file(const std::string& device_code, const std::string& mode_code) {
    const std::string key = chip_folder_key(device_code, mode_code);
    return "bin/" + key + "/" + key + ".ini";
}

std::string compression_digit(int compression_index) {
    if (compression_index == 0) return "2";
    if (compression_index == 1) return "7";
    return "";
}

std::string image_code(const std::string& device_code, int compression_index, const std::string& mode_code) {
    return device_code + compression_digit(compression_index) + mode_code;
}

std::string image_template_file(const std::string& device_code, int compression_index, const std::string& mode_code) {
    const std::string name = image_code(device_code, compression_index, mode_code);
    return "bin/" + chip_folder_key(device_code, mode_code) + "/" + name + ".pgm";
}
