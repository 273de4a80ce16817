// The simulator's trace: one line per connection event and per received
// report, so that tests can see exactly what a writer tool sent.
//   connect | disconnect | restart application | restart boot
//   rx <64 payload bytes in hexadecimal, separated by blanks>
#pragma once

#include "sim_writer.h"

#include <cstdio>
#include <string>

class sim_trace {
public:
    ~sim_trace();
    bool open(const std::string& path);
    void event(const char* text);
    void report(const sim_payload& payload);

private:
    FILE* file_ = nullptr;
};
