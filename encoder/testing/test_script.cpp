#include "test_script.h"


namespace {

const std::string kRule = ";" + std::string(79, '-');

std::string right_aligned(const std::string& text, size_t width) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::string yes_no(bool yes) { return yes ? "\"Yes\"" : "\"No\""; }

std::string sound_line(const test_sound& sound, const std::string& id) {
    const std::string path = "\"" + sound.path + "\"";
    switch (sound.kind) {
        case sound_kind::silence: return ".Silence\t\t     " + id + "\t\t= ((" + std::to_string(sound.mute_ms) + " * FS)/1000)";
        case sound_kind::pcm: return ".PCM\t\t\t     " + id + " \t\t= " + path;
        case sound_kind::adpcm: return ".ADPCM\t\t     " + id + "\t\t= " + path;
        case sound_kind::companded: return ".EQ01\t\t         " + id + "\t\t= " + path;
    }
    return "";
}

}  // namespace

std::string item_id(size_t index) {
    const std::string digits = std::to_string(index + 1);
    return "I" + std::string(digits.size() < 4 ? 4 - digits.size() : 0, '0') + digits;
}

std::vector<std::string> script_lines(const test_project& project) {
    std::vector<std::string> lines = {".Define        FS      = 8000", kRule, ".Silence       DefSil  = ((100 * FS)/1000)"};
    for (size_t s = 0; s < project.sounds.size(); ++s) lines.push_back(sound_line(project.sounds[s], item_id(s)));
    lines.push_back(kRule);
    lines.push_back(".Global         $Rck        = " + project.clock);
    lines.push_back(".Global        $Offset = " + project.offset + "h");
    if (project.encoder_line) lines.push_back(".Global        $Encoder    = 5 \"EQ01\" 26");
    lines.push_back(".Global        $RampEn = " + yes_no(!project.vout));
    size_t last = 0;
    for (size_t g = 0; g < project.groups.size(); ++g)
        if (!project.groups[g].entries.empty()) last = g + 1;
    lines.push_back(".Global        $SbtMax = " + std::to_string(last));
    lines.push_back(kRule);
    for (size_t g = 0; g < project.groups.size(); ++g) {
        const test_group& group = project.groups[g];
        const std::string section = ".Section[" + std::to_string(g + 1) + "] ";
        lines.push_back(section + "$Edge   =\t" + yes_no(group.edge));
        lines.push_back(section + "$Hold   =\t" + yes_no(group.hold));
        lines.push_back(section + "$ReTrg  =\t" + yes_no(group.retrigger));
        lines.push_back("");
        for (const test_entry& entry : group.entries) {
            const test_sound& sound = project.sounds[entry.sound];
            const std::string rate = sound.kind == sound_kind::silence || sound.rate == "--" ? "8000" : sound.rate;
            lines.push_back(section + "$Groups = " + right_aligned(item_id(entry.sound), 8) +
                            right_aligned("(" + rate + ")", 8) + " :" + (entry.busy ? "1" : "0"));
        }
        if (group.entries.empty()) lines.push_back(section + "$Groups =    DefSil  (8000) :0");
        lines.push_back(kRule);
    }
    return lines;
}

std::string script_text(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}
