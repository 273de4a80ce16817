#include "writer_run.h"

#include "address_counter.h"
#include "writer_protocol.h"

#include <cstdio>
#include <ctime>

namespace {

constexpr char kStarLine[] = "***********************************************************************\n";
constexpr char kFrameLine[] = "  *******************************************************************\n";
constexpr const char* kReturnLines[] = {
    "  *         return: (ERRORLEVEL)                                    *\n",
    "  *                  0 = success                                    *\n",
    "  *                 -1 = parameter error                            *\n",
    "  *                 -2 = output file open error.                    *\n",
    "  *                 -3 = input file open error.                     *\n",
    "  *                 -4 = USB Connection error.                      *\n",
    "  *                 -5 = USB Operatin error.                        *\n",
    "  *                 -6 = function error.                            *\n",
    "  *                 -7 = IC Detector Error                          *\n",
};

void print_usage(const writer_series& series) {
    std::fputs(kFrameLine, stdout);
    std::fputs(series.usage_line, stdout);
    std::fputs(series.function_list_line, stdout);
    for (const char* line : kReturnLines) std::fputs(line, stdout);
    std::fputs(kFrameLine, stdout);
}

}  // namespace

void writer_run::close_image() {
    if (image.file) {
        std::fclose(image.file);
        image.file = nullptr;
    }
    std::fputs("\n", stdout);
}

uint8_t writer_run::compare_mode() const { return trim_request ? function->mode_with_trim : function->mode; }

void writer_run::abort_with_error() {
    std::fputs("\n[XX] Operation Aborted with error!\n", stdout);
    ratio = 0;
    success = false;
}

int run_writer(const writer_series& series, int argc, char** argv) {
    writer_run run(series);
    reset_address_counter();
    std::printf("\n%s%s%s", kStarLine, series.banner_line, kStarLine);
    if (argc < 2) {
        print_usage(series);
        return kExitParameter;
    }
    run.args.assign(argv + 1, argv + argc);
    for (int (*step)(writer_run&) : {check_arguments, open_image, connect_writer, select_run_chip}) {
        const int result = step(run);
        if (result != kGoOn) return result;
    }
    run_operation(run);
    return finish_run(run);
}

int finish_run(writer_run& run) {
    show_address_counter(run.range_end, run.range_end,
                         run.success ? counter_state::complete_ok : counter_state::end_error);
    std::fputs("\n", stdout);
    end_session(run.link);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - run.started).count();
    std::printf("[  ] It takes about %f seconds for %s operation.\n", seconds, run.function->summary_name);
    const time_t now = std::time(nullptr);
    std::printf("     End of operation [%06X:%06X] at %s     \n", static_cast<unsigned>(run.range_start),
                static_cast<unsigned>(run.range_end), std::ctime(&now));
    std::printf("     Pass Ratio = %f. (%d Errors) \n", run.ratio, run.errors);
    run.link.close_writer();
    run.close_image();
    return run.success ? kExitSuccess : kExitFunction;
}
