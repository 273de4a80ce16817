// Byte 0 of a writer report: the command codes, and the marks that the
// writer puts into its answers; and the USB ids by which the writer is found.
// Shared by the writer tools and the writer simulator so that both speak the
// same protocol.
#pragma once

#include <cstdint>

inline constexpr uint32_t kWriterVendorId = 0x04D8;
inline constexpr uint32_t kWriterProductId = 0xFE08;

inline constexpr int kWriterPayloadSize = 64;  // one report without its report id
inline constexpr int kWriterReportSize = 65;   // report id 0x00, then the payload
inline constexpr int kWriterBlockSize = 48;    // data bytes per read or program report
inline constexpr int kWriterDataOffset = 5;    // arguments and data start here

enum class writer_command : uint8_t {
    stream_end = 0x00,          // also collects the answer of the report before
    fetch_result = 0x01,        // collects the result of the report before
    boot_final_write = 0x01,    // boot loader: last firmware block
    link_test = 0x02,           // echo
    select_chip_type = 0x10,    // byte 5 chip id; 0 ends a run
    test_chip = 0x11,           // byte 5 chip id, byte 6 forced flag
    address_reset_second = 0x12,
    address_reset_first = 0x13,  // also the first step of ending a session
    set_address = 0x14,          // bytes 5..8 address, little-endian
    read = 0x15,                 // byte 1 count
    program = 0x16,              // byte 1 count, data from byte 5
    finish_program = 0x17,
    simulate_second = 0x18,
    simulate_first = 0x19,      // byte 5 chip id, 0 ends the simulation
    measure_oscillator = 0x1A,  // byte 5 oscillator code
    firmware_version = 0x80,    // bytes 5..8 "abcd"
    boot_write_block = 0x82,    // byte 1 count, bytes 2..4 address, data from byte 5
    boot_erase = 0x83,          // byte 1 size in KiB, bytes 2..4 address
    start_application = 0xFA,   // leave the boot loader
    enter_boot_loader = 0xFF,
};

constexpr uint8_t code_of(writer_command command) { return static_cast<uint8_t>(command); }

// Answer marks.
inline constexpr uint8_t kVersionAnswerMark = 0x80;  // byte 0 of a version answer
inline constexpr uint8_t kBootLoaderVersionBit = 0x80;  // set in the major version by the boot loader
inline constexpr uint8_t kChipMarkFirst = 0x5A;      // byte 5 of a chip-test result
inline constexpr uint8_t kChipMarkSecond = 0xA5;     // byte 6
inline constexpr uint8_t kOscillatorMark[3] = {0x33, 0x4B, 0x2D};  // "3K-" in bytes 5..7
inline constexpr uint16_t kOscillatorEndMark = 0x55AA;  // bytes 17, 18, little-endian
inline constexpr int kOscillatorCountOffset = 9;        // four 16-bit period counts from byte 9
inline constexpr int kPipeProbeSequenceOffset = 62;     // the probe's sequence number
