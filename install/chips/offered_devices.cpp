#include "offered_devices.h"

#include "device_vocabulary.h"
#include "ini_file.h"

std::vector<offered_device> offered_devices(const ini_file& setup) {
    std::vector<offered_device> devices;
    for (const char series : {'Y', 'Z'}) {
        for (char digit = '0'; digit <= '9'; ++digit) {
            offered_device device;
            device.code = {series, digit};
            device.symbol = setup.read_string(device.code, "Symbol", "");
            if (device.symbol.empty()) continue;
            device.size = setup.read_integer(device.code, "Size", 0);
            for (const std::string& mode : trigger_mode_items(setup.read_integer(device.code, "Pack", 0))) {
                device.modes.push_back(trigger_mode_code(mode)[0]);
            }
            devices.push_back(device);
        }
    }
    return devices;
}
