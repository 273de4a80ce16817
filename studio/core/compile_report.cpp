#include "compile_report.h"

#include "output_file.h"
#include "regular_file.h"

namespace {

// Copies the rest of `from` to `to`; false when a read or a write fails.
bool copy_file_content(FILE* from, FILE* to) {
    char chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, from)) > 0) {
        if (std::fwrite(chunk, 1, got, to) != got) return false;
    }
    return !std::ferror(from) && !std::ferror(to);
}

}  // namespace

std::string compile_report_path(const std::string& dat_path) {
    const size_t name_start = dat_path.rfind('/') + 1;
    const size_t name_size = dat_path.size() - name_start;
    std::string report;
    if (name_size >= 4 && dat_path[dat_path.size() - 4] == '.') {
        report = dat_path.substr(0, dat_path.size() - 4) + ".log";
    } else {
        report = dat_path + ".log";
    }
    if (report == dat_path) report += ".log";
    return report;
}

std::string compile_report_head(const std::string& device_text, const std::string& dat_path) {
    const std::string rule(80, '=');
    return rule + "\r\n" +
           "=                ZORVA Inc KOVA DAT Setup File Ver: 2.0.0                      =\r\n" +
           rule + "\r\n" +
           "Device      : " + device_text + "\r\n" +
           "Output File : " + dat_path + "\r\n" +
           "Check Sum   : ";
}

int write_compile_report(const std::string& report_path, const std::string& table_path,
                         const std::string& device_text, const std::string& dat_path,
                         const std::function<checksum_query_result()>& query_checksum) {
    owned_file report = create_output_file(report_path);
    if (!report) return kReportNotCreated;
    const owned_file table(open_regular_file(table_path));
    if (!table) return close_output_file(report) ? kReportTableNotOpened : kReportWriteFailed;
    // The head is on disk before the checker runs, so that a full disk is found without running it.
    if (!put_text(report.get(), compile_report_head(device_text, dat_path)) || !flush_output(report.get())) {
        close_output_file(report);
        return kReportWriteFailed;
    }
    const checksum_query_result checksum = query_checksum();
    if (!checksum.ok) return close_output_file(report) ? kReportNoChecksum : kReportWriteFailed;
    const bool written = put_text(report.get(), checksum.text + "\r\n") && copy_file_content(table.get(), report.get());
    if (!close_output_file(report) || !written) return kReportWriteFailed;
    return kReportWritten;
}
