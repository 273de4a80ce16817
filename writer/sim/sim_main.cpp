// kova-writer-sim: a stand-in for the USB writer, its firmware, its boot
// loader and the chip in its socket. See README.md for the command line.
#include "sim_chip.h"
#include "sim_options.h"
#include "sim_server.h"
#include "sim_trace.h"
#include "sim_writer.h"

#include <strings.h>

#include <csignal>
#include <cstdio>

namespace {

int usage(const std::string& error) {
    std::fprintf(stderr,
                 "kova-writer-sim: %s\n"
                 "usage: kova-writer-sim --socket PATH [--chip MODEL|none] [--memory FILE] [--log FILE]\n"
                 "       [--version M.mm] [--boot] [--vid HEX] [--pid HEX] [--queue-max N] [--restart-ms N]\n"
                 "       [--report-delay-us N] [fault options, see README.md]\n",
                 error.c_str());
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    sim_options options;
    std::string error;
    if (!parse_sim_options(argc - 1, argv + 1, options, error)) return usage(error);

    const sim_chip_model* chip = nullptr;
    if (strcasecmp(options.chip.c_str(), "none") != 0) {
        chip = find_sim_chip_model(options.chip);
        if (chip == nullptr) return usage("unknown chip model " + options.chip);
    }
    sim_chip_memory memory;
    // An empty socket has no cells; its memory file is left alone.
    if (!memory.open(chip != nullptr ? chip->size : 0, chip != nullptr ? options.memory_path : "", error)) {
        return usage(error);
    }
    sim_trace trace;
    if (!options.log_path.empty() && !trace.open(options.log_path)) return usage("cannot open the log " + options.log_path);

    std::signal(SIGPIPE, SIG_IGN);
    sim_writer writer(options, chip, memory);
    sim_server server(options, writer, trace);
    return server.run() ? 0 : 1;
}
