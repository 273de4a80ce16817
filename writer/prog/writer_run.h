// The state of one writer-program run and the steps it goes through:
// banner, arguments, image checks, writer open, link test, firmware version,
// chip selection, one operation, summary.
#pragma once

#include "function_word.h"
#include "image_input.h"
#include "writer_chip_table.h"
#include "writer_link.h"
#include "writer_series.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

// Exit codes of the writer programs.
enum writer_exit_code : int {
    kExitSuccess = 0,
    kExitParameter = -1,
    kExitImage = -3,
    kExitConnection = -4,
    kExitLink = -5,
    kExitFunction = -6,
    kExitChip = -7,
};
// A step's result that lets the run go on.
inline constexpr int kGoOn = 1;

inline constexpr int32_t kWholeRangeEnd = 0xFFFFF;
inline constexpr float kFullRatio = 100.0f;  // the pass ratio of an operation without a miss

struct writer_run {
    explicit writer_run(const writer_series& s) : series(s) {}

    const writer_series& series;
    std::vector<std::string> args;  // the arguments after the program name
    writer_link link;
    const function_word* function = nullptr;
    image_input image;
    int32_t image_last_address = 0;
    uint16_t system_info_length = 0;  // L; 0 without an image
    bool trim_request = false;
    bool non_overlapped = false;
    chip_choice chip;
    int32_t range_start = 0;
    int32_t range_end = kWholeRangeEnd;
    bool success = false;
    float ratio = 0;
    int32_t errors = 0;
    std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();

    // Closes the image if open; prints the line end that closing always prints.
    void close_image();
    uint8_t compare_mode() const;
    void abort_with_error();
};

// The whole run; the exit code.
int run_writer(const writer_series& series, int argc, char** argv);

// The steps, each kGoOn or the exit code of the run.
int check_arguments(writer_run& run);
int open_image(writer_run& run);
int connect_writer(writer_run& run);
int select_run_chip(writer_run& run);
void run_operation(writer_run& run);
// The Test operation, one of the operations run_operation runs.
void run_test_write(writer_run& run);
int finish_run(writer_run& run);
