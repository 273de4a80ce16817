#include "stream_file_transfer.h"

#include "writer_command.h"

#include <algorithm>

namespace {

constexpr int kFileDataOffset = 2;

class file_stream {
public:
    file_stream(writer_link& link, FILE* input, FILE* output, uint8_t command)
        : link_(link), input_(input), output_(output) {
        request_[0] = command;
    }

    // Sends the next piece; false when the input gave no byte.
    bool send_piece() {
        const size_t count = std::fread(request_ + kFileDataOffset, 1, kWriterBlockSize, input_);
        if (count == 0) return false;
        request_[1] = static_cast<uint8_t>(count);
        link_.send_report(request_);
        return true;
    }
    void send_end() {
        request_[1] = 0;
        request_[2] = 0;
        link_.send_report(request_);
    }
    bool receive(bool keep) {
        uint8_t raw[kWriterReportSize] = {};
        if (!link_.receive_raw_report(raw, kWriterReportSize)) return false;
        if (keep) {
            const int count = std::clamp<int>(static_cast<int8_t>(raw[2]), 0, kWriterBlockSize);
            std::fwrite(raw + 1 + kFileDataOffset, 1, static_cast<size_t>(count), output_);
        }
        return true;
    }

private:
    writer_link& link_;
    FILE* input_;
    FILE* output_;
    uint8_t request_[kWriterPayloadSize] = {};
};

}  // namespace

void stream_file_transfer(writer_link& link, FILE* input, FILE* output, uint8_t command) {
    if (!input || !output || !link.read_handle_open() || !link.write_handle_open()) return;
    file_stream stream(link, input, output, command);
    const int depth = std::max(1, link.get_pipe_depth());
    int outstanding = 0;
    while (outstanding < depth && stream.send_piece()) ++outstanding;
    if (outstanding == 0) return;
    if (!stream.receive(false)) return;
    while (stream.send_piece())
        if (!stream.receive(true)) return;
    stream.send_end();
    for (; outstanding > 0; --outstanding)
        if (!stream.receive(true)) return;
}
