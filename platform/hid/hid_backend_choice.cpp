#include "hid_port.h"

#include <cstdlib>

std::unique_ptr<hid_backend> make_hid_backend() {
    const char* socket_path = std::getenv(kWriterSimEnv);
    if (socket_path != nullptr && socket_path[0] != '\0') return make_socket_backend(socket_path);
    return make_hidapi_backend();
}

// Linux behaves like the NT family: overlapped (timed) reads are available.
int get_platform_id() { return 2; }
