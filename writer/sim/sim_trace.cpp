#include "sim_trace.h"

sim_trace::~sim_trace() {
    if (file_ != nullptr) std::fclose(file_);
}

bool sim_trace::open(const std::string& path) {
    file_ = std::fopen(path.c_str(), "a");
    return file_ != nullptr;
}

void sim_trace::event(const char* text) {
    if (file_ == nullptr) return;
    std::fprintf(file_, "%s\n", text);
    std::fflush(file_);
}

void sim_trace::report(const sim_payload& payload) {
    if (file_ == nullptr) return;
    std::fputs("rx", file_);
    for (const uint8_t byte : payload) std::fprintf(file_, " %02x", byte);
    std::fputc('\n', file_);
    std::fflush(file_);
}
