// Moves a file through the writer: each report carries the command in byte 0,
// a count in byte 1 and the next piece of the input from byte 2, and the data
// of each answer (its count in byte 1, the bytes from byte 2) is appended to
// another file. Up to pipe-depth reports go ahead of their answers; the first
// answer carries the result of no report and is dropped; a report with count
// 0 (byte 2 also 0) ends the stream.
#pragma once

#include "writer_command.h"
#include "writer_link.h"

#include <cstdint>
#include <cstdio>

// The two forms of the transfer: the writer programs' and the updater's.
struct file_stream_form {
    int piece;               // data bytes per report
    int answer_wait_ms;      // the longest wait for one answer
    bool end_empty_input;    // an empty input still gets its end report
};

// 48-byte pieces, answers awaited as the block transfers await theirs; an
// empty input ends the transfer before anything is sent.
inline constexpr file_stream_form kWriterFileStream{kWriterBlockSize, kRawReportWaitMs, false};
// 62-byte pieces (bytes 2..63). The updater's answers have no time limit of
// their own; a writer that falls silent must not hang it, so they get the
// link's longest wait.
inline constexpr file_stream_form kUpdaterFileStream{62, kNonOverlappedReadLimitMs, true};

// False at once when a file or the link is missing, and false when an answer
// does not come.
bool stream_file_transfer(writer_link& link, std::FILE* input, std::FILE* output, uint8_t command,
                          const file_stream_form& form = kWriterFileStream);
