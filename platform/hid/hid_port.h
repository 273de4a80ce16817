// The HID operations the writer link needs, behind one small interface with
// two back ends: hidapi (hidraw) for a real writer, and a Unix socket for the
// writer simulator. The link's own logic sits above this and is the same for
// both.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

enum class hid_access { query, read, write };

// One opened HID interface: one of the link's three handles.
class hid_handle {
public:
    virtual ~hid_handle() = default;

    // The 16-bit vendor and product ids; false when they cannot be read.
    virtual bool get_attributes(uint16_t& vendor_id, uint16_t& product_id) = 0;
    // Sizes the input-report queue; false when the count is refused.
    virtual bool set_input_buffers(unsigned count) = 0;
    // The current queue size; false when it cannot be read.
    virtual bool get_input_buffers(unsigned& count) = 0;
    // Writes one report (report id first); the count written, or -1.
    virtual int write_report(const uint8_t* report, size_t size) = 0;
    // Reads one report (report id first) into at most size bytes, waiting up
    // to timeout_ms (negative: no limit). The count read; 0 when nothing came
    // in time; -1 when the read failed or the device is gone. Nothing stays
    // pending after a return.
    virtual int read_report(uint8_t* buffer, size_t size, int timeout_ms) = 0;
    // The device's strings, 16-bit characters as the platform keeps them.
    virtual bool get_manufacturer(std::wstring& text) = 0;
    virtual bool get_product(std::wstring& text) = 0;
};

// The set of present HID interfaces, held while the writer is searched for.
class hid_device_list {
public:
    virtual ~hid_device_list() = default;
    virtual size_t size() const = 0;
    // The device path of an interface (empty when it cannot be had).
    virtual std::string path(size_t index) const = 0;
    // Opens the interface once more; null when it cannot be opened.
    virtual std::unique_ptr<hid_handle> open(size_t index, hid_access access) = 0;
};

class hid_backend {
public:
    virtual ~hid_backend() = default;
    // The present interfaces; null when the set cannot be had.
    virtual std::unique_ptr<hid_device_list> list_devices() = 0;
};

// The variable that names the writer simulator's socket.
inline constexpr const char* kWriterSimEnv = "KOVA_WRITER_SIM";

// The socket back end when KOVA_WRITER_SIM names a socket, else hidapi.
std::unique_ptr<hid_backend> make_hid_backend();
std::unique_ptr<hid_backend> make_hidapi_backend();
std::unique_ptr<hid_backend> make_socket_backend(const std::string& socket_path);

// How the writer programs may read the link: 1 (the Windows 9x family) has no
// timed reads, so one report is read at a time; 2 (the NT family) tries timed
// reads first. Linux has timed reads, so it counts as 2.
int get_platform_id();
