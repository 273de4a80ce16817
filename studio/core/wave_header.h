// The WAV header fields the file list reads, at the fixed offsets of the
// canonical 44-byte layout (no chunk list is walked), and the size a file's
// sample data takes once compressed. Only a regular file is read, so that a
// pipe named as a sound cannot stop the window.
#pragma once

#include <cstdint>
#include <string>

// The number of checked header bytes that differ from an 8-bit mono PCM WAV
// header ("RIFF", "WAVE", "fmt ", format 1, channels 1, 8 bits): 0 means
// acceptable. Bytes missing from a short file count as differing, so a file
// shorter than 36 bytes, or one that cannot be read, never gives 0.
int check_wave_format(const std::string& path);

// The sample rate at offset 24 (signed); 0 when it cannot be read.
int32_t wave_sample_rate(const std::string& path);
// The sample data size at offset 40, unsigned; 0 when it cannot be read.
uint32_t wave_data_size(const std::string& path);

// The size of data_size bytes of 8-bit samples in the compression of the
// given index: 0 (4-bit ADPCM) n/8*4+4; 1 (5-bit u-Law) c = n/8*5+5, plus 9
// when c is not a multiple of 9; any other index the plain size.
uint64_t compressed_size(uint64_t data_size, int compression_index);
