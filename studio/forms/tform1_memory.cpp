// The memory usage estimate: gauge, label and the Compile button's state.
#include "tform1.h"

#include "grid_columns.h"

#include "bgr_color.h"
#include "ini_file.h"
#include "memory_estimate.h"
#include "mode_settings.h"
#include "program_folder.h"

void TForm1::UpdateMemoryUsage() {
    CG_MemUsg->SetMinValue(0);
    const int index = GetDeviceIndex(CB_Device->Text().toStdString());
    // The gauge refuses a maximum of 0 or below and keeps the one before.
    CG_MemUsg->SetMaxValue(index < 0 ? 0 : DeviceTable[index].Size);

    const std::string key = mode_key(index < 0 ? std::string() : DeviceTable[index].Code, GetTriggerModeCode());
    memory_estimate_input input;
    input.offset_text = estimate_offset_text(ini_file(mode_settings_path(ProgramFolder(), key)));
    input.size_cells.reserve(SG_FileList->RowCount());
    for (int row = 1; row < SG_FileList->RowCount(); ++row)
        input.size_cells.push_back(SG_FileList->Cells(file_column::kSize, row).toStdString());
    input.group_item_lists.reserve(SG_GrpList->RowCount());
    for (int row = 1; row < SG_GrpList->RowCount(); ++row)
        input.group_item_lists.push_back(SG_GrpList->Cells(group_column::kItemList, row).toStdString());

    const memory_usage usage = evaluate_memory_usage(estimate_bytes(input), CG_MemUsg->MaxValue());
    CG_MemUsg->SetProgress(usage.bytes);
    LB_MemUsg->SetCaption(QString::fromStdString(memory_usage_text(usage.percent)));
    CG_MemUsg->setAccessibleDescription(LB_MemUsg->Caption());  // the label over the bar
    set_font_color(LB_MemUsg, usage.fits ? kBgrBlue : kBgrRed);
    BT_Compile->setEnabled(usage.fits);
}
