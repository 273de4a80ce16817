#include "stream_file_transfer.h"

#include <algorithm>

namespace {

constexpr int kFileDataOffset = 2;

class file_stream {
public:
    file_stream(writer_link& link, std::FILE* input, std::FILE* output, uint8_t command,
                const file_stream_form& form)
        : link_(link), input_(input), output_(output), command_(command), form_(form) {}

    // Sends the next piece of the input; false at its end.
    bool send_piece() {
        uint8_t request[kWriterPayloadSize] = {};
        const size_t got = std::fread(request + kFileDataOffset, 1, static_cast<size_t>(form_.piece), input_);
        if (got == 0) return false;
        send(request, got);
        return true;
    }

    void send_end() {
        uint8_t request[kWriterPayloadSize] = {};
        send(request, 0);
    }

    // Takes one answer and, when keep is set, appends its data; the count is
    // held to one piece so that an odd answer cannot reach past the report.
    bool receive(bool keep) {
        uint8_t answer[kWriterReportSize] = {};
        if (link_.receive_report(answer, form_.answer_wait_ms) == 0) return false;
        ++received_;
        const size_t count = static_cast<size_t>(std::clamp<int>(static_cast<int8_t>(answer[1]), 0, form_.piece));
        return !keep || std::fwrite(answer + kFileDataOffset, 1, count, output_) == count;
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
    const file_stream_form& form_;
    int sent_ = 0;
    int received_ = 0;
};

}  // namespace

bool stream_file_transfer(writer_link& link, std::FILE* input, std::FILE* output, uint8_t command,
                          const file_stream_form& form) {
    if (!input || !output || !link.read_handle_open() || !link.write_handle_open()) return false;
    file_stream stream(link, input, output, command, form);
    const int depth = std::max(link.get_pipe_depth(), 1);
    bool more = true;
    for (int i = 0; i < depth && more; ++i) more = stream.send_piece();
    bool ended = false;
    if (stream.outstanding() == 0) {
        if (!form.end_empty_input) return true;
        stream.send_end();
        ended = true;
    }
    if (!stream.receive(false)) return false;
    while (more && (more = stream.send_piece())) {
        if (!stream.receive(true)) return false;
    }
    if (!ended) stream.send_end();
    while (stream.outstanding() > 0) {
        if (!stream.receive(true)) return false;
    }
    return true;
}
