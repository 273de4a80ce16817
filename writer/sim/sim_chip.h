// The chip in the simulated writer's socket: its model and its one-time-
// programmable memory (blank 0xFF; programming can only clear bits).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct sim_chip_model {
    const char* name;    // as the writer programs are told it, e.g. "KOVA3k10"
    bool series_3k;      // the 3K series has the trimmable oscillator
    uint8_t detect_id;   // the id the chip test reports
    uint8_t select_id;   // the chip-type id the writer programs select it with
    uint32_t size;       // bytes of ROM
};

// The model of that name (letter case ignored); null for "none" or an unknown name.
const sim_chip_model* find_sim_chip_model(const std::string& name);
// True when a chip of the model answers a chip test after this chip type was selected.
bool sim_chip_answers_type(const sim_chip_model& model, uint8_t selected_type);

// The chip's cells, in memory or in a file mapped into memory, so that a test
// can read the chip from the file at any time and preload it the same way.
class sim_chip_memory {
public:
    sim_chip_memory() = default;
    ~sim_chip_memory();
    sim_chip_memory(const sim_chip_memory&) = delete;
    sim_chip_memory& operator=(const sim_chip_memory&) = delete;

    // size bytes, blank; with a file, its existing bytes are the chip's
    // contents and it is sized to the chip (added bytes blank).
    bool open(size_t size, const std::string& file, std::string& error);
    size_t size() const { return size_; }
    // Cells beyond the chip read as 0x00 (nothing drives the data lines).
    uint8_t read(uint32_t address) const { return address < size_ ? cells_[address] : 0x00; }
    // Clears the bits that are 0 in value; cells beyond the chip are ignored.
    void program(uint32_t address, uint8_t value) {
        if (address < size_) cells_[address] &= value;
    }

private:
    uint8_t* cells_ = nullptr;
    size_t size_ = 0;
    bool mapped_ = false;
};
