// The main form's construction: settings and language files, the device
// table and lists, the About page and its links, the grid headers, and the
// start form.
#include "tform1.h"

#include "my_thread.h"
#include "program_folder.h"
#include "studio_services.h"
#include "studio_texts.h"
#include "tform2.h"

#include <QCloseEvent>
#include <QCoreApplication>

TForm1* Form1 = nullptr;

namespace {

struct grid_column {
    int width;
    const char* header;
};

void set_columns(TStringGrid* grid, std::initializer_list<grid_column> columns) {
    int col = 0;
    for (const grid_column& column : columns) {
        grid->SetColWidth(col, column.width);
        grid->SetCells(col, 0, column.header);
        ++col;
    }
}

// The values of the maker's contact fields on the About page.
constexpr const char* kWebSite = "https://www.zorva.example";
constexpr const char* kSalesMail = "sales@zorva.example";
constexpr const char* kSupportMail = "support@zorva.example";
constexpr const char* kTelephone = "+1 555 0100 200";
constexpr const char* kFax = "+1 555 0100 201";

}  // namespace

TForm1::TForm1(QWidget* Owner)
    : QWidget(Owner),
      SetupIni(SetupIniPath()) {
    Form1 = this;
    LangIni = ini_file(LanguageIniPath(SetupIni));
    CreateComponents();
    BindHandlers();
    FormCreate();
}

TForm1::~TForm1() {
    if (Form1 == this) Form1 = nullptr;
}

void TForm1::FormCreate() {
    DebugMode = SetupIni.read_bool("System", "DbgMode", false);
    Version->SetText(QString::fromStdString(SetupIni.read_string("System", "SwVer", "Unknow Version")));

    DeviceTable = build_device_table(SetupIni);
    for (const TDeviceEntry& entry : DeviceTable) {
        if (entry.Symbol.empty()) continue;
        CB_Device->Add(QString::fromStdString(entry.Symbol));
        CB_Wrt_Device->Add(QString::fromStdString(entry.Symbol));
    }
    const QString support = QString::fromStdString(support_text(DeviceTable));
    CompileSupport->SetText(support);
    WriterSupport->SetText(support);

    CB_Device->SetItemIndex(0);
    CB_Wrt_Device->SetItemIndex(0);
    CB_DeviceChange();

    setWindowTitle(WriterName->Caption() + " - " + Version->Text());
    WebSite->SetText(kWebSite);
    Email_Sales->SetText(kSalesMail);
    Email_Support->SetText(kSupportMail);
    Tel->SetText(kTelephone);
    Fax->SetText(kFax);

    // Rate and Type are as wide as a five-digit rate and the longer compression name need in the default sans
    // font, so that neither is cut.
    set_columns(SG_FileList, {{100, "File Name"}, {50, "Rate"}, {55, "Size"}, {88, "Type"}, {100, ""},
                              {0, "File Path"}, {0, "I0000"}});
    set_columns(SG_GrpList, {{100, "Group"}, {100, "Edge"}, {100, "Holdable"}, {100, "ReTrigger"}, {100, ""},
                             {0, "ItemList"}});
    set_columns(SG_GrpTab, {{150, "Voice File"}, {50, "Rate"}, {100, "Type"}, {100, "Busy Enable"}, {100, ""},
                            {0, "Code"}});

    // The select-cell handler sets the file-list buttons.
    ReselectFileRow();

    Form2 = new TForm2();
    Form2->show();
    services().sounds->play("SYSTEMDEFAULT");
}

// The targets are the program's own, not read from the fields.
void TForm1::WebSiteClick() { services().shell->open(kWebSite); }
void TForm1::Email_SalesClick() { services().shell->open(QString("mailto:") + kSalesMail); }
void TForm1::Email_SupportClick() { services().shell->open(QString("mailto:") + kSupportMail); }

QString TForm1::Msg(const char* key) const { return QString::fromStdString(message_text(LangIni, key)); }

void TForm1::closeEvent(QCloseEvent* event) {
    // A writer program killed midway spoils a one-time-programmable chip: the window stays until the child ends.
    if (ChildProgramRunning()) {
        event->ignore();
        return;
    }
    event->accept();
    QCoreApplication::quit();
}
