// QavUpdate run as a child process against a writer simulator.
#pragma once

#include <string>
#include <vector>

#include "child_process.h"
#include "writer_sim_fixture.h"

// Standard input carries `keys`, then ends.
inline child_result run_updater(const writer_sim_process& sim, const std::vector<std::string>& words,
                                const std::string& keys = "") {
    child_options options;
    options.input = keys;
    options.environment = {sim.environment_entry()};
    return run_child(KOVA_UPDATER, words, options);
}

// On a terminal: each prompt's keys are typed when the output shows that prompt, in turn.
inline child_result run_updater_on_terminal(const writer_sim_process& sim, const std::vector<std::string>& words,
                                            const typed_keys& keys) {
    child_options options;
    options.environment = {sim.environment_entry()};
    return run_child_on_terminal(KOVA_UPDATER, words, keys, options);
}
