#include "writer_link.h"

#include "writer_command.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kDrainShortWaits = 4;
constexpr int kDrainShortWaitMs = 50;
constexpr int kDrainLongWaitMs = 250;
constexpr unsigned kFirstCountForOne = 128;  // a request of 1 starts the halving here

// The probe's filler text; bytes 0, 1 and 62 are overwritten per report.
constexpr char kProbeText[] = "123456789012345678901234567890123456789012345678901234567890123";

}  // namespace

writer_link::writer_link(std::unique_ptr<hid_backend> backend, int probe_timeout_ms)
    : backend_(std::move(backend)), probe_timeout_ms_(probe_timeout_ms) {}

writer_link::~writer_link() {
    close_writer();
    close_device_list();
}

bool writer_link::open_writer(uint32_t vendor_id, uint32_t product_id, int input_buffers, int pipe_depth,
                              bool non_overlapped) {
    non_overlapped_ = non_overlapped;
    status_ = 0;
    close_device_list();
    close_writer();

    devices_ = backend_ ? backend_->list_devices() : nullptr;
    if (!devices_) {
        status_ = -1;
        return false;
    }
    status_ = 1;
    bool found = false;
    for (size_t index = 0; index < devices_->size() && !found; ++index) {
        status_ = 2;
        if (devices_->path(index).empty()) {
            status_ = -3;
            continue;
        }
        status_ = 3;
        query_ = devices_->open(index, hid_access::query);
        read_ = devices_->open(index, hid_access::read);
        write_ = devices_->open(index, hid_access::write);
        if (!query_ || !read_ || !write_) {
            status_ = -4;
            close_writer();
            continue;
        }
        status_ = 4;
        uint16_t vendor = 0, product = 0;
        if (!query_->get_attributes(vendor, product)) {
            status_ = -5;
            close_writer();
            continue;
        }
        status_ = 5;
        if (vendor == vendor_id && product == product_id) {
            status_ = 6;
            found = true;
        } else {
            status_ = -6;
            close_writer();
        }
    }

    if (found) {
        if (set_input_buffers(static_cast<unsigned>(std::max(input_buffers, 0))) > 1) {
            status_ = 8;
        } else {
            status_ = -8;
            found = false;
            close_writer();
        }
    }
    // Timed reads need no event of their own here: the step always succeeds.
    if (found && !non_overlapped_) status_ = 7;
    if (found) probe_pipe_depth(pipe_depth);
    close_device_list();
    return found;
}

void writer_link::close_writer() {
    query_.reset();
    read_.reset();
    write_.reset();
}

void writer_link::close_device_list() { devices_.reset(); }

int writer_link::set_input_buffers(unsigned count) {
    if (!read_) return 0;
    if (count == 0) return get_input_buffers();
    for (unsigned k = count == 1 ? kFirstCountForOne : count; k > 1; k >>= 1) {
        if (read_->set_input_buffers(k)) {
            input_buffers_ = static_cast<int>(k);
            return input_buffers_;
        }
    }
    return 0;
}

int writer_link::get_input_buffers() {
    unsigned count = 0;
    if (!read_ || !read_->get_input_buffers(count)) count = 0;
    input_buffers_ = static_cast<int>(count);
    return input_buffers_;
}

int writer_link::probe_pipe_depth(int requested) {
    if (non_overlapped_) {
        pipe_depth_ = 1;
        return pipe_depth_;
    }
    int depth = input_buffers_;
    if (requested > 0) depth = std::min(requested, input_buffers_);

    uint8_t probe[kWriterPayloadSize] = {};
    std::memcpy(probe, kProbeText, sizeof kProbeText);
    probe[0] = code_of(writer_command::stream_end);
    probe[1] = 0x01;
    uint8_t answer[kWriterReportSize];

    while (depth > 1) {
        for (int i = 0; i < input_buffers_; ++i) {
            if (receive_report(answer, probe_timeout_ms_) == 0) break;
        }
        bool passed = true;
        for (int i = 0; i < depth; ++i) {
            probe[kPipeProbeSequenceOffset] = static_cast<uint8_t>(i);
            if (!send_report(probe)) {
                passed = false;
                break;
            }
        }
        for (int i = 0; passed && i < depth; ++i) {
            if (receive_report(answer, probe_timeout_ms_) == 0) {
                passed = false;
            } else if (i >= 1 && answer[kPipeProbeSequenceOffset] != static_cast<uint8_t>(i - 1)) {
                passed = false;
            }
        }
        if (passed) {
            pipe_depth_ = depth;
            break;
        }
        depth >>= 1;
    }
    return pipe_depth_;
}

void writer_link::drain_input() {
    if (non_overlapped_) return;
    uint8_t answer[kWriterReportSize];
    for (int i = 0; i < kDrainShortWaits; ++i) receive_report(answer, kDrainShortWaitMs);
    for (int i = 0; i < input_buffers_; ++i) {
        if (receive_report(answer, kDrainLongWaitMs) == 0) break;
    }
}

bool writer_link::send_report(const uint8_t payload[64]) {
    if (!write_) return false;
    uint8_t report[kWriterReportSize];
    report[0] = 0x00;
    std::memcpy(report + 1, payload, kWriterPayloadSize);
    return write_->write_report(report, sizeof report) == kWriterReportSize;
}

int writer_link::read_timeout(int timeout_ms) const {
    return non_overlapped_ ? kNonOverlappedReadLimitMs : std::max(timeout_ms, 0);
}

int writer_link::receive_report(uint8_t* buffer, int timeout_ms) {
    if (!read_) return 0;
    uint8_t raw[kWriterReportSize];
    const int got = read_->read_report(raw, sizeof raw, read_timeout(timeout_ms));
    if (got <= 1) return 0;
    std::memcpy(buffer, raw + 1, static_cast<size_t>(got - 1));
    buffer[got - 1] = 0;
    return got - 1;
}

bool writer_link::receive_raw_report(uint8_t* buffer, int size) {
    if (!read_ || size <= 0) return false;
    return read_->read_report(buffer, static_cast<size_t>(size), read_timeout(kRawReportWaitMs)) > 1;
}

std::string writer_link::link_status_text() const {
    switch (status_) {
        case 1: return "PNP node attached";
        case -1: return "Could not find attach PnP node";
        case 2: return "Mem for Detail alloc success";
        case -2: return "Mem for Detail alloc fail";
        case 3: return " find HID device Detail";
        case -3: return "can't find HID device Detail";
        case 4: return " Create HID device";
        case -4: return "can't Create HID device";
        case 5: return "Get device attribute ok";
        case -5: return "Get device attribute fail";
        case 6: return "VID & PID Matched";
        case -6: return "VID & PID Un-Matched";
        case 7: return "Overlap Read Event Create Succ";
        case -7: return "Overlap Read Event Create Fail";
        case 8: return "Adjust Input Buffer Succ";
        case -8: return "Adjust Input Buffer Fail";
        default: return "";
    }
}

std::string writer_link::get_manufacturer() {
    std::wstring wide;
    if (!query_ || !query_->get_manufacturer(wide)) return "";
    return wide_to_narrow(wide);
}

std::string writer_link::get_product() {
    std::wstring wide;
    if (!query_ || !query_->get_product(wide)) return "";
    return wide_to_narrow(wide);
}

std::string wide_to_narrow(const std::wstring& wide) {
    std::string narrow;
    for (const wchar_t character : wide) {
        const char low = static_cast<char>(static_cast<uint32_t>(character) & 0xFF);
        if (low == '\0') break;
        narrow.push_back(low);
    }
    return narrow;
}
