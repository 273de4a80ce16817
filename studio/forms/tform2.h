// The start form: a small borderless window shown while the main form stays
// hidden. It runs the start checks once (the system files listed in
// bin/SysChk.lst, then the writer firmware through the updater) and shows the
// main form when both pass or the checks are switched off; after a failure it
// stays, showing what failed, and its Cancel button ends the program.
#pragma once

#include "ini_file.h"
#include "t_panels.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QWidget>

class TMyThread;

class TForm2 : public QWidget {
public:
    explicit TForm2(QWidget* Owner = nullptr);
    ~TForm2() override;
    void FormCreate();

    TLabel* IM_Logo;
    QGroupBox* GP_InitialList;
    QCheckBox* CB_Ini_SysFileChk;
    QCheckBox* CB_Ini_SysFirmChk;
    TLabel* L_Ini_SysFileChk;
    TLabel* L_Ini_SysFirmChk;
    QPushButton* B_Ini_Cancel;

    TMyThread* LastThread = nullptr;
    ini_file LangIni;
    ini_file SetupIni;

    // The start checks, run once from a call queued on the form's first show.
    void FormActivate();
    bool CheckSystemFiles();
    bool CheckWriterFirmware();
    void B_Ini_CancelClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateComponents();
    void LayOut();
    void ShowCheckFailed();
    // Runs the updater with the given function word and returns its result, moving the dots meanwhile.
    int RunUpdater(const std::string& words);
    // The firmware label for an updater result: "Done" in blue, or a failure in red; `wrong_version_text` for
    // -6 to -8.
    void ShowFirmwareResult(int result, const char* wrong_version_text);

    enum class check_state { waiting, running, failed, passed };
    check_state state_ = check_state::waiting;
    int poll_counter_ = 0;
};

// The start form, created by the main form.
extern TForm2* Form2;
// Set by the start form's first show: the checks run only once.
extern bool StartChecksDone;
