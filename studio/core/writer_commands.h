// The writer page's three chip operations without widgets: which writer program
// serves a device, the command lines the page runs, the pace of its progress
// bar, the texts it shows, and what each exit code of a run shows.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

class ini_file;

enum class writer_function { blank_check, program, verify };

struct writer_operation {
    const char* name;           // "Blank Check": the start of the result texts
    const char* running_text;   // "Blank Checking...": the status while the writer runs
    const char* function_word;  // "Blank ": the writer's first argument with its separating blank
    bool needs_dat;             // a loaded DAT file for the selected device is required
};

const writer_operation& writer_operation_of(writer_function function);

// The writer program relative to the program folder: "bin/qav3kwriter" for a
// device code that begins with "Y" (the 3K series), else "bin/qavwriter".
std::string writer_program_file(const std::string& device_code);

// The command line of one operation: the writer program, the function word,
// for Program and Verify the DAT path, then the chip model name. Without a
// model name the text ends with the word's blank, which gives the writer no
// argument at all, so that it detects the chip by itself.
std::string writer_command_line(const std::string& program_folder, const std::string& device_code,
                                const std::string& model, writer_function function, const std::string& dat_path);

// The time between two progress steps: 250 ms plus 250 ms per position of the
// selected device in the list. No selection (-1) counts as the first position.
std::chrono::milliseconds writer_progress_cadence(int device_index);

// What a finished run shows.
struct writer_result_view {
    std::string status;      // the status text
    std::string tip;         // the tip panel's text; empty: the panel stays empty
    uint32_t tip_color = 0;  // 0xBBGGRR, for a tip
    bool progress_full = false;  // the bar stays full; otherwise it goes back to 0
    const char* sound = "";  // the system sound's event name
};

// 0 passed, -6 failed, -4 no writer, -7 no chip detected; any other code
// (a parameter or image error, a start failure, no exit code) is an unknown failure.
writer_result_view writer_result(int exit_code, const std::string& operation_name);

// The status after a DAT file was loaded and its checksum read.
std::string load_finished_status(const ini_file& language, const std::string& device_text,
                                 const std::string& checksum);

// The status when the loaded DAT file is for another chip model than the
// selected device: `dat_device` is the display name of the DAT's device.
std::string unmatched_device_status(const ini_file& language, const std::string& dat_device,
                                    const std::string& selected_device);
