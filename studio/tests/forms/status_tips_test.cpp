// The status bar explains the control under the pointer, disabled ones too,
// with texts read from the language file at each entry; the About page's
// links open the maker's web site and mail addresses.
#include "project_entry.h"
#include "studio_fixture.h"
#include "tform1.h"
#include "test_files.h"
#include "ui_driver.h"

#include <QCoreApplication>
#include <QTest>


namespace {

class StatusTips : public studio_test {
protected:
    // Writes Language/Test.ini with `status` as its [Status] section and makes it the language file.
    void use_language(const std::string& status) {
        write_text(folder.file("Language/Test.ini"), "[Message]\r\nMsg008=Fehler\r\n[Status]\r\n" + status);
        folder.set_setup_value("System", "Language", "Test.ini");
    }

    // Shows a page as the user does, by its tab.
    void show_page(QWidget* page) {
        click_tab(form->PC_PageSelect, page);
        ASSERT_EQ(form->PC_PageSelect->currentWidget(), page);
    }
    // Moves the pointer onto the control (or onto an empty spot of a page) and lets the events arrive.
    static void point_at(QWidget* control, QPoint at = {}) {
        QTest::mouseMove(control, at.isNull() ? control->rect().center() : at);
        QCoreApplication::processEvents();
    }
    void point_at_nothing() {
        QWidget* page = form->PC_PageSelect->currentWidget();
        const QPoint empty(page->width() - 4, 4);
        ASSERT_EQ(page->childAt(empty), nullptr);
        point_at(page, empty);
    }
    QString bar() const { return form->SB_Status->SimpleText(); }

