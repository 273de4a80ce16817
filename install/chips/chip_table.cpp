#include "chip_table.h"

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
        {"Y1", "KOVA3k10", 2, 0x040, 0x240, 60},
        {"Y2", "KOVA3k21", 2, 0x080, 0x300, 80},
        {"Y3", "KOVA3k42", 2, 0x048, 0x448, 120},
        {"Z1", "KOVA10", 1, 0x010, 0x210, 0},
        {"Z2", "KOVA21", 1, 0x100, 0x400, 0},
        {"Z3", "KOVA42", 1, 0x020, 0x320, 0},
        {"Z4", "KOVA85", 1, 0x200, 0x600, 0},
        {"Z6", "KOVA341", 1, 0x100, 0x900, 0},
    };
    return devices;
}

const std::vector<chip_mode>& chip_modes() {
    // Every Offset differs from its digit's other modes and none is 600, the
    // value a reader assumes when the file says nothing.
    static const std::vector<chip_mode> modes = {
        {'1', '1', 0x480, 8, 1, &kPins, &kKeySingle},
        {'1', '2', 0x4C0, 4, 1, &kPins, &kKeySequential},
        {'1', '3', 0x500, 16, 1, &kPulsePins, &kPulseCount},
        {'1', '4', 0x540, 16, 1, &kPulsePins, &kPulseWidth},
        {'1', '5', 0x580, 32, 0, &kSerialSignals, &kSerialPins},
        {'1', '8', 0x5C0, 32, 1, &kPins, &kAddress},
        {'2', '1', 0x680, 8, 1, &kPins, &kKeySingle},
        {'2', '2', 0x6C0, 4, 1, &kPins, &kKeySequential},
        {'2', '3', 0x700, 16, 1, &kPulsePins, &kPulseCount},
        {'2', '8', 0x740, 64, 1, &kPins, &kAddress},
        {'3', '1', 0x780, 8, 1, &kPins, &kKeySingle},
        {'3', '2', 0x7C0, 4, 1, &kPins, &kKeySequential},
        {'3', '4', 0x800, 32, 1, &kPulsePins, &kPulseWidth},
        {'3', '5', 0x840, 64, 0, &kSerialSignals, &kSerialPins},
        {'4', '1', 0x880, 8, 1, &kPins, &kKeySingle},
        {'4', '2', 0x8C0, 4, 1, &kPins, &kKeySequential},
        {'4', '3', 0x900, 32, 1, &kPulsePins, &kPulseCount},
        {'4', '4', 0x940, 32, 1, &kPulsePins, &kPulseWidth},
        {'4', '8', 0x980, 128, 1, &kPins, &kAddress},
        {'6', '1', 0xA80, 16, 1, &kPins, &kKeySingle},
        {'6', '2', 0xAC0, 8, 1, &kPins, &kKeySequential},
        {'6', '3', 0xB00, 64, 1, &kPulsePins, &kPulseCount},
        {'6', '4', 0xB40, 64, 1, &kPulsePins, &kPulseWidth},
        {'6', '5', 0xB80, 128, 0, &kSerialSignals, &kSerialPins},
        {'6', '8', 0xBC0, 255, 1, &kPins, &kAddress},
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
