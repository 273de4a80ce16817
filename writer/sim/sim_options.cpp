#include "sim_options.h"

#include <cstdlib>
#include <functional>
#include <map>

namespace {

bool to_int(const std::string& text, int base, long& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, base);
    return *end == '\0';
}

bool parse_version(const std::string& text, sim_options& options) {
    const size_t dot = text.find('.');
    long major = 0, minor = 0;
    if (dot == std::string::npos || !to_int(text.substr(0, dot), 10, major) ||
        !to_int(text.substr(dot + 1), 10, minor) || major < 0 || major > 127 || minor < 0 || minor > 255) {
        return false;
    }
    options.version_major = static_cast<int>(major);
    options.version_minor = static_cast<int>(minor);
    return true;
}

}  // namespace

bool parse_sim_options(int argc, char** argv, sim_options& options, std::string& error) {
    sim_faults& faults = options.faults;
    using valued = std::function<bool(const std::string&)>;
    const auto number = [](int& target, int base, long low, long high) {
        return [&target, base, low, high](const std::string& text) {
            long value = 0;
            if (!to_int(text, base, value) || value < low || value > high) return false;
            target = static_cast<int>(value);
            return true;
        };
    };
    const auto text = [](std::string& target) {
        return [&target](const std::string& value) {
            target = value;
            return !value.empty();
        };
    };
    const auto member_of = [](std::set<int>& target) {
        return [&target](const std::string& value) {
            long n = 0;
            if (!to_int(value, 10, n) || n < 1) return false;
            target.insert(static_cast<int>(n));
            return true;
        };
    };
    int vendor = options.vendor_id, product = options.product_id, queue = static_cast<int>(options.queue_max);
    const std::map<std::string, valued> with_value = {
        {"--socket", text(options.socket_path)},
        {"--chip", text(options.chip)},
        {"--memory", text(options.memory_path)},
        {"--log", text(options.log_path)},
        {"--version", [&options](const std::string& value) { return parse_version(value, options); }},
        {"--vid", number(vendor, 16, 0, 0xFFFF)},
        {"--pid", number(product, 16, 0, 0xFFFF)},
        {"--queue-max", number(queue, 10, 0, 1 << 16)},
        {"--restart-ms", number(options.restart_ms, 10, 0, 60000)},
        {"--report-delay-us", number(options.report_delay_us, 10, 0, 1000000)},
        {"--no-answer", member_of(faults.no_answer)},
        {"--bad-echo", member_of(faults.bad_echo)},
        {"--reorder-above", number(faults.reorder_above, 10, 1, 1 << 16)},
        {"--garbage-from", number(faults.garbage_from, 10, 1, 1 << 30)},
        {"--short-from", number(faults.short_from, 10, 1, 1 << 30)},
        {"--short-size", number(faults.short_size, 10, 1, 64)},
        {"--drop-at", number(faults.drop_at, 10, 1, 1 << 30)},
        {"--extra-from", number(faults.extra_from, 10, 1, 1 << 30)},
    };
    const std::map<std::string, bool*> flags = {
        {"--boot", &options.start_in_boot_loader},
        {"--unprogrammable", &faults.unprogrammable},
        {"--read-protected", &faults.read_protected},
        {"--stay-in-boot", &faults.stay_in_boot_loader},
    };
    for (int i = 0; i < argc; ++i) {
        const std::string name = argv[i];
        if (const auto flag = flags.find(name); flag != flags.end()) {
            *flag->second = true;
            continue;
        }
        const auto option = with_value.find(name);
        if (option == with_value.end()) {
            error = "unknown option " + name;
            return false;
        }
        if (i + 1 >= argc || !option->second(argv[i + 1])) {
            error = "option " + name + " needs a valid value";
            return false;
        }
        ++i;
    }
    options.vendor_id = static_cast<uint16_t>(vendor);
    options.product_id = static_cast<uint16_t>(product);
    options.queue_max = static_cast<unsigned>(queue);
    if (options.socket_path.empty()) {
        error = "--socket PATH is required";
        return false;
    }
    return true;
}
