// The streamed block transfers: whole chip ranges programmed, read and
// compared in blocks of up to 48 bytes with up to pipe-depth requests in
// flight. Ranges are chip addresses, end inclusive, start <= end; the
// writer's current address must already stand at start, and an image file at
// the byte of ROM address start. Each returns false when an answer did not
// come (nothing further is sent then).
#pragma once

#include "block_compare.h"
#include "image_input.h"
#include "writer_link.h"

#include <cstdint>
#include <cstdio>

// Programs the image's bytes (deciphered) with `command`; the Slave flag
// sends the byte for ROM address 8 as 0x5A. With a log, the answers' data go
// to it.
bool program_from_image(writer_link& link, const image_input* image, FILE* log, uint8_t command, int32_t& start,
                        int32_t& end, bool slave);
// Programs data[0 .. end - start].
bool program_buffer(writer_link& link, const uint8_t* data, int32_t& start, int32_t& end);
// Reads the range into buffer (at least end - start + 1 bytes).
bool read_buffer(writer_link& link, uint8_t* buffer, int32_t& start, int32_t& end);
// Reads the range into the file.
bool read_to_file(writer_link& link, FILE* output, int32_t& start, int32_t& end);

struct compare_result {
    float pass_ratio = 0;
    int32_t errors = 0;
};
// Reads the range back and compares it against the image (or, with none,
// against 0xFF) under the compare mode; stores the pass ratio. False when a
// transfer or a block comparison failed.
bool compare_range(writer_link& link, const image_input* image, int32_t& start, int32_t& end,
                   compare_result& result, uint8_t mode, uint16_t system_info_length);
