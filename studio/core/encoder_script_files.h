// The encoder script (temp/Script.txt), the only input of the encoder, and the
// voice table (temp/Table.txt), the readable copy of the project that ends the
// compile report: both written in one pass over the project, CR LF line ends.
#pragma once

#include <cstdint>
#include <string>

#include "project_snapshot.h"

// Results of writing the two files. On a failure both files keep the lines
// written before it.
inline constexpr int kScriptFilesWritten = 0;
inline constexpr int kScriptNotOpened = -1;       // neither file touched
inline constexpr int kTableNotOpened = -2;        // the script is left empty
inline constexpr int kScriptRowFormatUnknown = -3;  // a row carries the format's text without a format chosen
inline constexpr int kScriptNoDeviceCode = -4;
inline constexpr int kScriptNoModeCode = -5;
inline constexpr int kScriptNoOffset = -6;        // the mode settings hold no Offset
inline constexpr int kScriptNoGroupItems = -7;
inline constexpr int kScriptFormatUnknown = -8;   // no compression format chosen
inline constexpr int kScriptItemUnknown = -9;     // a group entry names an item no file-list row holds
inline constexpr int kScriptWriteFailed = -10;    // a write or a close failed
inline constexpr int kScriptLineBreak = -11;      // a text to be written holds a CR or LF and would split its line

struct script_files {
    int result = kScriptFilesWritten;
    std::string script;  // the encoder script as far as written
    std::string table;   // the voice table as far as written
};

// Both files' contents. `offset_text` is the mode settings' [Global] Offset as
// read, "" when the file or the key is missing.
script_files build_script_files(const project_snapshot& project, const std::string& offset_text);

// Creates or truncates the script, then the table, and writes them.
int write_script_files(const project_snapshot& project, const std::string& offset_text,
                       const std::string& script_path, const std::string& table_path);

// A mute's time in milliseconds from its name text ("Mute: 250 mS" gives 250):
// the decimal number between "Mute: " and " mS", 1 when that is not a number.
int64_t mute_time(const std::string& name_text);
