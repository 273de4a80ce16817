// A writer that answers every report with the report before it, as the boot
// loader does with its write echoes; single answers can be garbled or left
// out. Every report sent after the link was opened is kept.
#pragma once

#include "hid_port.h"
#include "writer_link.h"

#include <array>
#include <cstring>
#include <deque>
#include <memory>
#include <set>
#include <vector>

struct echo_writer_state {
    std::vector<std::array<uint8_t, 64>> sent;
    std::array<uint8_t, 64> previous{};
    std::deque<std::array<uint8_t, 65>> answers;
    std::set<size_t> garbled;     // indexes into sent whose answer is damaged
    std::set<size_t> unanswered;  // indexes into sent that get no answer
};

class echo_handle final : public hid_handle {
public:
    explicit echo_handle(std::shared_ptr<echo_writer_state> state) : state_(std::move(state)) {}
    bool get_attributes(uint16_t& vendor, uint16_t& product) override {
        vendor = static_cast<uint16_t>(kWriterVendorId);
        product = static_cast<uint16_t>(kWriterProductId);
        return true;
    }
    bool set_input_buffers(unsigned count) override { return count >= 2 && count <= 64; }
    bool get_input_buffers(unsigned& count) override {
        count = 64;
        return true;
    }
    int write_report(const uint8_t* report, size_t size) override {
        std::array<uint8_t, 64> payload{};
        std::memcpy(payload.data(), report + 1, 64);
        const size_t index = state_->sent.size();
        state_->sent.push_back(payload);
        std::array<uint8_t, 65> answer{};
        std::memcpy(answer.data() + 1, state_->previous.data(), 64);
        if (state_->garbled.count(index)) answer[6] ^= 0xFF;
        if (!state_->unanswered.count(index)) state_->answers.push_back(answer);
        state_->previous = payload;
        return static_cast<int>(size);
    }
    int read_report(uint8_t* buffer, size_t size, int) override {
        if (state_->answers.empty()) return 0;
        const size_t n = std::min(size, size_t{65});
        std::memcpy(buffer, state_->answers.front().data(), n);
        state_->answers.pop_front();
        return static_cast<int>(n);
    }
    bool get_manufacturer(std::wstring&) override { return false; }
    bool get_product(std::wstring&) override { return false; }

private:
    std::shared_ptr<echo_writer_state> state_;
};

class echo_backend final : public hid_backend {
public:
    explicit echo_backend(std::shared_ptr<echo_writer_state> state) : state_(std::move(state)) {}
    std::unique_ptr<hid_device_list> list_devices() override {
        struct list final : hid_device_list {
            std::shared_ptr<echo_writer_state> state;
            size_t size() const override { return 1; }
            std::string path(size_t) const override { return "echo"; }
            std::unique_ptr<hid_handle> open(size_t, hid_access) override { return std::make_unique<echo_handle>(state); }
        };
        auto devices = std::make_unique<list>();
        devices->state = state_;
        return devices;
    }

private:
    std::shared_ptr<echo_writer_state> state_;
};

// A link opened on an echo writer, with what the opening sent forgotten.
struct echo_link {
    explicit echo_link(bool non_overlapped = false)
        : state(std::make_shared<echo_writer_state>()), link(std::make_unique<echo_backend>(state), 100) {
        link.open_writer(kWriterVendorId, kWriterProductId, 64, 0, non_overlapped);
        state->sent.clear();
        state->answers.clear();
    }
    std::shared_ptr<echo_writer_state> state;
    writer_link link;
};

// The address in bytes 2 to 4 of a boot-loader report.
inline int32_t address_of(const std::array<uint8_t, 64>& report) {
    return report[2] | report[3] << 8 | report[4] << 16;
}
