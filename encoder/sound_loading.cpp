#include "sound_loading.h"

#include "mono_wave.h"
#include "run_failure.h"
#include "voice_layout.h"

namespace {

std::string at_line(int line) { return "line " + std::to_string(line) + ": "; }

// The entries of each sound, for comparing the rates they state.
std::vector<std::vector<const script_entry*>> uses_of_sounds(const encoder_script& script) {
    std::vector<std::vector<const script_entry*>> uses(script.sounds.size());
    for (const script_group& group : script.groups)
        for (const script_entry& entry : group.entries)
            if (entry.sound >= 0) uses[entry.sound].push_back(&entry);
    return uses;
}

}  // namespace

loaded_sounds load_sounds(const encoder_script& script) {
    // Every address of the layout, the end of the voice data included, has 24 bits.
    uint64_t end = script.offset + voice_tables_size(script);
    if (end > kMaxAddress)
        throw run_failure{kTonepackTooLarge, "the groups and entries alone end beyond ROM address FFFFFF"};

    const auto uses = uses_of_sounds(script);
    loaded_sounds loaded;
    loaded.samples.resize(script.sounds.size());
    for (size_t s = 0; s < script.sounds.size(); ++s) {
        const script_sound& sound = script.sounds[s];
        if (sound.kind == sound_kind::silence) continue;
        const std::string where = at_line(sound.line) + sound.id + ": ";
        std::string error;
        const owned_descriptor input = open_regular_input(sound.path, error);
        if (!input) throw run_failure{kTonepackSoundUnusable, where + error};
        mono_wave wave;
        if (!wave.open(input.get(), error))
            throw run_failure{kTonepackSoundUnusable, where + sound.path + ": " + error};
        for (const script_entry* entry : uses[s])
            if (entry->rate != wave.rate())
                throw run_failure{kTonepackSoundUnusable,
                                  at_line(entry->line) + sound.id + " plays at " + std::to_string(entry->rate) +
                                      " Hz, but " + sound.path + " holds " + std::to_string(wave.rate()) + " Hz"};

        const uint64_t count = wave.samples();
        if (count > kMaxSampleCount)
            throw run_failure{kTonepackTooLarge, where + "more than " + std::to_string(kMaxSampleCount) + " samples"};
        end += encoded_size(sound.kind, count);
        if (end > kMaxAddress)
            throw run_failure{kTonepackTooLarge, where + "the voice data would end beyond ROM address FFFFFF"};
        if (!wave.read(loaded.samples[s], error))
            throw run_failure{kTonepackSoundUnusable, where + sound.path + ": " + error};
        loaded.files.push_back(input.identity());
    }
    return loaded;
}
