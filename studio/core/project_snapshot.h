// The voice project as the compiler page holds it, copied out of its grids and
// combo boxes, so that every file written from it can be built without widgets.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct sound_item {        // one file-list row (rows 1..RowCount-1, empty rows included), all cell texts
    std::string name;      // column 0 ("Mute: 250 mS" for a mute)
    std::string rate;      // column 1 ("--" for a mute)
    std::string size;      // column 2
    std::string type;      // column 3 ("8-bit PCM", "Mute", "4-bit ADPCM", "5-bit u-Law", "" for an empty row)
    std::string path;      // column 5 ("*Mute250" for a mute)
    std::string id;        // column 6 ("I0001")
};

struct voice_group {       // one group-list row (rows 1..RowCount-1)
    std::string edge;      // column 1: "Edge" or "Level"
    std::string hold;      // column 2: "Holdable" or "UnHoldable"
    std::string retrigger; // column 3: "Retrigger" or "Non-Retrigger"
    std::string item_list; // column 5: 6-character entries, item id and busy flag
};

struct project_snapshot {
    std::vector<sound_item> items;
    std::vector<voice_group> groups;
    std::string device_text;       // CB_Device text
    std::string device_code;       // its device code ("" when none)
    int32_t device_size = -1;      // ROM size of the device code (-1 when none)
    std::string output_type;       // CB_VoutSel text
    std::string trigger_mode;      // CB_TgMode text
    std::string mode_code;         // trigger-mode code ("" when none)
    int compression_index = -1;    // CB_ComFmt item index
    std::string compression_text;  // CB_ComFmt text
};
