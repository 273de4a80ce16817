// The image step of a run: opening the DAT image and the checks made before
// the writer is touched.
#include "writer_run.h"

#include "frequency_trim.h"
#include "image_checksum.h"
#include "regular_file.h"

#include <cstdio>

namespace {

int refuse_image(writer_run& run) {
    std::fputs("Error QAV file !!\n\n", stdout);
    run.close_image();
    return kExitImage;
}

bool read_at(FILE* file, long offset, uint8_t* bytes, size_t count) {
    return std::fseek(file, offset, SEEK_SET) == 0 && std::fread(bytes, 1, count, file) == count;
}

}  // namespace

int open_image(writer_run& run) {
    if (!run.function->uses_image) return kGoOn;
    // The image is only read: a file its user may not write serves as well.
    // Only a regular file counts, since opening a pipe to read would wait for
    // a writer that may never come.
    run.image.file = open_regular_file(run.args[1]);
    if (!run.image.file) {
        std::fputs("\n", stdout);
        return kExitImage;
    }
    image_header& header = run.image.header;
    if (!image_read_header(run.image.file, header) || !image_header_accepted(header)) return refuse_image(run);

    std::fseek(run.image.file, 0, SEEK_END);
    const long rom_length = std::ftell(run.image.file) - header.header_offset;
    run.image_last_address = static_cast<int32_t>(rom_length > 0 ? rom_length - 1 : rom_length);

    // An image must hold its whole system information: its length, the
    // frequency-adjust block and the checksum slot all lie within it.
    uint8_t word[2];
    if (rom_length < 2 || !read_at(run.image.file, header.header_offset, word, 2)) return refuse_image(run);
    const int L = ((word[0] | word[1] << 8) & 0x3FFF) * 2;
    if (L < kMinSystemInfoLength || rom_length < L) return refuse_image(run);
    run.system_info_length = static_cast<uint16_t>(L);
    // Slave marks address 8, which is the byte (L - 8) its verification
    // accepts the mark at only for the short system information; elsewhere it
    // would overwrite a byte of the system information for good.
    if (run.function->code == kFuncSlave && L != kMinSystemInfoLength) return refuse_image(run);

    run.trim_request = false;
    if (run.series.has_oscillator) {
        uint8_t b[4];
        if (!read_at(run.image.file, header.header_offset + L - kFrequencyBlockBack, b, 4)) return refuse_image(run);
        run.trim_request = L > kMinSystemInfoLength && b[0] == kFrequencyMarker && b[3] == kNoTrimCode &&
                           static_cast<uint8_t>(~b[2]) == b[1];
    }
    seek_image(run.image, 0);
    return kGoOn;
}
