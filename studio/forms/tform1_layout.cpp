// The main form's resource: every component with its name, caption and
// geometry (absolute, in pixels, relative to its parent), and the binding of
// its events to the handlers.
#include "tform1.h"

#include "bgr_color.h"
#include "component_place.h"

#include <QHeaderView>

namespace {

constexpr int kClientWidth = 794;
constexpr int kClientHeight = 568;
constexpr int kStatusHeight = 19;

QPushButton* button(QWidget* parent, const char* name, const char* caption, const QRect& bounds) {
    return place(new QPushButton(caption, parent), name, bounds);
}

TLabel* label(QWidget* parent, const char* name, const char* caption, const QRect& bounds) {
    auto* text = place(new TLabel(parent), name, bounds);
    text->SetCaption(caption);
    return text;
}

TComboBox* combo(QWidget* parent, const char* name, const QRect& bounds) {
    return place(new TComboBox(parent), name, bounds);
}

TLabeledEdit* labeled_edit(QWidget* parent, const char* name, const char* caption, const QRect& bounds,
                           bool read_only) {
    auto* edit = new TLabeledEdit(parent);
    edit->setObjectName(name);
    edit->EditLabel()->setObjectName(QString(name) + "_Label");
    edit->SetBounds(bounds);
    edit->SetLabelCaption(caption);
    edit->setReadOnly(read_only);
    return edit;
}

TStringGrid* grid(QWidget* parent, const char* name, const QRect& bounds, int cols, int rows, int fixed_rows) {
    auto* table = place(new TStringGrid(parent), name, bounds);
    table->SetColCount(cols);
    table->SetRowCount(rows);
    table->SetFixedRows(fixed_rows);
    return table;
}

TRadioGroup* radio_group(QWidget* parent, const char* name, const char* caption, const QStringList& items,
                         const QRect& bounds) {
    auto* group = place(new TRadioGroup(parent), name, bounds);
    group->setTitle(caption);
    group->SetItems(items);
    return group;
}

}  // namespace

