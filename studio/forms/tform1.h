// The main form: the "Compiler", "Writer" and "About" pages. Its grids are the
// only store of the voice project while the program runs. The form's
// components are declared with their names, captions and geometry in
// tform1_layout.cpp; its handlers are split by concern over the tform1_*.cpp
// files.
#pragma once

#include "checksum_report.h"
#include "device_vocabulary.h"
#include "ini_file.h"
#include "t_combo_box.h"
#include "t_gauge.h"
#include "t_labeled_edit.h"
#include "t_media_player.h"
#include "t_panels.h"
#include "t_radio_group.h"
#include "t_string_grid.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QWidget>

#include <array>
#include <deque>
#include <string>

class TMyThread;
class TForm2;
enum class writer_function;
struct project_snapshot;

class TForm1 : public QWidget {
public:
    explicit TForm1(QWidget* Owner = nullptr);
    ~TForm1() override;
    void FormCreate();

    // Components: page control and pages.
    QTabWidget* PC_PageSelect;
    QWidget* Compile;
    QWidget* Writer;
    QWidget* About;
    TStatusBar* SB_Status;

    // Compiler page: device, trigger mode, output type, application note, I/O settings.
    TComboBox* CB_Device;
    TComboBox* CB_TgMode;
    TComboBox* CB_VoutSel;
    QPushButton* BT_AppNote;
    TStringGrid* SG_IOSetting;
    // File list.
    TComboBox* CB_ComFmt;
    TStringGrid* SG_FileList;
    QPushButton* BT_ItemCtl;
    QPushButton* BT_EditFL;
    QPushButton* BT_Remove;
    QPushButton* BT_PlayVoice;
    TPopupMenu* PM_ItemSelect;
    QAction* PMB_Add;
    QAction* PMB_AddMute;
    QGroupBox* GB_MuteTime;
    TLabeledEdit* LE_SilTime;
    TLabel* L_MuteUnit;
    QPushButton* BT_MuteTimeSet;
    QPushButton* BT_MuteTimeCancel;
    // Group list, group settings panel and group table.
    TStringGrid* SG_GrpList;
    QFrame* PL_GrpSet;
    TRadioGroup* RG_Lvl;
    TRadioGroup* RG_Hld;
    TRadioGroup* RG_Rtg;
    QPushButton* BT_GrpSetOK;
    QPushButton* BT_GrpSetCnl;
    TStringGrid* SG_GrpTab;
    // Right-click menus.
    TPopupMenu* PM_GrpList;
    QAction* PMB_GrpEdit;
    QAction* PMB_GrpPlay;
    TPopupMenu* PM_GrpTab;
    QAction* PMB_GrpRemove;
    QAction* PMB_MoveUp;
    QAction* PMB_MoveDn;
    TPopupMenu* PM_FileList;
    QAction* PMB_FileAdd;
    QAction* PMB_MuteAdd;
    QAction* PMB_FileEdit;
    QAction* PMB_FilePlay;
    QAction* PMB_Remove;
    // Memory estimate, compile, save and load.
    TCGauge* CG_MemUsg;
    TLabel* LB_MemUsg;
    QPushButton* BT_Compile;
    QPushButton* B_Save;
    QPushButton* B_Load;

    // Writer page.
    TComboBox* CB_Wrt_Device;
    QPushButton* B_LoadFile;
    QPushButton* B_BlankCheck;
    QPushButton* B_Program;
    QPushButton* B_Verify;
    TLabel* L_FileName;
    TLabeledEdit* LE_CheckSum;
    QGroupBox* GB_Status;
    TLabel* L_Status;
    TPanel* P_Tip;
    QProgressBar* ProgBar;

    // About page.
    TLabel* WriterName;
    TLabeledEdit* Version;
    TLabeledEdit* CompileSupport;
    TLabeledEdit* WriterSupport;
    TLabeledEdit* WebSite;
    TLabeledEdit* Email_Sales;
    TLabeledEdit* Email_Support;
    TLabeledEdit* Tel;
    TLabeledEdit* Fax;

    // Fields.
    TMyThread* LastThread = nullptr;
    TDeviceTable DeviceTable;
    ini_file LangIni;
    ini_file SetupIni;
    std::deque<QString> PlayQueue;

    // Device vocabulary.
    std::string GetDeviceSymbol(const std::string& code) const;
    int32_t GetDeviceSize(const std::string& code) const;
    std::string GetDeviceCode(const std::string& symbol) const;
    int GetDeviceIndex(const std::string& symbol) const;
    std::string DeviceNameToCode(const std::string& model) const;
    std::string DeviceCodeToName(const std::string& code) const;
    std::string GetDatDeviceName(const std::string& path) const;
    std::string GetTriggerModeCode() const;

    // Output type, trigger modes and application note.
    void CB_DeviceChange();
    void BT_AppNoteClick();

