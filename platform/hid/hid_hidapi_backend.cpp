// The real writer through hidapi's hidraw back end. Linux has no settable
// input-report queue: the kernel keeps up to 64 reports per open device, so
// counts up to 64 are accepted and only bound the link's pipe-depth probe.
#include "hid_port.h"

#include <hidapi.h>

#include <cstring>
#include <vector>

namespace {

constexpr unsigned kKernelReportQueue = 64;
constexpr size_t kStringBufferChars = 1024 / sizeof(uint16_t);

struct listed_device {
    std::string path;
    uint16_t vendor_id = 0;
    uint16_t product_id = 0;
};

class hidapi_handle final : public hid_handle {
public:
    hidapi_handle(hid_device* device, const listed_device& info) : device_(device), info_(info) {}
    ~hidapi_handle() override { hid_close(device_); }

    bool get_attributes(uint16_t& vendor_id, uint16_t& product_id) override {
        vendor_id = info_.vendor_id;
        product_id = info_.product_id;
        return true;
    }
    bool set_input_buffers(unsigned count) override {
        if (count < 2 || count > kKernelReportQueue) return false;
        queue_ = count;
        return true;
    }
    bool get_input_buffers(unsigned& count) override {
        count = queue_;
        return true;
    }
    int write_report(const uint8_t* report, size_t size) override {
        return hid_write(device_, report, size);
    }
    int read_report(uint8_t* buffer, size_t size, int timeout_ms) override {
        if (size < 2) return -1;
        // hidraw gives reports without the id byte when the device numbers none.
        buffer[0] = 0x00;
        const int got = hid_read_timeout(device_, buffer + 1, size - 1, timeout_ms < 0 ? -1 : timeout_ms);
        if (got < 0) return -1;
        return got == 0 ? 0 : got + 1;
    }
    bool get_manufacturer(std::wstring& text) override {
        return read_string(text, &hid_get_manufacturer_string);
    }
    bool get_product(std::wstring& text) override { return read_string(text, &hid_get_product_string); }

private:
    bool read_string(std::wstring& text, int (*query)(hid_device*, wchar_t*, size_t)) {
        wchar_t buffer[kStringBufferChars + 1] = {};
        if (query(device_, buffer, kStringBufferChars) != 0) return false;
        text = buffer;
        return true;
    }

    hid_device* device_;
    listed_device info_;
    unsigned queue_ = kKernelReportQueue;
};

class hidapi_device_list final : public hid_device_list {
public:
    explicit hidapi_device_list(std::vector<listed_device> devices) : devices_(std::move(devices)) {}
    size_t size() const override { return devices_.size(); }
    std::string path(size_t index) const override { return index < devices_.size() ? devices_[index].path : ""; }
    std::unique_ptr<hid_handle> open(size_t index, hid_access) override {
        if (index >= devices_.size()) return nullptr;
        hid_device* device = hid_open_path(devices_[index].path.c_str());
        if (device == nullptr) return nullptr;
        return std::make_unique<hidapi_handle>(device, devices_[index]);
    }

private:
    std::vector<listed_device> devices_;
};

class hidapi_backend final : public hid_backend {
public:
    std::unique_ptr<hid_device_list> list_devices() override {
        if (hid_init() != 0) return nullptr;
        std::vector<listed_device> devices;
        hid_device_info* all = hid_enumerate(0, 0);
        for (const hid_device_info* info = all; info != nullptr; info = info->next) {
            devices.push_back({info->path != nullptr ? info->path : "", info->vendor_id, info->product_id});
        }
        hid_free_enumeration(all);
        return std::make_unique<hidapi_device_list>(std::move(devices));
    }
};

}  // namespace

std::unique_ptr<hid_backend> make_hidapi_backend() { return std::make_unique<hidapi_backend>(); }
