// The progress line that every streamed transfer keeps up to date: one line
// rewritten with a carriage return, with two spinners turning in opposite
// directions.
#pragma once

#include <cstdint>
#include <string>

enum class counter_state { in_progress = 0, complete_ok = 1, end_error = 2 };

// The line without printing it; advances the spinners.
std::string address_counter_line(int32_t counter, int32_t end, counter_state state);
// Prints the line to standard output and flushes it.
void show_address_counter(int32_t counter, int32_t end, counter_state state);
// Puts the spinners back to their start positions (a run starts there).
void reset_address_counter();