void TForm1::CreateComponents() {
    setObjectName("Form1");
    setFixedSize(kClientWidth, kClientHeight);
    set_background_color(this, kBgr3DLight);

    PC_PageSelect =
        place(new QTabWidget(this), "PC_PageSelect", QRect(0, 0, kClientWidth, kClientHeight - kStatusHeight));
    Compile = new QWidget();
    Compile->setObjectName("Compile");
    Writer = new QWidget();
    Writer->setObjectName("Writer");
    About = new QWidget();
    About->setObjectName("About");
    PC_PageSelect->addTab(Compile, "Compiler");
    PC_PageSelect->addTab(Writer, "Writer");
    PC_PageSelect->addTab(About, "About");
    SB_Status = place(new TStatusBar(this), "SB_Status",
                      QRect(0, kClientHeight - kStatusHeight, kClientWidth, kStatusHeight));

    // Compiler page, top panel.
    QWidget* page = Compile;
    label(page, "L_Device", "Device:", QRect(8, 4, 150, 16));
    CB_Device = combo(page, "CB_Device", QRect(8, 21, 150, 22));
    label(page, "L_TgMode", "Trigger Mode:", QRect(166, 4, 180, 16));
    CB_TgMode = combo(page, "CB_TgMode", QRect(166, 21, 180, 22));
    label(page, "L_VoutSel", "Output Type:", QRect(354, 4, 160, 16));
    CB_VoutSel = combo(page, "CB_VoutSel", QRect(354, 21, 160, 22));
    BT_AppNote = button(page, "BT_AppNote", "Application Note", QRect(660, 20, 120, 24));
    SG_IOSetting = grid(page, "SG_IOSetting", QRect(8, 50, 772, 42), 11, 2, 1);
    SG_IOSetting->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SG_IOSetting->SetMarksCurrentRow(false);
    for (int col = 0; col < 11; ++col) SG_IOSetting->SetColWidth(col, 70);
    SG_IOSetting->SetDefaultRowHeight(19);

    // File list.
    label(page, "L_ComFmt", "Compression Format:", QRect(8, 101, 120, 16));
    CB_ComFmt = combo(page, "CB_ComFmt", QRect(130, 98, 120, 22));
    for (const std::string& format : compression_formats()) CB_ComFmt->Add(QString::fromStdString(format));
    CB_ComFmt->SetItemIndex(0);
    SG_FileList = grid(page, "SG_FileList", QRect(8, 124, 385, 322), 7, 23, 1);
    BT_ItemCtl = button(page, "BT_ItemCtl", "Add", QRect(8, 452, 90, 25));
    BT_EditFL = button(page, "BT_EditFL", "Edit", QRect(106, 452, 90, 25));
    BT_Remove = button(page, "BT_Remove", "Remove", QRect(204, 452, 90, 25));
    BT_PlayVoice = button(page, "BT_PlayVoice", "Play", QRect(302, 452, 91, 25));
    PM_ItemSelect = new TPopupMenu(this);
    PM_ItemSelect->setObjectName("PM_ItemSelect");
    PMB_Add = PM_ItemSelect->AddItem("PMB_Add", "Wave");
    PMB_AddMute = PM_ItemSelect->AddItem("PMB_AddMute", "Mute");
    GB_MuteTime = place(new QGroupBox(" Mute Time (1-60000) mS ", page), "GB_MuteTime", QRect(60, 200, 280, 64));
    set_background_color(GB_MuteTime, kBgr3DLight);  // it lies over the file list
    LE_SilTime = labeled_edit(GB_MuteTime, "LE_SilTime", "", QRect(12, 28, 100, 22), false);
    LE_SilTime->EditLabel()->hide();
    L_MuteUnit = label(GB_MuteTime, "L_MuteUnit", "mS", QRect(116, 31, 24, 16));
    BT_MuteTimeSet = button(GB_MuteTime, "BT_MuteTimeSet", "OK", QRect(146, 27, 56, 24));
    BT_MuteTimeCancel = button(GB_MuteTime, "BT_MuteTimeCancel", "Cancel", QRect(208, 27, 62, 24));
    GB_MuteTime->hide();

    // Group list, its settings panel and the group table.
    SG_GrpList = grid(page, "SG_GrpList", QRect(401, 98, 379, 150), 6, 1, 0);
    // The group list's and group table's columns are wider together than the grids: scroll to the last ones.
    SG_GrpList->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    PL_GrpSet = place(new QFrame(page), "PL_GrpSet", QRect(401, 98, 379, 150));
    PL_GrpSet->setFrameStyle(QFrame::Panel | QFrame::Raised);
    set_background_color(PL_GrpSet, kBgr3DLight);
    RG_Lvl = radio_group(PL_GrpSet, "RG_Lvl", " Edge ", {"Level", "Edge"}, QRect(8, 8, 112, 70));
    RG_Hld = radio_group(PL_GrpSet, "RG_Hld", " Holdable ", {"UnHoldable", "Holdable"}, QRect(128, 8, 116, 70));
    RG_Rtg = radio_group(PL_GrpSet, "RG_Rtg", " Retrigger ", {"Non-Retrigger", "Retrigger"}, QRect(252, 8, 118, 70));
    BT_GrpSetOK = button(PL_GrpSet, "BT_GrpSetOK", "OK", QRect(196, 112, 80, 26));
    BT_GrpSetCnl = button(PL_GrpSet, "BT_GrpSetCnl", "Cancel", QRect(284, 112, 80, 26));
    PL_GrpSet->hide();
    SG_GrpTab = grid(page, "SG_GrpTab", QRect(401, 254, 379, 224), 7, 13, 1);
    SG_GrpTab->SetColWidth(6, 50);
    SG_GrpTab->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    PM_GrpList = new TPopupMenu(this);
    PM_GrpList->setObjectName("PM_GrpList");
    PMB_GrpEdit = PM_GrpList->AddItem("PMB_GrpEdit", "Edit");
    PMB_GrpPlay = PM_GrpList->AddItem("PMB_GrpPlay", "Play");
    PM_GrpTab = new TPopupMenu(this);
    PM_GrpTab->setObjectName("PM_GrpTab");
    PMB_GrpRemove = PM_GrpTab->AddItem("PMB_GrpRemove", "Remove");
    PMB_MoveUp = PM_GrpTab->AddItem("PMB_MoveUp", "Move Up");
    PMB_MoveDn = PM_GrpTab->AddItem("PMB_MoveDn", "Move Down");
    PM_FileList = new TPopupMenu(this);
    PM_FileList->setObjectName("PM_FileList");
    PMB_FileAdd = PM_FileList->AddItem("PMB_FileAdd", "Add File");
    PMB_MuteAdd = PM_FileList->AddItem("PMB_MuteAdd", "Add Mute");
    PMB_FileEdit = PM_FileList->AddItem("PMB_FileEdit", "Edit");
    PMB_FilePlay = PM_FileList->AddItem("PMB_FilePlay", "Play");
    PMB_Remove = PM_FileList->AddItem("PMB_Remove", "Remove");

    // Memory estimate and the bottom buttons.
    CG_MemUsg = place(new TCGauge(page), "CG_MemUsg", QRect(8, 484, 385, 24));
    CG_MemUsg->SetForeColor(kBgrSkyBlue);
    CG_MemUsg->setAccessibleName("Memory Usage");
    LB_MemUsg = label(page, "LB_MemUsg", "", QRect(8, 484, 385, 24));
    LB_MemUsg->setAlignment(Qt::AlignCenter);
    LB_MemUsg->setAttribute(Qt::WA_TranslucentBackground);
    B_Save = button(page, "B_Save", "Save", QRect(401, 483, 80, 26));
    B_Load = button(page, "B_Load", "Load", QRect(487, 483, 80, 26));
    B_Save->setEnabled(false);
    B_Load->setEnabled(false);
    BT_Compile = button(page, "BT_Compile", "Compile", QRect(690, 483, 90, 26));

    // Writer page.
    page = Writer;
    label(page, "L_WrtDevice", "Device:", QRect(20, 20, 200, 16));
    CB_Wrt_Device = combo(page, "CB_Wrt_Device", QRect(20, 38, 200, 22));
    B_LoadFile = button(page, "B_LoadFile", "Load File", QRect(20, 80, 200, 30));
    B_BlankCheck = button(page, "B_BlankCheck", "Blank Check", QRect(20, 125, 200, 30));
    B_Program = button(page, "B_Program", "Program", QRect(20, 170, 200, 30));
    B_Verify = button(page, "B_Verify", "Verify", QRect(20, 215, 200, 30));
    label(page, "L_DatFile", "DAT File:", QRect(240, 20, 200, 16));
    L_FileName = label(page, "L_FileName", "", QRect(240, 38, 540, 22));
    L_FileName->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    LE_CheckSum = labeled_edit(page, "LE_CheckSum", "CheckSum", QRect(240, 90, 100, 22), true);
    GB_Status = place(new QGroupBox(" Status ", page), "GB_Status", QRect(240, 125, 540, 200));
    L_Status = label(GB_Status, "L_Status", "", QRect(12, 22, 516, 168));
    L_Status->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    L_Status->setWordWrap(true);
    P_Tip = place(new TPanel(page), "P_Tip", QRect(240, 335, 540, 40));
    P_Tip->setAccessibleName("Result");
    QFont bold = P_Tip->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 4);
    P_Tip->setFont(bold);
    ProgBar = place(new QProgressBar(page), "ProgBar", QRect(20, 395, 760, 22));
    ProgBar->setRange(0, 100);
    ProgBar->setValue(0);
    ProgBar->setTextVisible(false);

    // About page.
    page = About;
    WriterName = label(page, "WriterName", "KOVA Sound Compiler", QRect(30, 20, 500, 36));
    QFont title = WriterName->font();
    title.setBold(true);
    title.setPointSize(title.pointSize() + 10);
    WriterName->setFont(title);
    Version = labeled_edit(page, "Version", "Version", QRect(30, 90, 300, 22), true);
    CompileSupport = labeled_edit(page, "CompileSupport", "Compiler Supported Devices", QRect(30, 140, 740, 22), true);
    WriterSupport = labeled_edit(page, "WriterSupport", "Writer Supported Devices", QRect(30, 190, 740, 22), true);
    WebSite = labeled_edit(page, "WebSite", "Web Site", QRect(30, 250, 350, 22), true);
    Email_Sales = labeled_edit(page, "Email_Sales", "E-Mail(Sales)", QRect(420, 250, 350, 22), true);
    Email_Support = labeled_edit(page, "Email_Support", "E-Mail(Support)", QRect(30, 300, 350, 22), true);
    Tel = labeled_edit(page, "Tel", "Tel", QRect(420, 300, 170, 22), true);
    Fax = labeled_edit(page, "Fax", "Fax", QRect(600, 300, 170, 22), true);
    for (TLabeledEdit* link : {WebSite, Email_Sales, Email_Support}) link->setCursor(Qt::PointingHandCursor);
}

