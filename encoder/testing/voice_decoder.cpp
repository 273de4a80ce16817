#include "voice_decoder.h"

#include <zlib.h>

#include <algorithm>
#include <string>

namespace {

[[noreturn]] void broken(const std::string& what) { throw voice_data_error(what); }

uint32_t get32(std::span<const uint8_t> b, uint64_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

uint64_t get64(std::span<const uint8_t> b, uint64_t at) { return get32(b, at) | uint64_t{get32(b, at + 4)} << 32; }

void expect_field(uint32_t value, uint64_t wanted, const std::string& what) {
    if (value != wanted)
        broken(what + " is " + std::to_string(value) + ", the layout puts it at " + std::to_string(wanted));
}

decoded_entry decode_entry(std::span<const uint8_t> data, const decoded_voice_data& voice, uint64_t word,
                           uint64_t sound_data) {
    decoded_entry entry;
    entry.address = static_cast<uint32_t>(word & kMaxAddress);
    const uint64_t count = (word >> kEntryCountShift) & kMaxSampleCount;
    entry.divider = static_cast<uint32_t>((word >> kEntryDividerShift) & kMaxDivider);
    entry.kind = static_cast<sound_kind>((word >> kEntryKindShift) & 3);
    entry.busy = (word >> kEntryBusyShift) != 0;
    if (entry.divider == 0) broken("an entry's rate divider is 0");
    entry.rate = static_cast<double>(voice.clock) / entry.divider;
    if (entry.kind == sound_kind::silence) {
        if (entry.address != 0) broken("a silence entry has an address");
        entry.samples.assign(count, 128);
        return entry;
    }
    const uint64_t size = encoded_size(entry.kind, count);
    if (entry.address < sound_data || entry.address + size > uint64_t{voice.offset} + voice.length)
        broken("an entry's sound lies outside the sound data");
    const auto from = data.subspan(entry.address - voice.offset, size);
    switch (entry.kind) {
        case sound_kind::pcm: entry.samples.assign(from.begin(), from.end()); break;
        case sound_kind::adpcm: entry.samples = decode_adpcm(from, count); break;
        default: entry.samples = decode_companded(from, count); break;
    }
    return entry;
}

}  // namespace

decoded_voice_data decode_voice_data(std::span<const uint8_t> bytes) {
    if (bytes.size() < kVoiceHeaderSize) broken("shorter than the header");
    if (!std::equal(kVoiceMagic.begin(), kVoiceMagic.end(), bytes.begin())) broken("no voice-data magic");
    decoded_voice_data voice;
    voice.offset = get32(bytes, kHeaderOffsetAt);
    voice.length = get32(bytes, kHeaderLengthAt);
    if (voice.length < kVoiceHeaderSize || voice.length > bytes.size()) broken("the stated length does not fit");
    const auto data = bytes.first(voice.length);
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, data.data(), kHeaderCrcAt);
    crc = crc32(crc, data.data() + kVoiceHeaderSize, voice.length - kVoiceHeaderSize);
    if (crc != get32(data, kHeaderCrcAt)) broken("CRC-32 does not match");

    voice.clock = get32(data, kHeaderClockAt);
    const uint32_t groups = get32(data, kHeaderGroupsAt);
    voice.last_group = get32(data, kHeaderLastGroupAt);
    const uint32_t entries = get32(data, kHeaderEntriesAt);
    const uint8_t flags = data[kHeaderFlagsAt];
    voice.ramp = (flags & kFlagRamp) != 0;
    voice.companding = (flags & kFlagCompanding) != 0;
    voice.compand_bits = data[kHeaderCompandBitsAt];
    voice.compand_curve = data[kHeaderCompandCurveAt];
    if ((flags & ~(kFlagRamp | kFlagCompanding)) != 0 || data[43] != 0) broken("reserved header bits are set");

    const uint64_t groups_at = kVoiceHeaderSize;
    const uint64_t entries_at = groups_at + uint64_t{kGroupSize} * groups;
    const uint64_t sounds_at = entries_at + uint64_t{kEntrySize} * entries;
    if (sounds_at > voice.length) broken("the tables run past the stated length");
    expect_field(get32(data, kHeaderGroupTableAt), voice.offset + groups_at, "the group table address");
    expect_field(get32(data, kHeaderEntryTableAt), voice.offset + entries_at, "the entry table address");
    expect_field(get32(data, kHeaderSoundDataAt), voice.offset + sounds_at, "the sound data address");
    if (voice.last_group > groups) broken("the last group lies past the group count");

    uint32_t first = 0;
    for (uint32_t g = 0; g < groups; ++g) {
        const uint32_t word = get32(data, groups_at + kGroupSize * g);
        const uint32_t next = g + 1 < groups ? get32(data, groups_at + kGroupSize * (g + 1)) & kGroupFirstMask : entries;
        if ((word & kGroupFirstMask) != first)
            broken("group " + std::to_string(g + 1) + " does not start after the entries of the group before");
        if (next <= first || next > entries) broken("group " + std::to_string(g + 1) + " holds no entry");
        decoded_group group;
        group.edge = (word & kGroupEdge) != 0;
        group.hold = (word & kGroupHold) != 0;
        group.retrigger = (word & kGroupRetrigger) != 0;
        for (uint32_t e = first; e < next; ++e)
            group.entries.push_back(
                decode_entry(data, voice, get64(data, entries_at + uint64_t{kEntrySize} * e), voice.offset + sounds_at));
        voice.groups.push_back(std::move(group));
        first = next;
    }
    if (groups == 0 && entries != 0) broken("entries without groups");
    return voice;
}

std::vector<uint8_t> decode_adpcm(std::span<const uint8_t> data, size_t count) {
    if (data.size() < (count + 1) / 2) broken("ADPCM data shorter than its samples");
    std::vector<uint8_t> samples;
    samples.reserve(count);
    int predictor = 0;
    int index = kAdpcmFirstStep;
    for (size_t i = 0; i < count; ++i) {
        const int code = i % 2 == 0 ? data[i / 2] & 15 : data[i / 2] >> 4;
        const int size = code & 7;
        const int change = ((2 * size + 1) * kAdpcmSteps[index]) >> 1;
        predictor = std::clamp((code & 8) != 0 ? predictor - change : predictor + change, kAdpcmMin, kAdpcmMax);
        index = std::clamp(index + kAdpcmIndexChange[size], 0, kAdpcmStepCount - 1);
        samples.push_back(static_cast<uint8_t>(std::clamp((predictor + 8) >> 4, -128, 127) + 128));
    }
    return samples;
}

std::vector<uint8_t> decode_companded(std::span<const uint8_t> data, size_t count) {
    if (data.size() < (count * 5 + 7) / 8) broken("companded data shorter than its samples");
    std::vector<uint8_t> samples;
    samples.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const size_t bit = 5 * i;
        const unsigned pair = data[bit / 8] | (bit / 8 + 1 < data.size() ? data[bit / 8 + 1] << 8 : 0);
        const unsigned code = (pair >> (bit % 8)) & 31;
        const int level = kCompandLevels[code & 15];
        samples.push_back(static_cast<uint8_t>((code & 16) != 0 ? 128 - level : 128 + level));
    }
    return samples;
}
