#include "block_transfer.h"

#include "block_stream.h"
#include "writer_command.h"

#include <cstring>

namespace {

constexpr int32_t kSlaveMarkAddress = 8;

// The answer's data must be exactly the block asked for: a reader's buffers
// and the comparison are sized by the requests.
bool answer_fits(const uint8_t* payload, int requested) { return answer_count(payload) == requested; }

class image_source : public block_stream_member {
public:
    image_source(const image_input& image, FILE* log, uint8_t command, bool slave)
        : image_(image), log_(log), command_(command), slave_(slave) {}

    int fill(uint8_t* data, int chunk) override {
        int32_t position = 0;
        const int count = read_image_data(data, chunk, image_, position);
        if (slave_ && count > 0 && position <= kSlaveMarkAddress && kSlaveMarkAddress < position + count)
            data[kSlaveMarkAddress - position] = kSlaveMark;
        return count;
    }
    bool use(const uint8_t* payload, int) override {
        last_answer_byte_ = payload[kWriterDataOffset];
        if (!log_) return true;
        const int count = answer_count(payload);
        if (command_ != code_of(writer_command::program) || seen_data_) {
            std::fwrite(payload + kWriterDataOffset, 1, static_cast<size_t>(count), log_);
        } else if (count > 1) {
            seen_data_ = true;
            std::fwrite(payload + kWriterDataOffset + 1, 1, static_cast<size_t>(count - 1), log_);
        }
        return true;
    }
    void finish_log() {
        if (log_) std::fputc(last_answer_byte_, log_);
    }

private:
    const image_input& image_;
    FILE* log_;
    uint8_t command_;
    bool slave_;
    bool seen_data_ = false;
    uint8_t last_answer_byte_ = 0;
};

class buffer_source : public block_stream_member {
public:
    explicit buffer_source(const uint8_t* data) : data_(data) {}
    int fill(uint8_t* data, int chunk) override {
        std::memcpy(data, data_, static_cast<size_t>(chunk));
        data_ += chunk;
        return chunk;
    }
    bool use(const uint8_t*, int) override { return true; }

private:
    const uint8_t* data_;
};

// Read requests carry no data; only the count goes out.
class read_member : public block_stream_member {
public:
    int fill(uint8_t*, int chunk) override { return chunk; }
};

class buffer_sink : public read_member {
public:
    explicit buffer_sink(uint8_t* buffer) : buffer_(buffer) {}
    bool use(const uint8_t* payload, int requested) override {
        if (!answer_fits(payload, requested)) return false;
        std::memcpy(buffer_, payload + kWriterDataOffset, static_cast<size_t>(requested));
        buffer_ += requested;
        return true;
    }

private:
    uint8_t* buffer_;
};

class file_sink : public read_member {
public:
    explicit file_sink(FILE* file) : file_(file) {}
    bool use(const uint8_t* payload, int requested) override {
        if (!answer_fits(payload, requested)) return false;
        std::fwrite(payload + kWriterDataOffset, 1, static_cast<size_t>(requested), file_);
        return true;
    }

private:
    FILE* file_;
};

class compare_sink : public read_member {
public:
    explicit compare_sink(compare_state& state) : state_(state) {}
    bool use(const uint8_t* payload, int requested) override {
        if (!answer_fits(payload, requested)) return false;
        if (!compare_block(payload + kWriterDataOffset, requested, state_)) return false;
        state_.position += requested;
        return true;
    }

private:
    compare_state& state_;
};

const uint8_t kRead = code_of(writer_command::read);
const uint8_t kProgram = code_of(writer_command::program);

}  // namespace

bool program_from_image(writer_link& link, const image_input* image, FILE* log, uint8_t command, int32_t& start,
                        int32_t& end, bool slave) {
    if (!image || !image->file) return false;
    image_source source(*image, log, command, slave);
    if (!run_block_stream(link, command, start, end, source)) return false;
    source.finish_log();
    return true;
}

bool program_buffer(writer_link& link, const uint8_t* data, int32_t& start, int32_t& end) {
    buffer_source source(data);
    return run_block_stream(link, kProgram, start, end, source);
}

bool read_buffer(writer_link& link, uint8_t* buffer, int32_t& start, int32_t& end) {
    if (!buffer) return false;
    buffer_sink sink(buffer);
    return run_block_stream(link, kRead, start, end, sink);
}

bool read_to_file(writer_link& link, FILE* output, int32_t& start, int32_t& end) {
    if (!output) return false;
    file_sink sink(output);
    return run_block_stream(link, kRead, start, end, sink);
}

bool compare_range(writer_link& link, const image_input* image, int32_t& start, int32_t& end,
                   compare_result& result, uint8_t mode, uint16_t system_info_length) {
    result = {};
    compare_state state{image, start, 0, mode, system_info_length};
    compare_sink sink(state);
    const bool ok = run_block_stream(link, kRead, start, end, sink);
    result.errors = state.errors;
    if (ok) result.pass_ratio = pass_ratio(end - start + 1, state.errors);
    return ok;
}
