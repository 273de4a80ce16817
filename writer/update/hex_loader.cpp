#include "hex_loader.h"

#include "writer_protocol.h"

#include <cstring>
#include <string>

namespace {

constexpr int kLineLimit = 1023;
constexpr int kMaxRecordBytes = 16;
constexpr int kDataRecord = 0;
constexpr int kEndOfFileRecord = 1;
constexpr int kLinearAddressRecord = 4;
// A record of at most this many bytes fits the two blocks that take_data
// fills from any offset within the first.
static_assert(kMaxRecordBytes <= kFlashBlockSize);

// One line of the file; characters past its end read as '\0'.
class hex_line {
public:
    explicit hex_line(std::string text) : text_(std::move(text)) {}
    const std::string& text() const { return text_; }
    // The value of `digits` hex digits from character position `at`.
    uint32_t value(size_t at, int digits) const {
        uint32_t v = 0;
        for (int i = 0; i < digits; ++i) {
            const size_t pos = at + static_cast<size_t>(i);
            v = v * 16 + static_cast<uint32_t>(hex_digit_value(pos < text_.size() ? text_[pos] : '\0'));
        }
        return v;
    }

private:
    std::string text_;
};

// Reads one line of up to kLineLimit characters; a longer line goes on as
// the next one. False at the end of the file.
bool read_line(std::FILE* file, std::string& line) {
    char buffer[kLineLimit + 1];
    if (std::fgets(buffer, sizeof buffer, file) == nullptr) return false;
    line = buffer;
    return true;
}

class hex_writer {
public:
    explicit hex_writer(boot_loader& loader) : loader_(loader) {}

    void take_line(const hex_line& line) {
        const int count = static_cast<int>(line.value(1, 2));
        const uint32_t address = line.value(3, 4);
        const int type = static_cast<int>(line.value(7, 2));
        if (type == kEndOfFileRecord) return;
        if (type == kLinearAddressRecord) {
            upper_ = line.value(9, 4);
            if (address != 0) std::printf("\n[%03d] Unknow Linear= %x\n", message_++, upper_);
            return;
        }
        if (type != kDataRecord) {
            std::printf("\n[%03d] unknow record type (%d).\n", message_++, type);
            std::printf("      %s", line.text().c_str());
            return;
        }
        if (count > kMaxRecordBytes) {
            std::printf("line %d Too large record !!\n", message_);
            return;
        }
        take_data(line, count, address);
    }

    // The final write and the restart into the application.
    void finish() {
        if (!has_last_) return;
        if (!write_flash_block(loader_, last_address_, kFlashBlockSize, last_block_, flash_write_mode::final))
            failed_ = true;
        start_application(loader_.link, kUpdaterRestartAnswerMs);
    }

    bool failed() const { return failed_; }

private:
    void take_data(const hex_line& line, int count, uint32_t address) {
        uint8_t block[2 * kFlashBlockSize];
        std::memset(block, 0xFF, sizeof block);
        const int offset = static_cast<int>(address & 0xF);
        for (int i = 0; i < count; ++i)
            block[offset + i] = static_cast<uint8_t>(line.value(9 + 2 * static_cast<size_t>(i), 2));
        const int32_t block_address = static_cast<int32_t>(((upper_ << 16) + address) & 0xFFFFF0);
        // Only blocks inside the application area are written; the boot
        // loader's own flash is never touched.
        if (block_address < kApplicationStart || block_address >= kApplicationEnd) return;
        char lead[16];
        std::snprintf(lead, sizeof lead, "[%08x]", static_cast<unsigned>(block_address));
        write_half(block, block_address, lead);
        if (offset + count > kFlashBlockSize && block_address + kFlashBlockSize < kApplicationEnd)
            write_half(block + kFlashBlockSize, block_address + kFlashBlockSize, "          ");
        has_last_ = true;
        last_address_ = block_address;
        std::memcpy(last_block_, block, kFlashBlockSize);
    }

    void write_half(const uint8_t* bytes, int32_t address, const char* lead) {
        std::fputs(lead, stdout);
        for (int i = 0; i < kFlashBlockSize; ++i) std::printf(" %02x", bytes[i]);
        std::fputc('\n', stdout);
        const flash_write_mode mode = wrote_ ? flash_write_mode::checked : flash_write_mode::first;
        wrote_ = true;
        if (!write_flash_block(loader_, address, kFlashBlockSize, bytes, mode)) failed_ = true;
    }

    boot_loader& loader_;
    uint32_t upper_ = 0;
    int message_ = 1;
    bool wrote_ = false;
    bool failed_ = false;
    bool has_last_ = false;
    int32_t last_address_ = 0;
    uint8_t last_block_[kFlashBlockSize] = {};
};

}  // namespace

int hex_digit_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    return 0;
}

int load_hex_firmware(boot_loader& loader, std::FILE* hex_file) {
    erase_application_area(loader);
    hex_writer writer(loader);
    std::string text;
    while (read_line(hex_file, text)) {
        if (text.empty() || text[0] != ':') continue;
        writer.take_line(hex_line(text));
    }
    writer.finish();
    return writer.failed() ? -1 : 0;
}
