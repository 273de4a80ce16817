// Single-key console input. On a terminal one key is read raw, without
// waiting for Enter; otherwise one byte is read. The end of input is a key of
// its own kind, which every question treats as No, so that a program whose
// console nobody watches ends instead of waiting for ever.
#pragma once

struct console_key {
    int code = 0;               // the character read (0 for extended and end of input)
    bool extended = false;      // a key that sends an escape sequence, such as an arrow key
    bool end_of_input = false;  // standard input is closed or unreadable
};

// Reads one key; with echo, a plain key is written back to standard output.
console_key read_console_key(bool echo);
