// Fuzz target: what the writer programs do with a DAT image before they touch
// the writer, and their reads of its ROM. Input: one byte choosing the series
// (bit 0: 0 for qav3kwriter, 1 for qavwriter) and the image function (bits 1
// and 2: Program, Verify, Slave, Check), then the file.
#include <algorithm>
#include <cstring>
#include <string>

#include "frequency_trim.h"
#include "fuzz_support.h"
#include "image_checksum.h"
#include "image_model.h"
#include "writer_command.h"
#include "writer_run.h"
#include "writer_series.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kImageFunctions[] = {"Program", "Verify", "Slave", "Check"};

std::string number(int64_t value) { return std::to_string(value); }

// What the run must have concluded from the file's plain bytes.
struct expected_image {
    bool usable = false;
    int L = 0;
    bool trim_request = false;
};

expected_image expect(const image_model& m, const uint8_t* file, bool slave, bool oscillator) {
    expected_image e;
    if (!m.accepted || m.rom_length < 2) return e;
    const uint8_t* rom = file + m.header.header_offset;
    e.L = ((rom[0] | rom[1] << 8) & 0x3FFF) * 2;
    e.usable = e.L >= kMinSystemInfoLength && m.rom_length >= e.L && (!slave || e.L == kMinSystemInfoLength);
    if (e.usable && oscillator) {
        const uint8_t* block = rom + e.L - kFrequencyBlockBack;
        e.trim_request = e.L > kMinSystemInfoLength && block[0] == kFrequencyMarker && block[3] == kNoTrimCode &&
                         static_cast<uint8_t>(~block[2]) == block[1];
    }
    return e;
}

// Reads count bytes at a chip address as the transfers do; they must be the
// image's ROM bytes, cut only by the end of the image.
void check_read(const image_input& image, const image_model& m, int32_t address, int32_t count) {
    uint8_t buffer[kWriterBlockSize + 16];
    std::memset(buffer, kUntouched, sizeof buffer);
    int32_t position = -1;
    const int32_t got = read_image_data(buffer, count, image, position);
    const int64_t expected = std::min<int64_t>(count, m.rom_length - address);
    KOVA_PROMISE(position == address, "read at " + number(address) + " reported at " + number(position));
    KOVA_PROMISE(got == expected, number(got) + " of " + number(count) + " bytes at " + number(address));
    check_delivered(m, address, buffer, got, static_cast<int32_t>(sizeof buffer));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const bool other_series = data[0] & 1;
    const char* word = kImageFunctions[(data[0] >> 1) & 3];
    const uint8_t* file = data + 1;
    const size_t file_size = size - 1;
    const fs::path image = kova_fuzz::scratch_folder("writer") / "image.dat";
    kova_fuzz::write_file(image, file, file_size);

    writer_run run(other_series ? series_other() : series_3k());
    run.args = {word, image.string()};
    KOVA_PROMISE(check_arguments(run) == kGoOn, "arguments refused");
    const int result = open_image(run);

    const image_model m = model_of(file, file_size);
    const expected_image e = expect(m, file, run.function->code == kFuncSlave, run.series.has_oscillator);
    KOVA_PROMISE(result == (e.usable ? kGoOn : kExitImage), "image checks gave " + number(result));
    if (!e.usable) {
        KOVA_PROMISE(run.image.file == nullptr, "a refused image stays open");
        return 0;
    }
    KOVA_PROMISE(run.image_last_address == m.rom_length - 1, "last address " + number(run.image_last_address));
    KOVA_PROMISE(run.system_info_length == e.L, "L " + number(run.system_info_length));
    KOVA_PROMISE(run.trim_request == e.trim_request, "trim request");
    KOVA_PROMISE(std::ftell(run.image.file) == m.header.header_offset, "the image stands at chip address 0");

    // The whole ROM in transfer blocks, then reads anywhere of any length.
    for (int32_t address = 0; address <= run.image_last_address; address += kWriterBlockSize)
        check_read(run.image, m, address, std::min<int32_t>(kWriterBlockSize, run.image_last_address + 1 - address));
    kova_fuzz::choices pick(data, size);
    for (int i = 0; i < 16; ++i) {
        const auto address = static_cast<int32_t>(pick.between(0, static_cast<uint32_t>(m.rom_length)));
        KOVA_PROMISE(seek_image(run.image, address), "seeking to " + number(address));
        check_read(run.image, m, address, static_cast<int32_t>(pick.between(1, kWriterBlockSize)));
    }
    run.close_image();
    KOVA_PROMISE(kova_fuzz::read_file(image) == std::vector<uint8_t>(file, file + file_size), "the image was changed");
    return 0;
}
