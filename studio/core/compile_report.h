// The compile report beside the DAT file: a banner, the device, the DAT path,
// the image checksum and a copy of the voice table. CR LF line ends.
#pragma once

#include <functional>
#include <string>

#include "checksum_report.h"

inline constexpr int kReportWritten = 0;
inline constexpr int kReportNotCreated = -1;
inline constexpr int kReportTableNotOpened = -2;  // the report is left empty
inline constexpr int kReportNoChecksum = -3;      // the report ends with "Check Sum   : "
inline constexpr int kReportWriteFailed = -4;     // a write, the close or the read of the voice table failed

// The report's path: a DAT file name whose last four characters begin with "."
// gets them replaced by ".log" (hello.dat gives hello.log); any other name gets
// ".log" appended; a name that would be the DAT file itself (x.log) gets ".log"
// appended to it.
std::string compile_report_path(const std::string& dat_path);

// Lines 1 to 5 and the start of line 6, "Check Sum   : ", without its end.
std::string compile_report_head(const std::string& device_text, const std::string& dat_path);

// Creates the report, opens the voice table, writes the head, asks for the
// image checksum and, when there is one, writes it and copies the table
// unchanged.
int write_compile_report(const std::string& report_path, const std::string& table_path,
                         const std::string& device_text, const std::string& dat_path,
                         const std::function<checksum_query_result()>& query_checksum);