void TForm1::BindHandlers() {
    CB_Device->OnChange = [this] { CB_DeviceChange(); };
    CB_TgMode->OnChange = [this] { CB_TgModeChange(); };
    CB_ComFmt->OnChange = [this] { CB_ComFmtChange(); };
    connect(BT_AppNote, &QPushButton::clicked, this, [this] { BT_AppNoteClick(); });

    connect(BT_ItemCtl, &QPushButton::clicked, this, [this] { BT_ItemCtlClick(); });
    connect(PMB_Add, &QAction::triggered, this, [this] { PMB_AddClick(); });
    connect(PMB_AddMute, &QAction::triggered, this, [this] { PMB_AddMuteClick(); });
    connect(BT_EditFL, &QPushButton::clicked, this, [this] { BT_EditFLClick(); });
    connect(BT_Remove, &QPushButton::clicked, this, [this] { BT_RemoveClick(); });
    connect(BT_PlayVoice, &QPushButton::clicked, this, [this] { BT_PlayVoiceClick(); });
    connect(BT_MuteTimeSet, &QPushButton::clicked, this, [this] { BT_MuteTimeSetClick(); });
    connect(BT_MuteTimeCancel, &QPushButton::clicked, this, [this] { BT_MuteTimeCancelClick(); });
    LE_SilTime->OnKeyUp = [this](int key) { LE_SilTimeKeyUp(key); };
    SG_FileList->OnSelectCell = [this](int col, int row) { SG_FileListSelectCell(col, row); };
    SG_FileList->OnDblClick = [this] { SG_FileListDblClick(); };
    SG_FileList->OnMouseDown = [this](Qt::MouseButton b, const QPoint& p) { SG_FileListMouseDown(b, p); };

    SG_GrpList->OnSelectCell = [this](int col, int row) { SG_GrpListSelectCell(col, row); };
    SG_GrpList->OnDblClick = [this] { SG_GrpListDblClick(); };
    SG_GrpList->OnMouseDown = [this](Qt::MouseButton b, const QPoint& p) { SG_GrpListMouseDown(b, p); };
    SG_GrpTab->OnDblClick = [this] { SG_GrpTabDblClick(); };
    SG_GrpTab->OnMouseDown = [this](Qt::MouseButton b, const QPoint& p) { SG_GrpTabMouseDown(b, p); };
    connect(BT_GrpSetOK, &QPushButton::clicked, this, [this] { BT_GrpSetOKClick(); });
    connect(BT_GrpSetCnl, &QPushButton::clicked, this, [this] { BT_GrpSetCnlClick(); });
    connect(PMB_GrpEdit, &QAction::triggered, this, [this] { PMB_GrpEditClick(); });
    connect(PMB_GrpPlay, &QAction::triggered, this, [this] { PMB_GrpPlayClick(); });
    connect(PMB_GrpRemove, &QAction::triggered, this, [this] { PMB_GrpRemoveClick(); });
    connect(PMB_MoveUp, &QAction::triggered, this, [this] { PMB_MoveUpClick(); });
    connect(PMB_MoveDn, &QAction::triggered, this, [this] { PMB_MoveDnClick(); });
    connect(PMB_FileAdd, &QAction::triggered, this, [this] { PMB_FileAddClick(); });
    connect(PMB_MuteAdd, &QAction::triggered, this, [this] { PMB_MuteAddClick(); });
    connect(PMB_FileEdit, &QAction::triggered, this, [this] { PMB_FileEditClick(); });
    connect(PMB_FilePlay, &QAction::triggered, this, [this] { PMB_FilePlayClick(); });
    connect(PMB_Remove, &QAction::triggered, this, [this] { PMB_RemoveClick(); });
    connect(BT_Compile, &QPushButton::clicked, this, [this] { BT_CompileClick(); });

    connect(B_LoadFile, &QPushButton::clicked, this, [this] { B_LoadFileClick(); });
    connect(B_BlankCheck, &QPushButton::clicked, this, [this] { B_BlankCheckClick(); });
    connect(B_Program, &QPushButton::clicked, this, [this] { B_ProgramClick(); });
    connect(B_Verify, &QPushButton::clicked, this, [this] { B_VerifyClick(); });

    WebSite->OnClick = [this] { WebSiteClick(); };
    Email_Sales->OnClick = [this] { Email_SalesClick(); };
    Email_Support->OnClick = [this] { Email_SupportClick(); };
    InstallStatusTips();
}
