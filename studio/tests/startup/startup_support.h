// Helpers of the start-up tests: a stand-in updater in the test's program
// folder, the writer simulator reached through KOVA_WRITER_SIM, and a record
// of how a label changes while the checks run.
#pragma once

#include "studio_fixture.h"
#include "writer_sim_fixture.h"

#include <QLabel>
#include <QLayout>
#include <QPointer>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

// Links `path` to the stand-in child program (see stand_in_child.cpp).
void link_stand_in(const std::string& path);
// What the stand-in does (KOVA_STAND_IN) and where it logs its arguments (KOVA_STAND_IN_LOG).
void plan_stand_in(const std::string& rules, const std::string& log);
// The lines of a text file; none when it is missing.
std::vector<std::string> text_lines(const std::string& path);

// One state of a label as the user saw it: a new text from the moment it was set, a new colour alone (or a text
// set while the label was hidden) from the first look that found it.
struct label_state {
    QString text;
    uint32_t color;  // 0xBBGGRR
    std::chrono::steady_clock::time_point at;
    bool as_set = false;  // `at` is the moment it was set
};

// Keeps every change of a label's text or colour. `find` gives the label, or null while it does not exist yet;
// it is looked for every few milliseconds on the GUI thread (also inside the wait for a child). Once found, its
// parent is given an empty layout of the watch's own, which the label asks to re-arrange inside each change of
// its text: that is when a new text is taken, however late the looks come on a loaded machine. The parent must
// have no layout of its own.
class label_watch {
public:
    explicit label_watch(std::function<QLabel*()> find);
    ~label_watch();
    const std::vector<label_state>& states() const { return states_; }
    std::vector<QString> texts() const;

private:
    void look();
    void take(const QLabel& label, bool text_only);
    std::function<QLabel*()> find_;
    std::vector<label_state> states_;
    QPointer<QLabel> watched_;
    QPointer<QLayout> probe_;
    QTimer timer_;
};

// A start-up test: the start checks on, the updater of the sample installation, and no writer unless the test
// starts the simulator.
class startup_test : public studio_test {
protected:
    void SetUp() override;

    // Starts the simulator with these options and lets the updater reach it.
    void start_writer(const std::vector<std::string>& options);
    // Puts the stand-in in bin/ as QavUpdate<name>, names it in FwVer, and gives it these rules.
    void use_stand_in_updater(const std::string& name, const std::string& rules);
    // The stand-in's runs: one line of arguments per run.
    std::vector<std::string> stand_in_runs() const { return text_lines(stand_in_log()); }
    std::string stand_in_log() const { return folder.path() + "../stand-in.log"; }
    // How many times the writer went into its boot loader.
    size_t boot_loader_starts() const;

    writer_sim_process writer;
};
