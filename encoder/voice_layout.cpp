#include "voice_layout.h"

#include <zlib.h>

#include <stdexcept>

#include "sample_codecs.h"

namespace {

void put32(std::vector<uint8_t>& out, uint64_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

void put64(std::vector<uint8_t>& out, uint64_t at, uint64_t value) {
    for (int i = 0; i < 8; ++i) out[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

uint64_t entry_count(const encoder_script& script) {
    uint64_t count = 0;
    for (const script_group& group : script.groups) count += group.entries.size();
    return count;
}

uint64_t entry_word(uint32_t address, uint64_t count, uint32_t divider, sound_kind kind, bool busy) {
    return address | count << kEntryCountShift | static_cast<uint64_t>(divider) << kEntryDividerShift |
           static_cast<uint64_t>(kind) << kEntryKindShift | static_cast<uint64_t>(busy) << kEntryBusyShift;
}

}  // namespace

uint64_t voice_tables_size(const encoder_script& script) {
    return kVoiceHeaderSize + kGroupSize * script.groups.size() + kEntrySize * entry_count(script);
}

std::vector<uint8_t> build_voice_data(const encoder_script& script, const std::vector<std::vector<uint8_t>>& samples) {
    const uint64_t tables = voice_tables_size(script);
    std::vector<uint64_t> position(script.sounds.size());
    uint64_t total = tables;
    for (size_t s = 0; s < script.sounds.size(); ++s) {
        position[s] = total;
        total += encoded_size(script.sounds[s].kind, samples[s].size());
    }
    if (script.offset + total > kMaxAddress) throw std::logic_error("voice data beyond the address range");

    std::vector<uint8_t> out(total);
    std::copy(kVoiceMagic.begin(), kVoiceMagic.end(), out.begin());
    const uint64_t groups_at = kVoiceHeaderSize;
    const uint64_t entries_at = groups_at + kGroupSize * script.groups.size();
    put32(out, kHeaderOffsetAt, script.offset);
    put32(out, kHeaderLengthAt, static_cast<uint32_t>(total));
    put32(out, kHeaderClockAt, script.clock_hz);
    put32(out, kHeaderGroupsAt, static_cast<uint32_t>(script.groups.size()));
    put32(out, kHeaderLastGroupAt, script.last_group);
    put32(out, kHeaderEntriesAt, static_cast<uint32_t>(entry_count(script)));
    put32(out, kHeaderGroupTableAt, static_cast<uint32_t>(script.offset + groups_at));
    put32(out, kHeaderEntryTableAt, static_cast<uint32_t>(script.offset + entries_at));
    put32(out, kHeaderSoundDataAt, static_cast<uint32_t>(script.offset + tables));
    out[kHeaderFlagsAt] = static_cast<uint8_t>((script.ramp ? kFlagRamp : 0) | (script.companding ? kFlagCompanding : 0));
    out[kHeaderCompandBitsAt] = script.companding ? kCompandBits : 0;
    out[kHeaderCompandCurveAt] = script.companding ? kCompandCurve : 0;

    uint64_t entry = 0;
    for (size_t g = 0; g < script.groups.size(); ++g) {
        const script_group& group = script.groups[g];
        put32(out, groups_at + kGroupSize * g,
              static_cast<uint32_t>(entry) | (group.edge ? kGroupEdge : 0) | (group.hold ? kGroupHold : 0) |
                  (group.retrigger ? kGroupRetrigger : 0));
        for (const script_entry& e : group.entries) {
            const uint32_t divider = rate_divider(script.clock_hz, e.rate);
            uint64_t word = entry_word(0, silence_samples(kDefaultSilenceMs), divider, sound_kind::silence, e.busy);
            if (e.sound >= 0) {
                const script_sound& sound = script.sounds[e.sound];
                word = sound.kind == sound_kind::silence
                           ? entry_word(0, silence_samples(sound.mute_ms), divider, sound.kind, e.busy)
                           : entry_word(static_cast<uint32_t>(script.offset + position[e.sound]),
                                        samples[e.sound].size(), divider, sound.kind, e.busy);
            }
            put64(out, entries_at + kEntrySize * entry++, word);
        }
    }

    for (size_t s = 0; s < script.sounds.size(); ++s) {
        const std::span<const uint8_t> in(samples[s]);
        uint8_t* to = out.data() + position[s];
        switch (script.sounds[s].kind) {
            case sound_kind::pcm: std::copy(in.begin(), in.end(), to); break;
            case sound_kind::adpcm: encode_adpcm(in, to); break;
            case sound_kind::companded: encode_companded(in, to); break;
            case sound_kind::silence: break;
        }
    }

    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, out.data(), kHeaderCrcAt);
    crc = crc32(crc, out.data() + kVoiceHeaderSize, static_cast<uInt>(total - kVoiceHeaderSize));
    put32(out, kHeaderCrcAt, static_cast<uint32_t>(crc));
    return out;
}