    struct control_tip {
        QWidget* control;
        const char* text;
    };
    // Points at each control in turn: the bar shows its tip, and is empty again once the pointer leaves it.
    void expect_tips(const std::vector<control_tip>& tips) {
        for (const control_tip& tip : tips) {
            point_at(tip.control);
            EXPECT_EQ(bar(), tip.text) << tip.control->objectName().toStdString();
            point_at_nothing();
            EXPECT_EQ(bar(), "") << tip.control->objectName().toStdString();
        }
    }
};

TEST_F(StatusTips, EveryControlShowsItsBuiltInTipAndTheBarClearsOnLeaving) {
    folder.set_setup_value("System", "Language", "");
    start_studio();
    // The mute editor (Add > Mute) and the group settings panel (a double click on a group) are open.
    project_entry project(*form, record);
    project.open_mute_editor();
    project.open_group_settings(1);
    const std::vector<control_tip> compiler = {
        {form->CB_Device, "Select Device"},
        {form->CB_VoutSel, "Select Voice Output Type"},
        {form->CB_TgMode, "Select Trigger Mode"},
        {form->BT_AppNote, "Open Application Note of the current setting (PDF)"},
        {form->CB_ComFmt, "Select Compression Method"},
        {form->SG_FileList, "Double click the File Name to add sound to Group. "},
        {form->GB_MuteTime, "Fill in Mute section (1 to 60000ms) and click OK."},
        {form->BT_ItemCtl, "Add Sound File or Mute section"},
        {form->BT_EditFL, "Change Sound Compression Method or Mute time duration"},
        {form->BT_PlayVoice, "Playback the selected sound"},
        {form->BT_Remove, "Remove Sound File or Mute"},
        {form->BT_GrpSetOK, "Save Settings"},
        {form->BT_GrpSetCnl, "Cancle"},
        {form->SG_GrpTab,
         "Double click to Enable/Disable Busy output, right click to change order or remove sound"},
        {form->BT_Compile, "Transform the above setting into DAT file for programming"},
    };
    expect_tips(compiler);
    // The group list lies under its settings panel while that is open.
    click(form->BT_GrpSetCnl);
    ASSERT_FALSE(form->PL_GrpSet->isVisible());
    point_at(form->SG_GrpList);
    EXPECT_EQ(bar(), "Doble Click or Right Click to select Trigger Mode for Voice Group");

    show_page(form->Writer);
    const std::vector<control_tip> writer = {
        {form->CB_Wrt_Device, "Select Device"},
        {form->B_LoadFile, "Load DAT file"},
        {form->B_BlankCheck, "Blank check the device"},
        {form->B_Program, "Program the loaded DAT file into device"},
        {form->B_Verify, "Compare the device contents with the loaded DAT file"},
    };
    expect_tips(writer);
}

TEST_F(StatusTips, MovingStraightFromOneControlToTheNextShowsTheNextTip) {
    start_studio();
    point_at(form->CB_Device);
    EXPECT_EQ(bar(), "Select Device");
    point_at(form->CB_VoutSel);  // leaving the first clears the bar before entering the second fills it
    EXPECT_EQ(bar(), "Select Voice Output Type");
    point_at(form->BT_AppNote);
    EXPECT_EQ(bar(), "Open Application Note of the current setting (PDF)");
    // Moving about inside a grid keeps its tip.
    point_at(form->SG_GrpTab->viewport(), QPoint(10, 10));
    point_at(form->SG_GrpTab->viewport(), QPoint(200, 100));
    EXPECT_EQ(bar(), "Double click to Enable/Disable Busy output, right click to change order or remove sound");
}

TEST_F(StatusTips, ALanguageFileReplacesOnlyTheTipsItHas) {
    use_language("Tip001=Baustein waehlen\r\n");
    start_studio();
    point_at(form->CB_Device);
    EXPECT_EQ(bar(), "Baustein waehlen");
    point_at(form->CB_VoutSel);
    EXPECT_EQ(bar(), "Select Voice Output Type");
    show_page(form->Writer);
    point_at(form->CB_Wrt_Device);  // a key of its own, not the compiler page's device list's
    EXPECT_EQ(bar(), "Select Device");
}

TEST_F(StatusTips, TheTipIsReadAgainAtEachEntry) {
    use_language("Tip019=first text\r\n");
    start_studio();
    point_at(form->BT_Compile);
    EXPECT_EQ(bar(), "first text");
    point_at_nothing();
    use_language("Tip019=second text\r\n");
    point_at(form->BT_Compile);
    EXPECT_EQ(bar(), "second text");
}

TEST_F(StatusTips, DisabledControlsShowTheirTipsToo) {
    use_language("Tip018=Not available yet\r\nTip022=Burn it\r\n");
    start_studio();
    ASSERT_FALSE(form->B_Save->isEnabled());
    point_at(form->B_Save);
    EXPECT_EQ(bar(), "Not available yet");
    point_at(form->B_Load);
    EXPECT_EQ(bar(), "Not available yet");
    point_at_nothing();
    EXPECT_EQ(bar(), "");

    show_page(form->Writer);
    form->B_Program->setEnabled(false);  // as while a writer program runs
    point_at(form->B_Program);
    EXPECT_EQ(bar(), "Burn it");
    point_at_nothing();
    EXPECT_EQ(bar(), "");
}

TEST_F(StatusTips, WithoutATip018TheDisabledButtonsLeaveTheBarEmpty) {
    start_studio();
    point_at(form->CB_Device);
    point_at(form->B_Save);
    EXPECT_EQ(bar(), "");
    point_at(form->B_Load);
    EXPECT_EQ(bar(), "");
}

using AboutLinks = StatusTips;

TEST_F(AboutLinks, TheWebAndMailFieldsOpenTheirTargetsAndTheOthersNothing) {
    start_studio();
    show_page(form->About);
    ASSERT_TRUE(form->WebSite->isVisible());
    EXPECT_EQ(form->WebSite->Text(), "https://www.zorva.example");
    EXPECT_EQ(form->Email_Sales->Text(), "sales@zorva.example");
    EXPECT_EQ(form->Email_Support->Text(), "support@zorva.example");

    for (QWidget* field : std::initializer_list<QWidget*>{form->Tel, form->Fax, form->Version, form->WebSite,
                                                          form->Email_Sales, form->Email_Support}) {
        QTest::mouseClick(field, Qt::LeftButton);
    }
    EXPECT_EQ(record.opened, (std::vector<QString>{"https://www.zorva.example", "mailto:sales@zorva.example",
                                                   "mailto:support@zorva.example"}));
    // The targets are the program's own, not read from the fields.
    form->WebSite->SetText("https://elsewhere.example");
    QTest::mouseClick(form->WebSite, Qt::LeftButton);
    EXPECT_EQ(record.opened.back(), "https://www.zorva.example");
}

}  // namespace
