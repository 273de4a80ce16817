#include "studio_texts.h"

#include "ini_file.h"

const std::vector<studio_text>& studio_texts() {
    static const std::vector<studio_text> texts = {
        {"Message", "Msg001", "Mute time must be a number  between 1 to 60,000!"},
        {"Message", "Msg002", "Same mute has been added! Remove this one?"},
        {"Message", "Msg003", "Same wave file has been added:"},
        {"Message", "Msg004", "is not a 8-bit mono wave file!"},
        {"Message", "Msg005", "No file has been assigned to any voice group!"},
        {"Message", "Msg006", "File"},
        {"Message", "Msg007", "already exist. Do you want to replace it?"},
        {"Message", "Msg008", "Compile failed!"},
        {"Message", "Msg009", "DAT file not loaded!!!"},
        {"Message", "Msg010", "Please click the \"Load File\" button to load DAT file!"},
        {"Message", "Msg011", "Unmatch Device!!!"},
        {"Message", "Msg012", "The loaded DAT file does not match with the selected Device."},
        {"Message", "Msg013", "Loaded DAT file:"},
        {"Message", "Msg014", "Selected Device:"},
        {"Message", "Msg015", "Please re-select Device."},
        {"Message", "Msg016", "Incorrect writer firmware detected.  Update firmware now?"},
        {"Message", "Msg017", "DO NOT disconnect USB cable during firmware update!"},
        {"Message", "Msg018", "Please click \"OK\" to start update."},
        {"Message", "Msg021", "This file is not an KOVA DAT file!"},
        {"Message", "Msg023", "This loaded DAT file is for: "},
        {"Message", "Msg024", "DAT file Check Sum: "},
        {"Message", "Msg025", "Check Sum Failed!"},
        {"Message", "Msg026", "DAT file load error!"},
        {"Message", "Msg027",
         "Using this volume level means large speaker current, please follow the precaustions below to avoid "
         "system hang-up: "},
        {"Message", "Msg028",
         "* The 0.1uF power decoupling capacitor must be connected directly to the VDD and VSS pins."},
        {"Message", "Msg029", "* Use 16\u03A9 speaker, or add a 10\u03A9 resistor in series to a 8\u03A9 speaker."},
        {"Message", "Msg030",
         "* The two 0.1uF power decoupling capacitors connected between VDD to VSS and VDDA to VSSA must be "
         "directly to the chip pins."},
        {"Status", "Tip001", "Select Device"},
        {"Status", "Tip002", "Select Voice Output Type"},
        {"Status", "Tip003", "Select Trigger Mode"},
        {"Status", "Tip004", "Open Application Note of the current setting (PDF)"},
        {"Status", "Tip005", "Select Device"},
        {"Status", "Tip006", "Select Compression Method"},
        {"Status", "Tip007", "Double click the File Name to add sound to Group. "},
        {"Status", "Tip008", "Fill in Mute section (1 to 60000ms) and click OK."},
        {"Status", "Tip009", "Add Sound File or Mute section"},
        {"Status", "Tip010", "Change Sound Compression Method or Mute time duration"},
        {"Status", "Tip011", "Playback the selected sound"},
        {"Status", "Tip012", "Remove Sound File or Mute"},
        {"Status", "Tip014", "Doble Click or Right Click to select Trigger Mode for Voice Group"},
        {"Status", "Tip015", "Save Settings"},
        {"Status", "Tip016", "Cancle"},
        {"Status", "Tip017",
         "Double click to Enable/Disable Busy output, right click to change order or remove sound"},
        {"Status", "Tip018", ""},
        {"Status", "Tip019", "Transform the above setting into DAT file for programming"},
        {"Status", "Tip020", "Load DAT file"},
        {"Status", "Tip021", "Blank check the device"},
        {"Status", "Tip022", "Program the loaded DAT file into device"},
        {"Status", "Tip023", "Compare the device contents with the loaded DAT file"},
    };
    return texts;
}

std::string builtin_text(const std::string& section, const std::string& key) {
    for (const studio_text& text : studio_texts()) {
        if (section == text.section && key == text.key) return text.english;
    }
    return {};
}

std::string language_text(const ini_file& language, const std::string& section, const std::string& key) {
    return language.read_string(section, key, builtin_text(section, key));
}

std::string message_text(const ini_file& language, const std::string& key) {
    return language_text(language, "Message", key);
}

std::string tip_text(const ini_file& language, const std::string& key) { return language_text(language, "Status", key); }
