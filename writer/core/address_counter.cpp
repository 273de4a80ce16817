#include "address_counter.h"

#include <cstdio>

namespace {

constexpr char kSpinner[] = "|/-\\|/-\\";
constexpr const char* kStateText[] = {"< In Progress >", "< Complete OK >", "<  End Error  >"};

// Process-wide: the spinners go on turning from one transfer to the next.
int32_t first_index = 0;
int32_t second_index = 4;

}  // namespace

std::string address_counter_line(int32_t counter, int32_t end, counter_state state) {
    char line[96];
    std::snprintf(line, sizeof line, "\r[%c%c] Address Counter = %06X -> %06X(hex) %s.", kSpinner[first_index & 7],
                  kSpinner[second_index & 7], static_cast<unsigned>(counter), static_cast<unsigned>(end),
                  kStateText[static_cast<int>(state)]);
    ++first_index;
    --second_index;
    return line;
}

void show_address_counter(int32_t counter, int32_t end, counter_state state) {
    std::fputs(address_counter_line(counter, end, state).c_str(), stdout);
    std::fflush(stdout);
}

void reset_address_counter() {
    first_index = 0;
    second_index = 4;
}
