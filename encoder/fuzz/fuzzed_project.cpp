#include "fuzzed_project.h"

#include <array>
#include <cstdio>

#include "device_vocabulary.h"
#include "encoder_script_files.h"

namespace {

// The input read from the front; zeros once it is used up.
class input_reader {
public:
    input_reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    uint32_t below(uint32_t count) { return byte() % count; }
    uint32_t word() {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i) value |= uint32_t{byte()} << (8 * i);
        return value;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

constexpr std::array<int32_t, 9> kUsualRates = {4000, 6000, 8000, 11025, 16000, 22050, 32000, 44100, 48000};
constexpr uint32_t kMaxRows = 12;
constexpr uint32_t kMaxGroups = 8;
constexpr uint32_t kMaxEntries = 5;

std::string item_id(uint32_t number) {
    char id[8];
    std::snprintf(id, sizeof id, "I%04u", static_cast<unsigned>(number));
    return id;
}

void choose_lists(input_reader& in, fuzzed_project& p) {
    project_snapshot& s = p.snapshot;
    const uint8_t flags = in.byte();
    s.device_code = std::string(flags & 1 ? "Y" : "Z") + static_cast<char>('1' + (flags >> 1) % 4);
    s.device_text = "KOVA " + s.device_code;
    p.clock_hz = flags & 1 ? 10000000 : 8000000;
    const uint32_t format = (flags >> 3) % 4;  // 3: nothing chosen
    s.compression_index = format == 3 ? -1 : static_cast<int>(format % 2);
    s.compression_text = format == 3 ? "" : compression_formats()[format % 2];
    p.companding = s.compression_index == 1;
    const std::vector<std::string> outputs = output_type_items(3, 1);
    s.output_type = outputs[in.below(static_cast<uint32_t>(outputs.size()))];
    p.ramp = s.output_type.find("VOUT") == std::string::npos;
    p.line_breaks = flags & 0x80;
    const std::vector<std::string> modes = trigger_mode_items(0x3F);
    s.trigger_mode = modes[in.below(static_cast<uint32_t>(modes.size()))];
    s.mode_code = trigger_mode_code(s.trigger_mode);

    const uint32_t digits = 1 + in.below(8);
    for (uint32_t i = 0; i < digits; ++i) {
        const uint8_t b = in.byte();
        const uint32_t digit = b % 16;
        p.offset = p.offset * 16 + digit;
        p.offset_text += (b & 0x10 ? "0123456789abcdef" : "0123456789ABCDEF")[digit];
    }
}

// A mute as the editor leaves it, or now and then one still waiting for its time.
void mute_row(input_reader& in, sound_item& item, fuzzed_row& row) {
    const uint8_t style = in.byte();
    const uint32_t ms = 1 + (in.byte() | uint32_t{in.byte()} << 8) % 60000;
    item.rate = "--";
    item.size = "0";
    item.type = "Mute";
    row.kind = sound_kind::silence;
    if (style == 0xFF) {
        row.mute_ms = 1;
        return;
    }
    const std::string typed = (style & 4 ? "+" : "") + std::string(style % 4, '0') + std::to_string(ms);
    item.name = "Mute: " + typed + " mS";
    item.path = "*Mute" + typed;
    row.mute_ms = ms;
}

void file_row(input_reader& in, const project_snapshot& s, bool compressed, bool line_breaks,
              sound_item& item, fuzzed_row& row) {
    const uint8_t pick = in.byte();
    row.rate = pick < 0xF0 ? kUsualRates[pick % kUsualRates.size()] : static_cast<int32_t>(in.word());
    const uint32_t length = in.below(20);
    std::string path = "/";
    for (uint32_t i = 0; i < length; ++i) {
        const char c = static_cast<char>(in.byte());
        // No file name holds a NUL; line breaks only where the input asks for them.
        path += c == '\0' || ((c == '\r' || c == '\n') && !line_breaks) ? '_' : c;
    }
    item.name = path.substr(path.rfind('/') + 1);
    item.rate = std::to_string(row.rate);
    item.size = "100";
    item.path = path;
    row.script_path = path;
    if (compressed && s.compression_index >= 0) {
        item.type = s.compression_text;
        row.kind = s.compression_index == 0 ? sound_kind::adpcm : sound_kind::companded;
    } else {
        item.type = "8-bit PCM";
        row.kind = sound_kind::pcm;
    }
}

void choose_rows(input_reader& in, fuzzed_project& p) {
    const uint32_t count = in.below(kMaxRows + 1);
    uint32_t number = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t kind = in.byte();
        // Removing items leaves gaps; ids keep growing down the list.
        number += 1 + (kind & 0x80 ? in.below(40) : 0);
        if (number > 9999) break;
        sound_item item;
        fuzzed_row row;
        item.id = row.id = item_id(number);
        if (kind % 8 < 2) mute_row(in, item, row);
        else file_row(in, p.snapshot, kind % 8 >= 5, p.line_breaks, item, row);
        p.snapshot.items.push_back(item);
        p.rows.push_back(row);
    }
    p.snapshot.items.resize(p.snapshot.items.size() + in.below(3));  // the empty rows below the items
}

void choose_groups(input_reader& in, fuzzed_project& p) {
    const uint32_t count = 1 + in.below(kMaxGroups);
    for (uint32_t g = 0; g < count; ++g) {
        const uint8_t flags = in.byte();
        voice_group group;
        fuzzed_group expected;
        expected.edge = flags & 1;
        expected.hold = flags & 2;
        expected.retrigger = flags & 4;
        group.edge = expected.edge ? "Edge" : "Level";
        group.hold = expected.hold ? "Holdable" : "UnHoldable";
        group.retrigger = expected.retrigger ? "Retrigger" : "Non-Retrigger";
        const uint32_t entries = p.rows.empty() ? 0 : (flags >> 3) % (kMaxEntries + 1);
        for (uint32_t e = 0; e < entries; ++e) {
            const uint8_t pick = in.byte();
            const size_t row = (pick & 0x7F) % p.rows.size();
            const bool busy = pick & 0x80;
            group.item_list += p.rows[row].id + (busy ? "1" : "0");
            expected.rows.push_back(row);
            expected.busy.push_back(busy);
        }
        if (!expected.rows.empty()) p.last_group = g + 1;
        p.snapshot.groups.push_back(group);
        p.groups.push_back(expected);
    }
}

int expected_writer_result(const fuzzed_project& p) {
    for (const fuzzed_row& row : p.rows)
        if (row.script_path.find_first_of("\r\n") != std::string::npos) return kScriptLineBreak;
    if (p.last_group == 0) return kScriptNoGroupItems;
    if (p.snapshot.compression_index != 0 && p.snapshot.compression_index != 1) return kScriptFormatUnknown;
    return kScriptFilesWritten;
}

}  // namespace

fuzzed_project fuzzed_project_of(const uint8_t* data, size_t size) {
    input_reader in(data, size);
    fuzzed_project p;
    choose_lists(in, p);
    choose_rows(in, p);
    choose_groups(in, p);
    p.writer_result = expected_writer_result(p);
    return p;
}
