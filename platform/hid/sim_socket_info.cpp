#include "sim_socket_info.h"

#include <sys/socket.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

std::string format_sim_socket_info(const sim_socket_info& info) {
    char ids[64];
    std::snprintf(ids, sizeof ids, "vid=%04x\npid=%04x\nqueue_max=%u\n", info.vendor_id, info.product_id,
                  info.queue_max);
    std::string text = std::string(ids) + "manufacturer=" + info.manufacturer + "\nproduct=" + info.product + "\n";
    if (text.size() == kSimReportSize) text += "\n";
    return text;
}

bool parse_sim_socket_info(const std::string& text, sim_socket_info& info) {
    if (text.size() == kSimReportSize) return false;
    bool have_vid = false, have_pid = false;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        const size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        const std::string key = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        const unsigned long number = std::strtoul(value.c_str(), nullptr, key == "queue_max" ? 10 : 16);
        if (key == "vid") {
            info.vendor_id = static_cast<uint16_t>(number);
            have_vid = true;
        } else if (key == "pid") {
            info.product_id = static_cast<uint16_t>(number);
            have_pid = true;
        } else if (key == "queue_max") {
            info.queue_max = static_cast<unsigned>(number);
        } else if (key == "manufacturer") {
            info.manufacturer = value;
        } else if (key == "product") {
            info.product = value;
        }
    }
    return have_vid && have_pid;
}

bool sim_socket_address(const std::string& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}
