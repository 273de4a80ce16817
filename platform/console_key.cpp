#include "console_key.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace {

// Reads one byte; false at the end of input or on a read error.
bool read_byte(unsigned char& byte) {
    for (;;) {
        const ssize_t got = ::read(STDIN_FILENO, &byte, 1);
        if (got == 1) return true;
        if (got < 0 && errno == EINTR) continue;
        return false;
    }
}

// After an escape byte, takes the rest of the sequence that a special key
// sends (it arrives at once); a lone Escape key brings nothing more.
void swallow_escape_sequence() {
    pollfd fd{STDIN_FILENO, POLLIN, 0};
    unsigned char byte;
    while (::poll(&fd, 1, 30) == 1 && (fd.revents & POLLIN)) {
        if (!read_byte(byte)) return;
    }
}

console_key key_from_byte(bool ok, unsigned char byte, bool on_terminal) {
    console_key key;
    if (!ok) {
        key.end_of_input = true;
        return key;
    }
    if (byte == 0x1B) {
        if (on_terminal) swallow_escape_sequence();
        key.extended = true;
        return key;
    }
    key.code = byte;
    return key;
}

}  // namespace

console_key read_console_key(bool echo) {
    std::fflush(stdout);
    std::fflush(stderr);
    const bool on_terminal = ::isatty(STDIN_FILENO) == 1;
    termios saved{};
    if (on_terminal) {
        ::tcgetattr(STDIN_FILENO, &saved);
        termios raw = saved;
        // Without ISIG, Ctrl-C is a key like any other: a question answers No
        // and the program ends cleanly instead of being killed mid-way.
        raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO | ISIG));
        raw.c_cc[VMIN] = 1;
        raw.c_cc[VTIME] = 0;
        ::tcsetattr(STDIN_FILENO, TCSANOW, &raw);
    }
    unsigned char byte = 0;
    const bool ok = read_byte(byte);
    // The rest of an escape sequence is taken while the terminal still sends single keys.
    const console_key key = key_from_byte(ok, byte, on_terminal);
    if (on_terminal) ::tcsetattr(STDIN_FILENO, TCSANOW, &saved);
    if (echo && !key.extended && !key.end_of_input) {
        std::putchar(key.code);
        std::fflush(stdout);
    }
    return key;
}
