// The greeting the writer simulator sends right after it accepts a
// connection: key=value lines, one message whose length is never that of a
// report, so that it cannot be taken for one.
#pragma once

#include <sys/un.h>

#include <cstddef>
#include <cstdint>
#include <string>

inline constexpr size_t kSimReportSize = 65;  // report id and 64 payload bytes

struct sim_socket_info {
    uint16_t vendor_id = 0;
    uint16_t product_id = 0;
    unsigned queue_max = 0;  // largest accepted input-buffer count; 0 accepts none
    std::string manufacturer;
    std::string product;
};

std::string format_sim_socket_info(const sim_socket_info& info);
// False when a required key (vid, pid) is missing or the text is a report.
bool parse_sim_socket_info(const std::string& text, sim_socket_info& info);

// The socket's address; false when the path is empty or too long for one.
bool sim_socket_address(const std::string& path, sockaddr_un& address);
