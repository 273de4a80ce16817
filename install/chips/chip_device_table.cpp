#include "chip_device_table.h"

#include "device_vocabulary.h"

namespace {

// I/O settings rows of each trigger mode. The first cell of a header row names
// what the row below it shows.
constexpr io_row kPins = {"Pin", "PA0", "PA1", "PA2", "PA3", "PA4", "PA5", "PA6", "PA7", "PB0", "PB1"};
constexpr io_row kKeySingle = {"Function", "Key 1", "Key 2", "Key 3", "Key 4", "Key 5",
                               "Key 6",    "Key 7", "Key 8", "Busy",  "Stop"};
constexpr io_row kKeySequential = {"Function", "Play", "Next", "Prev", "Stop", "Vol+", "Vol-", "", "", "Busy", ""};
constexpr io_row kPulsePins = {"Pin", "PA0", "PA1", "PB0", "", "", "", "", "", "", ""};
constexpr io_row kPulseCount = {"Function", "Pulse In", "Reset", "Busy", "", "", "", "", "", "", ""};
constexpr io_row kPulseWidth = {"Function", "Width In", "Reset", "Busy", "", "", "", "", "", "", ""};
// Serial commands: no header row, the signal names above their pins.
constexpr io_row kSerialSignals = {"SCK", "SDA", "CS", "BUSY", "", "", "", "", "", "", ""};
constexpr io_row kSerialPins = {"PA0", "PA1", "PA2", "PB0", "", "", "", "", "", "", ""};
constexpr io_row kAddress = {"Function", "A0", "A1", "A2", "A3", "A4", "A5", "A6", "A7", "Strobe", "Busy"};

}  // namespace

const std::vector<chip_device>& chip_devices() {
    // Level II ranges start on the first block boundary after the 44-byte
    // system information; a level I range may start right at its end (16).
    static const std::vector<chip_device> devices = {
        {.code = "Y1", .level = 2, .cipher_start = 0x040, .cipher_end = 0x240, .frequency_tenths_mhz = 60},
        {.code = "Y2", .level = 2, .cipher_start = 0x080, .cipher_end = 0x300, .frequency_tenths_mhz = 80},
        {.code = "Y3", .level = 2, .cipher_start = 0x048, .cipher_end = 0x448, .frequency_tenths_mhz = 120},
        {.code = "Z1", .level = 1, .cipher_start = 0x010, .cipher_end = 0x210, .frequency_tenths_mhz = 0},
        {.code = "Z2", .level = 1, .cipher_start = 0x100, .cipher_end = 0x400, .frequency_tenths_mhz = 0},
        {.code = "Z3", .level = 1, .cipher_start = 0x020, .cipher_end = 0x320, .frequency_tenths_mhz = 0},
        {.code = "Z4", .level = 1, .cipher_start = 0x200, .cipher_end = 0x600, .frequency_tenths_mhz = 0},
        {.code = "Z6", .level = 1, .cipher_start = 0x100, .cipher_end = 0x900, .frequency_tenths_mhz = 0},
    };
    return devices;
}

