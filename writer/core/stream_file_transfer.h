// Moves a file through the writer in pieces of up to 48 bytes, with the data
// from byte 2 of each report, and writes the answers' data to another file.
#pragma once

#include "writer_link.h"

#include <cstdint>
#include <cstdio>

void stream_file_transfer(writer_link& link, FILE* input, FILE* output, uint8_t command);
