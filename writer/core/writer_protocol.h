// The commands a writer run sends around a chip operation. Every report is
// answered by exactly one report that carries the result of the report sent
// before it, so each command that needs a result sends a further report and
// takes the result from that one's answer. Every wait is a time-out for one
// answer, followed where stated by a fixed pause; nothing is retried here.
#pragma once

#include "writer_link.h"

#include <cstdint>

// The writer programs' wait for the answer to a restart command; the
// firmware updater waits 500 ms.
inline constexpr int kDefaultRestartAnswerMs = 1000;

// A fixed pause of the protocol (the platform's Sleep).
void pause_ms(int ms);

// Five link-test echoes; true when all matched. With pause, waits for a key
// after each send and receive; with print, shows each request and answer.
bool sync_test(writer_link& link, bool pause, bool print);
// The version number get_firmware_version gives when no valid answer came.
inline constexpr int kNoFirmwareVersion = 255;
// The firmware version; major and minor are kNoFirmwareVersion when no valid answer came.
int get_firmware_version(writer_link& link, int& major, int& minor);
// Asks the writer to test a chip of type id; on success detected[0] is the
// detected chip id and detected[1] the byte after it.
bool probe_chip(writer_link& link, uint8_t chip_id, uint8_t detected[2]);
// Selects the chip type, tests it, resets the address and moves it to start;
// true when the chip answered or is forced. Prints "IC Test Fail" otherwise.
bool select_chip(writer_link& link, uint8_t chip_id, int32_t start, bool forced);
void reset_address(writer_link& link);
// Moves the writer's current chip address; nothing is sent for address 0.
void set_address(writer_link& link, int32_t address);
// Puts the writer's current chip address at `address`, from a fresh reset.
void move_address(writer_link& link, int32_t address);
// Programs one byte at the current address; byte 5 of the last answer (0 when none came).
uint8_t write_byte(writer_link& link, uint8_t value);
// Reads one byte at the current address (0 when no answer came).
uint8_t read_byte(writer_link& link);
// The chip's oscillator frequency in Hz at the given code; 0 when the answer is not valid.
int32_t measure_frequency(writer_link& link, uint8_t code);
// The frequency an oscillator answer (payload, length received) gives for the code; 0 when not valid.
int32_t oscillator_frequency(const uint8_t* answer, int length, uint8_t code);
// Restart commands; the answer's length, which no caller examines.
int start_application(writer_link& link, int answer_wait_ms = kDefaultRestartAnswerMs);
int enter_boot_loader(writer_link& link, int answer_wait_ms = kDefaultRestartAnswerMs);
int simulate_chip(writer_link& link, uint8_t chip_id);
void end_simulation(writer_link& link);
// Ends a writer run: resets the address and selects chip type 0.
void end_session(writer_link& link);
