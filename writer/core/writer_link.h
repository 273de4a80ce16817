// The one connection of a writer tool to the USB writer: finds the writer by
// vendor and product id, opens it for queries, reads and writes, sizes the
// input-report queue, probes how many reports may be sent ahead of their
// answers, and moves single 64-byte payloads with time-outs. It knows nothing
// of what a report means.
#pragma once

#include "hid_port.h"
#include "writer_command.h"  // the writer's USB ids

#include <cstdint>
#include <memory>
#include <string>

// Reads of a non-overlapped link have no time-out of their own; they still
// end after this long, the longest answer wait of the protocol, so that no
// read blocks for ever.
inline constexpr int kNonOverlappedReadLimitMs = 10000;
// The wait for each answer of the streamed transfers' raw reads.
inline constexpr int kRawReportWaitMs = 3000;
// The writer programs' probe time-out; the firmware updater uses 100 ms.
inline constexpr int kDefaultProbeTimeoutMs = 200;

class writer_link {
public:
    explicit writer_link(std::unique_ptr<hid_backend> backend = make_hid_backend(),
                         int probe_timeout_ms = kDefaultProbeTimeoutMs);
    ~writer_link();
    writer_link(const writer_link&) = delete;
    writer_link& operator=(const writer_link&) = delete;

    // Finds and opens the writer; true when it is open. Always starts closed.
    bool open_writer(uint32_t vendor_id, uint32_t product_id, int input_buffers, int pipe_depth,
                     bool non_overlapped);
    void close_writer();
    void close_device_list();

    // The accepted input-buffer count, or 0; 0 asks only the current count.
    int set_input_buffers(unsigned count);
    // The current count (0 when unknown); stored as the input-buffer count.
    int get_input_buffers();
    // The deepest burst whose answers came back in order; the depth in force afterwards.
    int probe_pipe_depth(int requested);
    int get_pipe_depth() const { return pipe_depth_; }

    // Discards waiting input reports.
    void drain_input();
    // Sends one 64-byte payload as a 65-byte report; true when all 65 bytes went.
    bool send_report(const uint8_t payload[64]);
    // Receives one report into buffer (at least 65 bytes): the payload from
    // byte 0 and a zero after it. The payload length, or 0 when none came.
    int receive_report(uint8_t* buffer, int timeout_ms);
    // Receives one report, report id included, straight into buffer; true
    // when more than one byte came (3000 ms, or the non-overlapped limit).
    bool receive_raw_report(uint8_t* buffer, int size);

    int link_status() const { return status_; }
    std::string link_status_text() const;
    // The writer's strings as narrow text; empty when they cannot be read.
    std::string get_manufacturer();
    std::string get_product();

    int write_handle_open() const { return write_ != nullptr; }
    int read_handle_open() const { return read_ != nullptr; }
    int query_handle_open() const { return query_ != nullptr; }
    bool non_overlapped() const { return non_overlapped_; }

private:
    int read_timeout(int timeout_ms) const;

    std::unique_ptr<hid_backend> backend_;
    int probe_timeout_ms_;
    std::unique_ptr<hid_device_list> devices_;
    std::unique_ptr<hid_handle> query_;
    std::unique_ptr<hid_handle> read_;
    std::unique_ptr<hid_handle> write_;
    int input_buffers_ = 2;
    int pipe_depth_ = 1;
    bool non_overlapped_ = false;
    int status_ = 0;
};

// Keeps the low byte of each character up to the first whose low byte is 0.
std::string wide_to_narrow(const std::wstring& wide);
