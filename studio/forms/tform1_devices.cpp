// The device vocabulary on the main form, the output-type and trigger-mode
// lists that follow the device, and the application note.
#include "tform1.h"

#include "pipeline_files.h"
#include "program_folder.h"
#include "studio_services.h"

std::string TForm1::GetDeviceSymbol(const std::string& code) const { return device_symbol(DeviceTable, code); }
int32_t TForm1::GetDeviceSize(const std::string& code) const { return device_size(DeviceTable, code); }
std::string TForm1::GetDeviceCode(const std::string& symbol) const { return device_code(DeviceTable, symbol); }
int TForm1::GetDeviceIndex(const std::string& symbol) const { return device_index(DeviceTable, symbol); }
std::string TForm1::DeviceNameToCode(const std::string& model) const { return device_name_to_code(model); }
std::string TForm1::DeviceCodeToName(const std::string& code) const { return device_code_to_name(code); }
std::string TForm1::GetDatDeviceName(const std::string& path) const { return dat_device_name(path); }
std::string TForm1::GetTriggerModeCode() const { return trigger_mode_code(CB_TgMode->Text().toStdString()); }

void TForm1::CB_DeviceChange() {
    const int index = GetDeviceIndex(CB_Device->Text().toStdString());
    if (index < 0) return;
    const std::string& section = DeviceTable[index].Code;

    CB_VoutSel->Clear();
    const int32_t vout = SetupIni.read_integer(section, "Vout", 0);
    const int32_t cout = SetupIni.read_integer(section, "Cout", 0);
    for (const std::string& item : output_type_items(vout, cout)) CB_VoutSel->Add(QString::fromStdString(item));
    CB_VoutSel->SetItemIndex(0);

    const QString kept = CB_TgMode->Text();
    CB_TgMode->Clear();
    for (const std::string& item : trigger_mode_items(SetupIni.read_integer(section, "Pack", 0))) {
        CB_TgMode->Add(QString::fromStdString(item));
    }
    const int same = CB_TgMode->IndexOf(kept);
    CB_TgMode->SetItemIndex(same >= 0 ? same : 0);

    CB_TgModeChange();
    UpdateMemoryUsage();
}

void TForm1::BT_AppNoteClick() {
    const int index = GetDeviceIndex(CB_Device->Text().toStdString());
    if (index < 0) return;
    const std::string mode = GetTriggerModeCode();
    if (mode.empty()) return;
    const std::string& code = DeviceTable[index].Code;
    services().shell->open(QString::fromStdString(ProgramFolder() + application_note_file(code, mode)));
}
