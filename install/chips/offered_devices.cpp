#include "offered_devices.h"

#include "device_vocabulary.h"
#include "ini_file.h"

std::vector<offered_device> offered_devices(const ini_file& setup) {
    std::vector<offered_device> devices;
    // The device table is filled from its first entry on: the first empty one ends it.
    for (const TDeviceEntry& entry : build_device_table(setup)) {
        if (entry.Symbol.empty()) break;
        offered_device device{entry.Code, entry.Symbol, entry.Size, {}};
        for (const std::string& mode : trigger_mode_items(setup.read_integer(entry.Code, "Pack", 0))) {
            device.modes.push_back(trigger_mode_code(mode)[0]);
        }
        devices.push_back(std::move(device));
    }
    return devices;
}
