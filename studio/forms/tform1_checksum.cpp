// The checksum of a DAT image, as QavChk reports it in temp/temp.csm.
#include "tform1.h"

#include "compile_commands.h"
#include "my_thread.h"
#include "output_file.h"
#include "pipeline_files.h"
#include "program_folder.h"

checksum_query_result TForm1::GetImageCheckSum(const QString& dat_path, const QString& rom_size) {
    const std::string failed = Msg("Msg025").toStdString();
    // No size to check against: the checker is not asked.
    if (rom_size == "NULL") return {false, failed};
    const std::string report = ProgramFolder() + kChecksumReportFile;
    // QavChk appends to its report; a report that cannot be emptied would be read with an older run's lines.
    if (!write_whole_file(report, "")) return {false, failed};
    const int result = RunChildProgram(
        image_checker_command_line(ProgramFolder(), dat_path.toStdString(), rom_size.toStdString()), LastThread);
    const std::optional<std::string> text = result == 0 ? read_checksum_report(report) : std::nullopt;
    return checksum_query_outcome(result, text, failed, Msg("Msg026").toStdString());
}
