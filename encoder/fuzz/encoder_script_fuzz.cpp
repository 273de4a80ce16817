// Fuzz target: tonepack's script reader. Every input is used twice:
// - as a script: the reader must not crash, a refusal must name a line of the
//   script, and what it accepts must hold together (the checks below);
// - as a voice project (fuzzed_project.h) that KovaStudio's compiler page can
//   hold: KovaStudio's script writer must give the result the project calls
//   for, and tonepack must read the script it wrote back into the same
//   project. The only refusal allowed is of a group entry whose WAV rate the
//   clock cannot be divided down to; it must name that entry's line.
#include <algorithm>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "encoder_script_files.h"
#include "fuzz_support.h"
#include "fuzzed_project.h"
#include "script_parser.h"
#include "tonepack_script.h"

namespace {

std::string number(int64_t value) { return std::to_string(value); }

// The script's CR LF lines.
std::vector<std::string_view> lines_of(std::string_view text) {
    std::vector<std::string_view> lines;
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find("\r\n", start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

bool playable(uint32_t clock, int64_t rate) {
    if (rate < 1) return false;
    const int64_t divider = (int64_t{clock} + rate / 2) / rate;
    return divider >= 1 && divider <= 8191;
}

// What an accepted script must satisfy, whatever its text.
void check_accepted(const encoder_script& s) {
    std::set<std::string> ids;
    for (const script_sound& sound : s.sounds) {
        KOVA_PROMISE(sound.id.size() == 5 && sound.id[0] == 'I' && ids.insert(sound.id).second, "item " + sound.id);
        if (sound.kind == sound_kind::silence)
            KOVA_PROMISE(sound.mute_ms >= 1 && sound.mute_ms <= 60000 && sound.path.empty(), "mute " + sound.id);
        else
            KOVA_PROMISE(!sound.path.empty(), "path of " + sound.id);
        KOVA_PROMISE(sound.kind != (s.companding ? sound_kind::adpcm : sound_kind::companded),
                     "format of " + sound.id);
    }
    KOVA_PROMISE(s.clock_hz == 10000000 || s.clock_hz == 8000000, "clock " + number(s.clock_hz));
    KOVA_PROMISE(!s.groups.empty(), "no group");
    uint32_t last = 0;
    for (size_t g = 0; g < s.groups.size(); ++g) {
        const std::vector<script_entry>& entries = s.groups[g].entries;
        KOVA_PROMISE(!entries.empty(), "group " + number(int64_t(g) + 1) + " has no entry");
        if (entries.front().sound < 0) {
            KOVA_PROMISE(entries.size() == 1 && entries.front().rate == kSilenceRate && !entries.front().busy,
                         "DefSil in group " + number(int64_t(g) + 1));
            continue;
        }
        last = static_cast<uint32_t>(g + 1);
        for (const script_entry& e : entries) {
            KOVA_PROMISE(e.sound >= 0 && size_t(e.sound) < s.sounds.size(), "entry on line " + number(e.line));
            const bool silence = s.sounds[size_t(e.sound)].kind == sound_kind::silence;
            KOVA_PROMISE(silence ? e.rate == kSilenceRate : playable(s.clock_hz, e.rate),
                         "rate " + number(e.rate) + " on line " + number(e.line));
        }
    }
    KOVA_PROMISE(s.last_group == last, "$SbtMax " + number(s.last_group) + ", last group with items " + number(last));
}

void check_as_script(std::string_view text) {
    const script_parse_result result = parse_encoder_script(text);
    if (!result.error) {
        check_accepted(result.script);
        return;
    }
    const int64_t lines = std::count(text.begin(), text.end(), '\n') + 1;
    KOVA_PROMISE(result.error->line >= 1 && result.error->line <= lines && !result.error->message.empty(),
                 describe(*result.error) + " in a script of " + number(lines) + " lines");
}

// The line of the first group entry that tonepack cannot play; 0 when there is none.
int unplayable_entry_line(const fuzzed_project& p, const std::string& script) {
    std::vector<int> entry_lines;
    const std::vector<std::string_view> lines = lines_of(script);
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i].substr(0, 9) == ".Section[" && lines[i].find("] $Groups = ") != std::string_view::npos)
            entry_lines.push_back(int(i) + 1);
    size_t k = 0;
    for (const fuzzed_group& group : p.groups) {
        for (const size_t row : group.rows) {
            const fuzzed_row& r = p.rows[row];
            if (r.kind != sound_kind::silence && !playable(p.clock_hz, r.rate)) return entry_lines.at(k);
            ++k;
        }
        if (group.rows.empty()) ++k;
    }
    return 0;
}

void check_read_back(const fuzzed_project& p, const encoder_script& s) {
    KOVA_PROMISE(s.sounds.size() == p.rows.size(), number(int64_t(s.sounds.size())) + " sounds read");
    for (size_t i = 0; i < p.rows.size(); ++i) {
        const fuzzed_row& r = p.rows[i];
        const script_sound& sound = s.sounds[i];
        KOVA_PROMISE(sound.id == r.id && sound.kind == r.kind && sound.path == r.script_path &&
                         sound.mute_ms == r.mute_ms,
                     "sound " + number(int64_t(i)) + " read as " + sound.id + " \"" + sound.path + "\" " +
                         number(sound.mute_ms));
    }
    KOVA_PROMISE(s.clock_hz == p.clock_hz && s.offset == p.offset && s.companding == p.companding &&
                     s.ramp == p.ramp && s.last_group == p.last_group,
                 "globals read as " + number(s.clock_hz) + " " + number(s.offset) + " " + number(s.companding) +
                     " " + number(s.ramp) + " " + number(s.last_group));
    KOVA_PROMISE(s.groups.size() == p.groups.size(), number(int64_t(s.groups.size())) + " groups read");
    for (size_t g = 0; g < p.groups.size(); ++g) {
        const fuzzed_group& expected = p.groups[g];
        const script_group& group = s.groups[g];
        const std::string where = "group " + number(int64_t(g) + 1);
        KOVA_PROMISE(group.edge == expected.edge && group.hold == expected.hold &&
                         group.retrigger == expected.retrigger,
                     where + " settings");
        const size_t count = std::max<size_t>(expected.rows.size(), 1);
        KOVA_PROMISE(group.entries.size() == count, where + ": " + number(int64_t(group.entries.size())) + " entries");
        for (size_t e = 0; e < expected.rows.size(); ++e) {
            const fuzzed_row& r = p.rows[expected.rows[e]];
            const script_entry& entry = group.entries[e];
            const uint32_t rate = r.kind == sound_kind::silence ? kSilenceRate : static_cast<uint32_t>(r.rate);
            KOVA_PROMISE(entry.sound == int(expected.rows[e]) && entry.rate == rate && entry.busy == expected.busy[e],
                         where + " entry " + number(int64_t(e) + 1));
        }
        if (expected.rows.empty())
            KOVA_PROMISE(group.entries[0].sound == -1 && group.entries[0].rate == kSilenceRate, where + " DefSil");
    }
}

void check_as_project(const uint8_t* data, size_t size) {
    const fuzzed_project p = fuzzed_project_of(data, size);
    const script_files files = build_script_files(p.snapshot, p.offset_text);
    KOVA_PROMISE(files.result == p.writer_result,
                 "the writer gave " + number(files.result) + ", " + number(p.writer_result) + " expected");
    if (files.result != kScriptFilesWritten) return;

    const script_parse_result read = parse_encoder_script(files.script);
    const int refused_line = unplayable_entry_line(p, files.script);
    if (refused_line != 0) {
        KOVA_PROMISE(read.error && read.error->line == refused_line,
                     (read.error ? describe(*read.error) : "accepted") + ", line " + number(refused_line) +
                         " expected\n" + files.script);
        return;
    }
    KOVA_PROMISE(!read.error, describe(read.error.value_or(script_error{})) + "\n" + files.script);
    check_read_back(p, read.script);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    check_as_script(std::string_view(reinterpret_cast<const char*>(data), size));
    check_as_project(data, size);
    return 0;
}
