// Reading the image checker's report (temp/temp.csm) for the checksum of a DAT
// image. The result says whether there is a checksum, so that a message text
// can never pass for one.
#pragma once

#include <optional>
#include <string>

struct checksum_query_result {
    bool ok = false;
    std::string text;  // the four hexadecimal digits when ok, else the message to show
};

// The checksum of the report's result line: the last line that begins with
// "Check Sum:" must read "Check Sum: [HHHH] Verify OK." with four upper-case
// hexadecimal digits. Earlier such lines, which an image's text header can
// hold, do not count. Nothing when there is no such line or it reads otherwise.
std::optional<std::string> checksum_from_report(const std::string& report_text);

// The outcome of one checker run: its exit code and the report's text
// (nothing when the report could not be read). A non-zero exit code gives
// `failed_text`; an unreadable report or one without a checksum gives
// `load_error_text`.
checksum_query_result checksum_query_outcome(int exit_code, const std::optional<std::string>& report_text,
                                             const std::string& failed_text, const std::string& load_error_text);

// The report's text when it is a regular file that can be read; else nothing.
std::optional<std::string> read_checksum_report(const std::string& report_path);