const std::vector<chip_mode>& chip_modes() {
    // Every Offset differs from its digit's other modes and none is 600, the
    // value a reader assumes when the file says nothing.
    static const std::vector<chip_mode> modes = {
        {.digit = '1', .mode = '1', .offset = 0x480, .max_sec = 8, .fixed = 1,
         .line0 = &kPins, .line1 = &kKeySingle},
        {.digit = '1', .mode = '2', .offset = 0x4C0, .max_sec = 4, .fixed = 1,
         .line0 = &kPins, .line1 = &kKeySequential},
        {.digit = '1', .mode = '3', .offset = 0x500, .max_sec = 16, .fixed = 1,
         .line0 = &kPulsePins, .line1 = &kPulseCount},
        {.digit = '1', .mode = '4', .offset = 0x540, .max_sec = 16, .fixed = 1,
         .line0 = &kPulsePins, .line1 = &kPulseWidth},
        {.digit = '1', .mode = '5', .offset = 0x580, .max_sec = 32, .fixed = 0,
         .line0 = &kSerialSignals, .line1 = &kSerialPins},
        {.digit = '1', .mode = '8', .offset = 0x5C0, .max_sec = 32, .fixed = 1,
         .line0 = &kPins, .line1 = &kAddress},
        {.digit = '2', .mode = '1', .offset = 0x680, .max_sec = 8, .fixed = 1,
         .line0 = &kPins, .line1 = &kKeySingle},
        {.digit = '2', .mode = '2', .offset = 0x6C0, .max_sec = 4, .fixed = 1,
         .line0 = &kPins, .line1 = &kKeySequential},
        {.digit = '2', .mode = '3', .offset = 0x700, .max_sec = 16, .fixed = 1,
         .line0 = &kPulsePins, .line1 = &kPulseCount},
        {.digit = '2', .mode = '8', .offset = 0x740, .max_sec = 64, .fixed = 1,
         .line0 = &kPins, .line1 = &kAddress},
        {.digit = '3', .mode = '1', .offset = 0x780, .max_sec = 8, .fixed = 1,
         .line0 = &kPins, .line1 = &kKeySingle},
        {.digit = '3', .mode = '2', .offset = 0x7C0, .max_sec = 4, .fixed = 1,
         .line0 = &kPins, .line1 = &kKeySequential},
        {.digit = '3', .mode = '4', .offset = 0x800, .max_sec = 32, .fixed = 1,
         .line0 = &kPulsePins, .line1 = &kPulseWidth},
        {.digit = '3', .mode = '5', .offset = 0x840, .max_sec = 64, .fixed = 0,
         .line0 = &kSerialSignals, .line1 = &kSerialPins},
        {.digit = '4', .mode = '1', .offset = 0x880, .max_sec = 8, .fixed = 1,
         .line0 = &kPins, .line1 = &kKeySingle},
        {.digit = '4', .mode = '2', .offset = 0x8C0, .max_sec = 4, .fixed = 1,
         .line0 = &kPins, .line1 = &kKeySequential},
        {.digit = '4', .mode = '3', .offset = 0x900, .max_sec = 32, .fixed = 1,
         .line0 = &kPulsePins, .line1 = &kPulseCount},
        {.digit = '4', .mode = '4', .offset = 0x940, .max_sec = 32, .fixed = 1,
         .line0 = &kPulsePins, .line1 = &kPulseWidth},
        {.digit = '4', .mode = '8', .offset = 0x980, .max_sec = 128, .fixed = 1,
         .line0 = &kPins, .line1 = &kAddress},
        {.digit = '6', .mode = '1', .offset = 0xA80, .max_sec = 16, .fixed = 1,
         .line0 = &kPins, .line1 = &kKeySingle},
        {.digit = '6', .mode = '2', .offset = 0xAC0, .max_sec = 8, .fixed = 1,
         .line0 = &kPins, .line1 = &kKeySequential},
        {.digit = '6', .mode = '3', .offset = 0xB00, .max_sec = 64, .fixed = 1,
         .line0 = &kPulsePins, .line1 = &kPulseCount},
        {.digit = '6', .mode = '4', .offset = 0xB40, .max_sec = 64, .fixed = 1,
         .line0 = &kPulsePins, .line1 = &kPulseWidth},
        {.digit = '6', .mode = '5', .offset = 0xB80, .max_sec = 128, .fixed = 0,
         .line0 = &kSerialSignals, .line1 = &kSerialPins},
        {.digit = '6', .mode = '8', .offset = 0xBC0, .max_sec = 255, .fixed = 1,
         .line0 = &kPins, .line1 = &kAddress},
    };
    return modes;
}

const chip_device* find_chip_device(const std::string& code) {
    for (const chip_device& device : chip_devices())
        if (code == device.code) return &device;
    return nullptr;
}

const chip_mode* find_chip_mode(char digit, char mode) {
    for (const chip_mode& entry : chip_modes())
        if (entry.digit == digit && entry.mode == mode) return &entry;
    return nullptr;
}

std::string mode_key(char digit, char mode) { return {digit, 'x', mode}; }

std::string dat_model(const chip_device& device) {
    const chip_model_name* model = find_chip_model_name(device.code);
    return model ? model->dat_spelling : "";
}
