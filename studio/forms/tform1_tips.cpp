// The status-bar tips of the controls. A tip is read from the language file
// each time the pointer enters its control, so that an edited language file
// shows at once.
#include "tform1.h"

#include "mouse_enter_leave.h"
#include "studio_texts.h"

#include <utility>

void TForm1::InstallStatusTips() {
    // Tip013 is not used; the two buttons that stay disabled share Tip018.
    const std::pair<QWidget*, const char*> tips[] = {
        {CB_Device, "Tip001"},    {CB_VoutSel, "Tip002"},   {CB_TgMode, "Tip003"},     {BT_AppNote, "Tip004"},
        {CB_Wrt_Device, "Tip005"}, {CB_ComFmt, "Tip006"},   {SG_FileList, "Tip007"},   {GB_MuteTime, "Tip008"},
        {BT_ItemCtl, "Tip009"},   {BT_EditFL, "Tip010"},    {BT_PlayVoice, "Tip011"},  {BT_Remove, "Tip012"},
        {SG_GrpList, "Tip014"},   {BT_GrpSetOK, "Tip015"},  {BT_GrpSetCnl, "Tip016"},  {SG_GrpTab, "Tip017"},
        {B_Save, "Tip018"},       {B_Load, "Tip018"},       {BT_Compile, "Tip019"},    {B_LoadFile, "Tip020"},
        {B_BlankCheck, "Tip021"}, {B_Program, "Tip022"},    {B_Verify, "Tip023"},
    };
    for (const auto& [control, key] : tips) {
        bind_mouse_enter_leave(
            control, [this, key = key] { StatusTipEnter(key); }, [this] { StatusTipLeave(); });
    }
}

void TForm1::StatusTipEnter(const char* key) {
    SB_Status->SetSimpleText(QString::fromStdString(tip_text(LangIni, key)));
}

void TForm1::StatusTipLeave() { SB_Status->SetSimpleText(QString()); }
