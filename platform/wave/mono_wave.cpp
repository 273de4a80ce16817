#include "mono_wave.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

namespace {

constexpr char kNotMonoPcm8[] = "not a mono 8-bit PCM WAV file";
constexpr uint64_t kChunkHeader = 8;
constexpr uint64_t kFormatFields = 16;  // tag, channels, rate, bytes a second, block size, bits

uint16_t little_endian_16(const unsigned char* bytes) { return static_cast<uint16_t>(bytes[0] | bytes[1] << 8); }

uint32_t little_endian_32(const unsigned char* bytes) {
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

// Reads the bytes of a file at given offsets through one small window, so that
// a walk over many small chunks costs few system calls.
class file_window {
public:
    file_window(int fd, uint64_t size) : fd_(fd), size_(size) {}

    // The `count` bytes at `offset` (at most the window's size); null when the
    // file does not hold them all or cannot be read.
    const unsigned char* at(uint64_t offset, size_t count) {
        if (count > sizeof bytes_ || offset > size_ || count > size_ - offset) return nullptr;
        if (offset < start_ || offset + count > start_ + held_) {
            start_ = offset;
            held_ = 0;
            const size_t wanted = static_cast<size_t>(std::min<uint64_t>(sizeof bytes_, size_ - offset));
            while (held_ < wanted) {
                const ssize_t got = ::pread(fd_, bytes_ + held_, wanted - held_, static_cast<off_t>(offset + held_));
                if (got < 0 && errno == EINTR) continue;
                if (got <= 0) break;
                held_ += static_cast<size_t>(got);
            }
            if (held_ < count) return nullptr;
        }
        return bytes_ + (offset - start_);
    }

private:
    int fd_;
    uint64_t size_;
    uint64_t start_ = 0;
    size_t held_ = 0;
    unsigned char bytes_[4096];
};

// The format tag of the extensible form, which names the format by a GUID; PCM's starts with the tag 1.
constexpr uint16_t kExtensibleTag = 0xFFFE;
constexpr uint64_t kExtensibleFields = 40;
constexpr unsigned char kPcmSubformat[16] = {1, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
constexpr char kExtensible[] = "a mono 8-bit PCM file in the extensible WAV format, which is not read";

// The "fmt " chunk of `size` bytes at `body` states mono 8-bit PCM in the extensible form.
bool is_extensible_mono_pcm8(file_window& file, uint64_t body, uint64_t size) {
    const unsigned char* fields = size >= kExtensibleFields ? file.at(body, kExtensibleFields) : nullptr;
    return fields && little_endian_16(fields) == kExtensibleTag && little_endian_16(fields + 2) == 1 &&
           little_endian_16(fields + 14) == 8 && std::memcmp(fields + 24, kPcmSubformat, 16) == 0;
}

bool is_chunk_id(const unsigned char* id) {
    return std::all_of(id, id + 4, [](unsigned char c) { return c >= 0x20 && c < 0x7F; });
}

}  // namespace

bool mono_wave::open(int fd, std::string& error) {
    struct stat info;
    if (::fstat(fd, &info) != 0) {
        error = std::strerror(errno);
        return false;
    }
    const uint64_t file_size = info.st_size > 0 ? static_cast<uint64_t>(info.st_size) : 0;
    file_window file(fd, file_size);

    // The RIFF size is not relied on: recording programs that stream leave it wrong, and the chunks say the same.
    const unsigned char* riff = file.at(0, 12);
    if (!riff || std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(riff + 8, "WAVE", 4) != 0) {
        // The 64-bit forms of a WAVE file start alike but for their first word.
        const bool wide = riff && std::memcmp(riff + 8, "WAVE", 4) == 0;
        error = wide && std::memcmp(riff, "RF64", 4) == 0   ? "an RF64 file, not a RIFF WAVE file"
                : wide && std::memcmp(riff, "BW64", 4) == 0 ? "a BW64 file, not a RIFF WAVE file"
                                                            : "not a RIFF WAVE file";
        return false;
    }
    bool have_format = false;
    bool have_data = false;
    bool data_first = false;  // a "data" chunk came before any "fmt " chunk
    for (uint64_t offset = 12; offset <= file_size && file_size - offset >= kChunkHeader;) {
        const unsigned char* header = file.at(offset, kChunkHeader);
        if (!header) {
            error = "cannot be read";
            return false;
        }
        if (!is_chunk_id(header)) {
            // After the data such bytes are taken for a tail the chunks do not count; before it, a size is wrong.
            if (have_data) break;
            error = "bytes that are no chunk id at byte " + std::to_string(offset);
            return false;
        }
        const uint64_t size = little_endian_32(header + 4);
        const uint64_t body = offset + kChunkHeader;
        // A "fmt " chunk after the data cannot say what the data holds: it is stepped over like any other.
        if (std::memcmp(header, "fmt ", 4) == 0 && !have_data) {
            if (have_format || data_first) {
                error = have_format ? "more than one \"fmt \" chunk" : "a \"data\" chunk before its \"fmt \" chunk";
                return false;
            }
            const unsigned char* fields = size >= kFormatFields && size <= file_size - body
                                              ? file.at(body, kFormatFields)
                                              : nullptr;
            if (!fields) {
                error = "a \"fmt \" chunk cut short";
                return false;
            }
            const uint32_t rate = little_endian_32(fields + 4);
            if (little_endian_16(fields) != 1 || little_endian_16(fields + 2) != 1 ||
                little_endian_16(fields + 14) != 8) {
                error = is_extensible_mono_pcm8(file, body, size) ? kExtensible : kNotMonoPcm8;
                return false;
            }
            if (rate == 0 || rate > INT_MAX) {
                error = "no usable sample rate in its header";
                return false;
            }
            rate_ = rate;
            have_format = true;
        } else if (std::memcmp(header, "data", 4) == 0 && !data_first) {
            if (have_data) {
                error = "more than one \"data\" chunk";
                return false;
            }
            if (!have_format) {
                // The walk goes on to tell a misplaced "fmt " chunk from a missing one.
                data_first = true;
            } else {
                data_offset_ = body;
                samples_ = std::min(size, file_size - body);
                have_data = true;
            }
        }
        // An odd-sized chunk is followed by a pad byte.
        offset = body + size + (size & 1);
    }
    if (!have_format || !have_data) {
        error = have_format ? "no \"data\" chunk" : "no \"fmt \" chunk";
        return false;
    }
    fd_ = fd;
    return true;
}

bool mono_wave::read(std::vector<uint8_t>& samples, std::string& error) {
    samples.resize(samples_);
    uint64_t done = 0;
    while (done < samples_) {
        const ssize_t got =
            ::pread(fd_, samples.data() + done, samples_ - done, static_cast<off_t>(data_offset_ + done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            error = std::strerror(errno);
            return false;
        }
        if (got == 0) break;
        done += static_cast<uint64_t>(got);
    }
    samples.resize(done);
    return true;
}
