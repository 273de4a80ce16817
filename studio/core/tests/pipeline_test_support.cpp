#include "pipeline_test_support.h"

std::string crlf_lines(std::initializer_list<std::string> lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

project_snapshot sample_project() {
    project_snapshot project;
    project.items = {
        {"hello.wav", "16000", "1000", "5-bit u-Law", "/snd/hello.wav", "I0001"},
        {"Mute: 250 mS", "--", "0", "Mute", "*Mute250", "I0002"},
        {"", "", "", "", "", ""},
        {"beep.wav", "8000", "500", "8-bit PCM", "/snd/beep.wav", "I0003"},
    };
    project.groups = {
        {"Edge", "Holdable", "Retrigger", "I00011I00020"},
        {"Level", "UnHoldable", "Non-Retrigger", ""},
        {"Edge", "UnHoldable", "Retrigger", "I00030"},
        {"Level", "Holdable", "Non-Retrigger", ""},
    };
    project.device_text = "KOVA3K10";
    project.device_code = "Y1";
    project.device_size = 0x8000;
    project.output_type = "VOUT[PWM] - Level 2";
    project.trigger_mode = "Key Sequential";
    project.mode_code = "2";
    project.compression_index = 1;
    project.compression_text = "5-bit u-Law";
    return project;
}