    // Trigger-mode settings and group list.
    void CB_TgModeChange();

    // File list.
    void BT_ItemCtlClick();
    void PMB_AddClick();
    void PMB_AddMuteClick();
    void BT_EditFLClick();
    void BT_RemoveClick();
    void BT_MuteTimeSetClick();
    void LE_SilTimeKeyUp(int key);
    void BT_MuteTimeCancelClick();
    void CB_ComFmtChange();
    void SG_FileListDblClick();
    void SG_FileListSelectCell(int col, int row);
    bool FindSoundItem(const QString& id, QString& name, QString& rate, QString& path, QString& type) const;
    void ApplyMuteTime();
    // File-list helpers: the current row selected again (down one row and back) so that the buttons follow it;
    // the first row without an item id; the id a new item gets after row `row`, or a box and false at I9999.
    void ReselectFileRow();
    int FirstEmptyFileRow() const;
    bool NextItemId(int row, QString& id);
    void SetMuteEditorOpen(bool open);
    // The mute being edited: new (Cancel removes it) or opened with Edit (Cancel restores these texts).
    bool MuteIsNew = false;
    QString MuteOldName;
    QString MuteOldPath;

    // Memory estimate.
    void UpdateMemoryUsage();

    // Group editing and group table.
    void RefreshGroupTable(int row);
    void SG_GrpListSelectCell(int col, int row);
    void SG_GrpListDblClick();
    void PMB_GrpEditClick();
    void BT_GrpSetOKClick();
    void BT_GrpSetCnlClick();
    void SG_GrpListMouseDown(Qt::MouseButton button, const QPoint& point);
    void SG_GrpTabMouseDown(Qt::MouseButton button, const QPoint& point);
    void SG_FileListMouseDown(Qt::MouseButton button, const QPoint& point);
    void PMB_GrpRemoveClick();
    void PMB_MoveUpClick();
    void PMB_MoveDnClick();
    void SG_GrpTabDblClick();
    void RemoveSoundItem();
    void PMB_FileAddClick();
    void PMB_MuteAddClick();
    void PMB_FileEditClick();
    void PMB_FilePlayClick();
    void PMB_RemoveClick();
    // Group-editing helpers: whether a group row is selected; the group table written back into its item list.
    bool GroupSelected() const;
    void WriteBackGroupTable();

    // Compile pipeline.
    void BT_CompileClick();
    int WriteScriptFiles();
    int RunEncoder();
    int WriteLinkScript();
    int RunImageBuilder();
    int WriteCompileReport();
    // The project as the grids and lists hold it now; without the rows, only the choices of the lists.
    project_snapshot ProjectSnapshot(bool with_rows = true) const;
    QString SaveDatFileName;  // SD_SaveDat's FileName: the DAT path of the compile in progress
    // Where the compile steps write the image and its report: hidden files beside the chosen ones, which take
    // their places when every step has succeeded.
    std::string DatImageFile;
    std::string DatReportFile;

    // Checksum query: QavChk verifies the DAT for the ROM size (hexadecimal text) and reports its checksum.
    checksum_query_result GetImageCheckSum(const QString& dat_path, const QString& rom_size);

    // Writer page.
    void B_LoadFileClick();
    void B_BlankCheckClick();
    void B_ProgramClick();
    void B_VerifyClick();
    void DisableWriterControls();
    void EnableWriterControls();
    void ShowWriterResult(int exit_code, const QString& operation);

private:
    // Blank Check, Program and Verify: one procedure over the operation table.
    void RunWriterOperation(writer_function function);
    // The writer controls, and with them every way to another page: one child program at a time.
    void SetWriterControlsEnabled(bool enabled);

public:
    // Playback. MP_Play is not visible; it is made and bound in tform1_playback.cpp.
    TMediaPlayer* MP_Play = CreateMediaPlayer();
    void BT_PlayVoiceClick();
    void PMB_GrpPlayClick();
    void MP_PlayNotify();
    void MP_PlayError(const QString& message);
    void SetPlayCaptions(const QString& caption);
    void StartPlaySound();
    void PlayFile(const QString& path);
    void StopPlayback();
    TMediaPlayer* CreateMediaPlayer();

    // Status tips: the control's tip from the language file while the pointer is over it.
    void StatusTipEnter(const char* key);
    void StatusTipLeave();

    // About-page links.
    void WebSiteClick();
    void Email_SalesClick();
    void Email_SupportClick();

    // A language-file message text ([Message]), read now.
    QString Msg(const char* key) const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateComponents();   // tform1_layout.cpp: the form resource
    void BindHandlers();       // tform1_layout.cpp: events to handlers
    void InstallStatusTips();  // tform1_tips.cpp: the status-bar tips of the controls
};

// The main form, created by the program entry.
extern TForm1* Form1;
