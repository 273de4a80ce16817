#include "chip_files.h"

#include <cstdio>
#include <set>
#include <system_error>

#include "application_note.h"
#include "device_vocabulary.h"
#include "ini_file.h"
#include "ini_text.h"
#include "mode_settings.h"
#include "offered_devices.h"
#include "pipeline_files.h"
#include "generated_file.h"
#include "regular_file.h"

namespace fs = std::filesystem;

namespace {

bool is_mode_key(const std::string& name) {
    return name.size() == 3 && name[0] >= '0' && name[0] <= '9' && name[1] == 'x' &&
           !trigger_mode_name(name.substr(2)).empty();
}

// Different chip-program bytes for every template, the same in every build.
uint32_t name_seed(const std::string& name) {
    uint32_t hash = 2166136261u;
    for (char c : name) hash = (hash ^ static_cast<uint8_t>(c)) * 16777619u;
    return hash;
}

struct chip_pair {
    offered_device device;
    const chip_device* chip;
    const chip_mode* mode;
};

// Every device and mode that setup.ini offers, each found in the table.
bool offered_pairs(const fs::path& setup_ini, std::vector<chip_pair>& pairs, std::string& error) {
    const owned_file probe(open_regular_file(setup_ini.string()));
    if (!probe) {
        error = "cannot read " + setup_ini.string();
        return false;
    }
    for (const offered_device& device : offered_devices(ini_file(setup_ini.string()))) {
        const chip_device* chip = find_chip_device(device.code);
        if (!chip) {
            error = "setup.ini offers device " + device.code + ", which the chip table does not describe";
            return false;
        }
        for (char code : device.modes) {
            const chip_mode* mode = find_chip_mode(device.code[1], code);
            if (!mode) {
                error = "setup.ini offers " + device.code + " in mode " + code + ", which the chip table lacks (" +
                        mode_key(device.code[1], code) + ")";
                return false;
            }
            pairs.push_back({device, chip, mode});
        }
    }
    return true;
}

bool write_template(const fs::path& path, const template_spec& spec, std::string& error) {
    error = template_verifier_problem(spec);
    const std::vector<uint8_t> bytes = error.empty() ? template_file(spec, error) : std::vector<uint8_t>{};
    if (!error.empty()) {
        error = path.filename().string() + ": " + error;
        return false;
    }
    return write_output_file(path, bytes, error);
}

}  // namespace

std::string template_name(const std::string& code, int compression_index, char mode) {
    return image_template_name(code, compression_index, std::string(1, mode));
}

std::string mode_settings_text(const chip_mode& mode) {
    char offset[16];
    std::snprintf(offset, sizeof offset, "%X", static_cast<unsigned>(mode.offset));
    std::string out = "; Trigger mode " + mode_key(mode.digit, mode.mode) +
                      ": where the voice data starts, the voice groups and the I/O settings\n";
    out += ini_section("Global");
    out += ini_line("Offset", offset);
    out += ini_line("Fixed", std::to_string(mode.fixed));
    out += ini_line("MaxSec", std::to_string(mode.max_sec));
    const io_row* rows[] = {mode.line0, mode.line1};
    for (int r = 0; r < 2; ++r) {
        out += "\n" + ini_section("Line" + std::to_string(r));
        for (int c = 0; c < kIoSettingColumns; ++c)
            out += ini_line(io_cell_key(c), (*rows[r])[static_cast<size_t>(c)]);
    }
    return out;
}

template_spec chip_template_spec(const chip_device& device, const chip_mode& mode, int compression_index) {
    template_spec spec;
    spec.model = dat_model(device);
    spec.level = device.level;
    spec.frequency_tenths_mhz = device.frequency_tenths_mhz;
    spec.offset = mode.offset;
    spec.cipher_start = device.cipher_start;
    spec.cipher_end = device.cipher_end;
    spec.seed = name_seed(template_name(device.code, compression_index, mode.mode));
    return spec;
}

bool make_chip_files(const fs::path& setup_ini, const fs::path& bin, std::string& error) {
    std::vector<chip_pair> pairs;
    if (!offered_pairs(setup_ini, pairs, error)) return false;

    std::error_code failed;
    fs::create_directories(bin, failed);
    std::vector<fs::path> stale;
    for (fs::directory_iterator it(bin, failed), end; !failed && it != end; it.increment(failed))
        if (it->is_directory() && is_mode_key(it->path().filename().string())) stale.push_back(it->path());
    for (const fs::path& folder : stale)
        if (!failed) fs::remove_all(folder, failed);
    if (failed) {
        error = "cannot clear the chip folders in " + bin.string() + ": " + failed.message();
        return false;
    }

    std::set<std::string> settings_written;
    for (const chip_pair& pair : pairs) {
        const std::string key = mode_key(pair.mode->digit, pair.mode->mode);
        const fs::path folder = bin / key;
        if (!fs::create_directories(folder, failed) && failed) {
            error = "cannot create " + folder.string() + ": " + failed.message();
            return false;
        }
        // Y1 and Z1 share a digit and so the settings of each mode.
        if (settings_written.insert(key).second &&
            !write_output_file(folder / (key + ".ini"), mode_settings_text(*pair.mode), error))
            return false;
        for (int format = 0; format < static_cast<int>(compression_formats().size()); ++format) {
            if (!write_template(folder / template_name(pair.device.code, format, pair.mode->mode),
                                chip_template_spec(*pair.chip, *pair.mode, format), error))
                return false;
        }
        if (!write_output_file(folder / application_note_name(pair.device.code, std::string(1, pair.mode->mode)),
                               application_note(pair.device, *pair.chip, *pair.mode), error))
            return false;
    }
    return true;
}
