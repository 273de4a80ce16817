// The arguments step of a run: the argument count, the default chip row and
// the function word.
#include "writer_run.h"

#include <cstdio>

namespace {

constexpr size_t kMostArguments = 3;

int argument_error() {
    std::fputs("Argument number error\n\n", stdout);
    return kExitParameter;
}

}  // namespace

int check_arguments(writer_run& run) {
    if (run.args.size() > kMostArguments) return argument_error();
    run.range_start = 0;
    run.range_end = kWholeRangeEnd;
    if (!find_chip(run.series.chips, run.chip, default_entry(run.series.chips).model_code, run.range_start,
                   run.range_end)) {
        std::fputs("\n", stdout);
        return kExitParameter;
    }
    run.function = match_function_word(run.args[0], run.series.has_oscillator);
    if (!run.function) {
        std::fputs("Unknow function\n\n", stdout);
        return kExitParameter;
    }
    // Without an image the third argument could only be a fourth one; an
    // image function given no path must not go on without its image.
    if (!run.function->uses_image && run.args.size() == kMostArguments) return argument_error();
    if (run.function->uses_image && run.args.size() < 2) return argument_error();
    return kGoOn;
}
