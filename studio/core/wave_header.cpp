#include "wave_header.h"

#include "mono_wave.h"
#include "regular_file.h"

std::optional<wave_header> read_wave_header(const std::string& path) {
    std::string error;
    const owned_descriptor file = open_regular_input(path, error);
    if (!file) return std::nullopt;
    mono_wave wave;
    if (!wave.open(file.get(), error)) return std::nullopt;
    return wave_header{wave.rate(), wave.samples()};
}

uint64_t wave_data_size(const std::string& path) {
    const std::optional<wave_header> header = read_wave_header(path);
    return header ? header->data_size : 0;
}

uint64_t compressed_size(uint64_t data_size, int compression_index) {
    switch (compression_index) {
        case 0: return data_size / 8 * 4 + 4;
        case 1: {
            const uint64_t size = data_size / 8 * 5 + 5;
            // 9 is added, not rounded up to the next multiple of 9.
            return size % 9 == 0 ? size : size + 9;
        }
        default: return data_size;
    }
}
