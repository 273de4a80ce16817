#include "file_transfer.h"

#include "writer_command.h"

#include <algorithm>

namespace {

class file_stream {
public:
    file_stream(writer_link& link, std::FILE* input, std::FILE* output, uint8_t command)
        : link_(link), input_(input), output_(output), command_(command) {}

    // Sends the next chunk of the input; false at its end.
    bool send_chunk() {
        uint8_t request[kWriterPayloadSize] = {};
        const size_t got = std::fread(request + 2, 1, kStreamChunk, input_);
        if (got == 0) return false;
        send(request, got);
        return true;
    }

    void send_end() {
        uint8_t request[kWriterPayloadSize] = {};
        send(request, 0);
    }

    // Takes one answer and, when keep is set, appends its data. An answer
    // that never comes would stall the transfer for ever; it ends it instead.
    bool receive(bool keep) {
        uint8_t answer[kWriterReportSize] = {};
        if (link_.receive_report(answer, kNonOverlappedReadLimitMs) == 0) return false;
        ++received_;
        const size_t count = std::min<size_t>(answer[1], kStreamChunk);
        if (keep && std::fwrite(answer + 2, 1, count, output_) != count) return false;
        return true;
    }

    int outstanding() const { return sent_ - received_; }

private:
    void send(uint8_t* request, size_t count) {
        request[0] = command_;
        request[1] = static_cast<uint8_t>(count);
        link_.send_report(request);
        ++sent_;
    }

    writer_link& link_;
    std::FILE* input_;
    std::FILE* output_;
    uint8_t command_;
    int sent_ = 0;
    int received_ = 0;
};

}  // namespace

bool stream_file_transfer(writer_link& link, std::FILE* input, std::FILE* output, uint8_t command) {
    if (input == nullptr || output == nullptr || !link.read_handle_open() || !link.write_handle_open()) return false;
    file_stream stream(link, input, output, command);
    const int depth = std::max(link.get_pipe_depth(), 1);
    bool more = true;
    for (int i = 0; i < depth && more; ++i) more = stream.send_chunk();
    bool ended = false;
    if (stream.outstanding() == 0) {  // empty input: the end report is the first one
        stream.send_end();
        ended = true;
    }
    // The first answer carries the result of no report.
    if (!stream.receive(false)) return false;
    while (more && (more = stream.send_chunk())) {
        if (!stream.receive(true)) return false;
    }
    if (!ended) stream.send_end();
    while (stream.outstanding() > 0) {
        if (!stream.receive(true)) return false;
    }
    return true;
}
