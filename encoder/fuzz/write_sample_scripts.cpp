// write_sample_scripts: writes encoder scripts of a few sample voice projects,
// as KovaStudio's compiler writes them, into a folder: seeds of the script
// reader's fuzz target.
//
//   write_sample_scripts OUT_FOLDER
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "encoder_script_files.h"

namespace {

sound_item sound(const std::string& id, const std::string& type, const std::string& rate, const std::string& path) {
    return {path.substr(path.rfind('/') + 1), rate, "100", type, path, id};
}

sound_item mute(const std::string& id, const std::string& typed) {
    return {"Mute: " + typed + " mS", "--", "0", "Mute", "*Mute" + typed, id};
}

voice_group group(bool edge, bool hold, bool retrigger, const std::string& items) {
    return {edge ? "Edge" : "Level", hold ? "Holdable" : "UnHoldable", retrigger ? "Retrigger" : "Non-Retrigger",
            items};
}

project_snapshot lists(const std::string& device, int compression, const std::string& output, const std::string& mode,
                       const std::string& mode_code) {
    project_snapshot p;
    p.device_text = "KOVA " + device;
    p.device_code = device;
    p.output_type = output;
    p.trigger_mode = mode;
    p.mode_code = mode_code;
    p.compression_index = compression;
    p.compression_text = compression == 0 ? "4-bit ADPCM" : "5-bit u-Law";
    return p;
}

struct sample {
    std::string name;
    project_snapshot project;
    std::string offset;
};

std::vector<sample> samples() {
    std::vector<sample> all;

    project_snapshot ulaw = lists("Y1", 1, "VOUT[PWM] - Level 2", "Key Sequential", "2");
    ulaw.items = {sound("I0001", "5-bit u-Law", "16000", "/home/user/sounds/hello.wav"), mute("I0002", "250"),
                  sound("I0003", "8-bit PCM", "8000", "/home/user/sounds/beep.wav"), {}, {}};
    ulaw.groups = {group(true, true, true, "I00011I00020"), group(false, false, false, ""),
                   group(true, false, true, "I00030"), group(false, true, false, "")};
    all.push_back({"ulaw", ulaw, "600"});

    project_snapshot adpcm = lists("Z6", 0, "COUT[DAC]", "Address Trigger", "8");
    adpcm.items = {sound("I0001", "4-bit ADPCM", "44100", "/media/a b/\"quoted\"\tname.wav"),
                   sound("I0004", "4-bit ADPCM", "6000", "/s/Beep.wav"), mute("I0007", "007"),
                   sound("I0010", "8-bit PCM", "22050", "/s/Chime.wav"), {}};
    adpcm.groups = {group(false, false, false, ""), group(true, true, false, "I00011I00040I00071I00101I00011")};
    all.push_back({"adpcm", adpcm, "4c0"});

    project_snapshot mutes = lists("Y3", 0, "VOUT[PWM] - Level 1", "Key Single", "1");
    mutes.items = {mute("I0001", "1"), mute("I0002", "60000"), mute("I0003", "+0100"), {}};
    mutes.groups = {group(true, false, false, "I00010"), group(true, false, false, "I00021I00031"),
                    group(false, false, false, "")};
    all.push_back({"mutes", mutes, "0000FFE0"});

    project_snapshot many = lists("Z2", 1, "COUT[DAC]", "CPU Serial Command", "5");
    for (int i = 1; i <= 9; ++i) {
        const std::string id = "I000" + std::to_string(i);
        many.items.push_back(sound(id, i % 2 ? "5-bit u-Law" : "8-bit PCM", std::to_string(4000 * i),
                                   "/snd/" + std::to_string(i) + ".wav"));
        many.groups.push_back(group(i % 2, i % 3, i % 5, id + std::to_string(i % 2)));
    }
    all.push_back({"many-groups", many, "7FFFF"});
    return all;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Usage: %s out-folder\n", argv[0]);
        return 1;
    }
    for (const sample& s : samples()) {
        const script_files files = build_script_files(s.project, s.offset);
        const std::string path = std::string(argv[1]) + "/" + s.name + ".txt";
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << files.script;
        if (files.result != kScriptFilesWritten || !out) {
            std::fprintf(stderr, "write_sample_scripts: %s not written (%d)\n", path.c_str(), files.result);
            return 1;
        }
    }
    return 0;
}
