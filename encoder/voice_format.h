// The layout of the voice data that tonepack writes and the decoder reads
// back: header fields, group and entry words, and the two sample codecs'
// tables. FORMAT.md describes the same layout in prose.
#pragma once

#include <array>
#include <cstdint>

// Header, 48 bytes, every number little-endian.
inline constexpr uint32_t kVoiceHeaderSize = 48;
inline constexpr std::array<uint8_t, 4> kVoiceMagic = {'T', 'P', 'K', '1'};
inline constexpr uint32_t kHeaderOffsetAt = 4;      // ROM address of the header itself
inline constexpr uint32_t kHeaderLengthAt = 8;      // bytes of voice data, header included
inline constexpr uint32_t kHeaderClockAt = 12;      // clock in Hz that the rate dividers divide
inline constexpr uint32_t kHeaderGroupsAt = 16;     // number of groups
inline constexpr uint32_t kHeaderLastGroupAt = 20;  // last group that holds items
inline constexpr uint32_t kHeaderEntriesAt = 24;    // number of entries
inline constexpr uint32_t kHeaderGroupTableAt = 28; // ROM address of the group table
inline constexpr uint32_t kHeaderEntryTableAt = 32; // ROM address of the entries
inline constexpr uint32_t kHeaderSoundDataAt = 36;  // ROM address of the sound data
inline constexpr uint32_t kHeaderFlagsAt = 40;      // one byte: kFlagRamp, kFlagCompanding
inline constexpr uint32_t kHeaderCompandBitsAt = 41;
inline constexpr uint32_t kHeaderCompandCurveAt = 42;
inline constexpr uint32_t kHeaderCrcAt = 44;        // CRC-32 of every other byte of the voice data

inline constexpr uint8_t kFlagRamp = 1;             // output ramp on
inline constexpr uint8_t kFlagCompanding = 2;       // the companding encoder is configured

// Group word, 32 bits: index of the group's first entry, and its trigger flags.
inline constexpr uint32_t kGroupSize = 4;
inline constexpr uint32_t kGroupFirstMask = 0x1FFFFFFF;
inline constexpr uint32_t kGroupEdge = 1u << 29;
inline constexpr uint32_t kGroupHold = 1u << 30;
inline constexpr uint32_t kGroupRetrigger = 1u << 31;

// Entry word, 64 bits: where the sound lies, how many samples it plays, at
// which rate, in which kind, and whether the busy output is driven.
inline constexpr uint32_t kEntrySize = 8;
inline constexpr int kEntryCountShift = 24;
inline constexpr int kEntryDividerShift = 48;
inline constexpr int kEntryKindShift = 61;
inline constexpr int kEntryBusyShift = 63;
inline constexpr uint32_t kMaxAddress = 0xFFFFFF;   // 24-bit ROM addresses: voice data ends by 0xFFFFFF
inline constexpr uint32_t kMaxSampleCount = 0xFFFFFF;
inline constexpr uint32_t kMaxDivider = 0x1FFF;

enum class sound_kind : uint8_t { silence = 0, pcm = 1, adpcm = 2, companded = 3 };

// Silences play at this rate; a mute of t milliseconds holds t * 8 samples.
inline constexpr uint32_t kSilenceRate = 8000;
inline constexpr uint32_t kDefaultSilenceMs = 100;
constexpr uint64_t silence_samples(uint32_t ms) { return uint64_t{ms} * kSilenceRate / 1000; }

// Step-adaptive ADPCM, 4 bits a sample: bit 3 the sign, bits 0-2 the size.
// The predictor runs on 12-bit values (an 8-bit sample times 16).
inline constexpr int kAdpcmMin = -2048;
inline constexpr int kAdpcmMax = 2047;
inline constexpr int kAdpcmStepCount = 30;
inline constexpr int kAdpcmFirstStep = 9;  // the step of 16, one 8-bit unit
inline constexpr std::array<int, 8> kAdpcmIndexChange = {-1, -1, -1, 0, 1, 2, 3, 5};

// Each step a fifth larger than the one before (truncated), at least one larger.
constexpr std::array<int, kAdpcmStepCount> adpcm_steps() {
    std::array<int, kAdpcmStepCount> steps{};
    steps[0] = 4;
    for (int i = 1; i < kAdpcmStepCount; ++i) {
        const int grown = steps[i - 1] * 6 / 5;
        steps[i] = grown > steps[i - 1] ? grown : steps[i - 1] + 1;
    }
    return steps;
}
inline constexpr std::array<int, kAdpcmStepCount> kAdpcmSteps = adpcm_steps();

// Companding, 5 bits a sample: bit 4 the sign (set below the midpoint 128),
// bits 0-3 pick one of 16 magnitudes, round(127 * (27^(k/15) - 1) / 26).
inline constexpr uint8_t kCompandBits = 5;
inline constexpr uint8_t kCompandCurve = 26;
inline constexpr std::array<int, 16> kCompandLevels = {0,  1,  3,  5,  7,  10, 13, 18,
                                                       23, 30, 39, 50, 63, 80, 101, 127};

// Bytes that `count` samples of each kind take.
constexpr uint64_t encoded_size(sound_kind kind, uint64_t count) {
    switch (kind) {
        case sound_kind::pcm: return count;
        case sound_kind::adpcm: return (count + 1) / 2;
        case sound_kind::companded: return (count * 5 + 7) / 8;
        case sound_kind::silence: break;
    }
    return 0;
}

// The divider of `clock` nearest to `rate`; 0 when no divider from 1 to
// kMaxDivider plays it.
constexpr uint32_t rate_divider(uint32_t clock, uint32_t rate) {
    if (rate == 0) return 0;
    const uint64_t divider = (static_cast<uint64_t>(clock) + rate / 2) / rate;
    return divider >= 1 && divider <= kMaxDivider ? static_cast<uint32_t>(divider) : 0;
}
