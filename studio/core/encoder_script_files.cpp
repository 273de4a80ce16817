#include "encoder_script_files.h"

#include "decimal_text.h"
#include "group_item_list.h"
#include "output_file.h"
#include "pipeline_files.h"
#include "sound_item_rules.h"

#include <string>
#include <unordered_map>

namespace {

const std::string kScriptRule = ";" + std::string(79, '-');
const std::string kThinRule(80, '-');
const std::string kThickRule(80, '=');

// Ends the build with a result code; the texts stay as far as written.
struct step_failed {
    int result;
};

std::string left_aligned(const std::string& text, size_t width) {
    return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

std::string right_aligned(const std::string& text, size_t width) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

std::string yes_no(bool yes) { return quoted(yes ? "Yes" : "No"); }

// A mute has no sample rate of its own: the encoder plays it at 8000 Hz.
std::string group_rate_text(const std::string& rate) { return "(" + (rate == "--" ? std::string("8000") : rate) + ")"; }

class script_writer {
public:
    script_files files;

    void script(const std::string& line) { add(files.script, line); }
    void table(const std::string& line) { add(files.table, line); }

private:
    static void add(std::string& file, const std::string& line) {
        // Two plain searches: a search for either character tests each byte against the set one by one.
        if (line.find('\r') != std::string::npos || line.find('\n') != std::string::npos) {
            throw step_failed{kScriptLineBreak};
        }
        file += line;
        file += "\r\n";
    }
};

void write_row(script_writer& out, const sound_item& row, const project_snapshot& project) {
    const std::string table_head =
        " " + left_aligned(row.id, 12) + left_aligned(row.type, 14) + left_aligned(row.rate, 10);
    if (row.type == "Mute") {
        const std::string time = std::to_string(mute_time(row.name));
        out.table(table_head + "Mute: " + time + " mS");
        out.script(".Silence\t\t     " + row.id + "\t\t= ((" + time + " * FS)/1000)");
    } else if (row.type == "8-bit PCM") {
        out.table(table_head + row.path);
        out.script(".PCM\t\t\t     " + row.id + " \t\t= " + quoted(row.path));
    } else if (!row.type.empty() && row.type == project.compression_text) {
        // An empty row never matches, also when no format is chosen and the format text is empty.
        out.table(table_head + row.path);
        if (project.compression_index == 0) {
            out.script(".ADPCM\t\t     " + row.id + "\t\t= " + quoted(row.path));
        } else if (project.compression_index == 1) {
            out.script(".EQ01\t\t         " + row.id + "\t\t= " + quoted(row.path));
        } else {
            throw step_failed{kScriptRowFormatUnknown};
        }
    }
}

// The highest group number with items; 0 when every group is empty.
size_t last_group(const std::vector<voice_group>& groups) {
    for (size_t g = groups.size(); g > 0; --g) {
        if (!groups[g - 1].item_list.empty()) return g;
    }
    return 0;
}

// The file-list rows by item id, the first row of an id winning, so that a group entry is found at once.
using item_index = std::unordered_map<std::string, const sound_item*>;

item_index index_items(const std::vector<sound_item>& items) {
    item_index index;
    for (const sound_item& item : items) index.emplace(item.id, &item);
    return index;
}

const sound_item& find_sound_item(const item_index& items, const std::string& id) {
    const auto found = items.find(id);
    if (found == items.end()) throw step_failed{kScriptItemUnknown};
    return *found->second;
}

void write_group(script_writer& out, size_t number, const voice_group& group, const item_index& items) {
    const std::string g = std::to_string(number);
    const std::string section = ".Section[" + g + "] ";
    out.table("[Group:" + right_aligned(g, 4) + "]   " + (group.edge == "Edge" ? "[Edge]    " : "[Level]   ") +
              (group.hold == "Holdable" ? "[Holdable]    " : "[Unholdable]  ") +
              (group.retrigger == "Retrigger" ? "[Retrigger]" : "[Non-Retrigger]"));
    out.script(section + "$Edge   =\t" + yes_no(group.edge == "Edge"));
    out.script(section + "$Hold   =\t" + yes_no(group.hold == "Holdable"));
    out.script(section + "$ReTrg  =\t" + yes_no(group.retrigger == "Retrigger"));
    out.script("");
    out.table(kThinRule);
    if (group.item_list.empty()) {
        out.table(" (None)");
        out.script(section + "$Groups =    DefSil  (8000) :0");
    }
    for (const std::string& entry : item_entries(group.item_list)) {
        const std::string id = entry.substr(0, kItemEntryLength - 1);
        const sound_item& item = find_sound_item(items, id);
        out.script(section + "$Groups = " + right_aligned(id, 8) + right_aligned(group_rate_text(item.rate), 8) +
                   " :" + entry.back());
        out.table(" " + id + "     " + (item.type == "Mute" ? item.name : item.path));
    }
    out.table(kThickRule);
    out.script(kScriptRule);
}

void write_files(script_writer& out, const project_snapshot& project, const std::string& offset_text) {
    out.script(".Define        FS      = 8000");
    out.script(kScriptRule);
    out.table("[Source]    [Type]        [Rate]    [File path or Mute time]");
    out.table(kThinRule);
    out.script(".Silence       DefSil  = ((100 * FS)/1000)");
    for (const sound_item& row : project.items) write_row(out, row, project);
    out.table(kThickRule);
    out.script(kScriptRule);

    if (project.device_code.empty()) throw step_failed{kScriptNoDeviceCode};
    if (project.mode_code.empty()) throw step_failed{kScriptNoModeCode};
    out.script(std::string(".Global         $Rck        = ") +
               (project.device_code[0] == 'Y' ? "10000000" : "8000000"));
    if (offset_text.empty()) throw step_failed{kScriptNoOffset};
    out.script(".Global        $Offset = " + offset_text + "h");
    if (project.compression_index == 1) out.script(".Global        $Encoder    = 5 " + quoted("EQ01") + " 26");
    out.table("Ramp-Type   : " + project.output_type);
    const bool pwm = project.output_type.find("VOUT") != std::string::npos;
    out.script(".Global        $RampEn = " + quoted(pwm ? "No" : "Yes"));
    const size_t last = last_group(project.groups);
    if (last == 0) throw step_failed{kScriptNoGroupItems};
    out.script(".Global        $SbtMax = " + std::to_string(last));
    out.script(kScriptRule);
    if (project.compression_index != 0 && project.compression_index != 1) throw step_failed{kScriptFormatUnknown};

    out.table("Mode        : " + project.trigger_mode + "(" +
              image_code(project.device_code, project.compression_index, project.mode_code) + ")");
    out.table(project.trigger_mode == "Key Sequential" ? "Output      : Busy-High(PB1)" : "Output      : N.C.");
    out.table(kThickRule);
    const item_index items = index_items(project.items);
    for (size_t g = 0; g < project.groups.size(); ++g) write_group(out, g + 1, project.groups[g], items);
}

}  // namespace

int64_t mute_time(const std::string& name_text) { return parse_decimal(mute_time_text(name_text)).value_or(1); }

script_files build_script_files(const project_snapshot& project, const std::string& offset_text) {
    script_writer out;
    // Room for every line at once: a line per row and about five per group, each well under 128 characters.
    const size_t lines = project.items.size() + 6 * project.groups.size() + 16;
    out.files.script.reserve(lines * 128);
    out.files.table.reserve(lines * 128);
    try {
        write_files(out, project, offset_text);
    } catch (const step_failed& failure) {
        out.files.result = failure.result;
    }
    return std::move(out.files);
}

int write_script_files(const project_snapshot& project, const std::string& offset_text,
                       const std::string& script_path, const std::string& table_path) {
    owned_file script = create_output_file(script_path);
    if (!script) return kScriptNotOpened;
    owned_file table = create_output_file(table_path);
    if (!table) return kTableNotOpened;
    const script_files files = build_script_files(project, offset_text);
    const bool script_written = put_text(script.get(), files.script);
    const bool table_written = put_text(table.get(), files.table);
    const bool script_closed = close_output_file(script);
    const bool table_closed = close_output_file(table);
    if (!script_written || !table_written || !script_closed || !table_closed) return kScriptWriteFailed;
    return files.result;
}
