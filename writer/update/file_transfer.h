// The updater's streamed file transfer: the input file goes to the writer in
// reports of up to 62 bytes, with up to pipe-depth reports ahead of their
// answers, and the data of the answers is appended to the output file.
#pragma once

#include "writer_link.h"

#include <cstdint>
#include <cstdio>

inline constexpr int kStreamChunk = 62;  // data bytes 2..63 of a report

// Each report carries the command in byte 0, a count in byte 1 and the data
// from byte 2; a report with count 0 ends the stream. False at once when a
// file or the link is missing, and false when an answer does not come.
bool stream_file_transfer(writer_link& link, std::FILE* input, std::FILE* output, uint8_t command);
