// A writer-page test: KovaStudio's main form on its "Writer" page, a program
// folder of the test's own, the writer simulator (or none), and DAT images made
// in that folder as a compile makes them.
#pragma once

#include "project_dat.h"
#include "studio_fixture.h"
#include "tform1.h"
#include "ui_driver.h"
#include "writer_sim_fixture.h"

#include <QTabBar>
#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

class writer_page : public studio_test {
protected:
    void SetUp() override {
        studio_test::SetUp();
        // No writer unless a test starts one: the socket named does not exist.
        ::setenv(kWriterSimEnv, folder.file("no-writer.sock").c_str(), 1);
    }

    // The simulator with a chip model ("none" for an empty socket) and further options; the writer programs
    // that KovaStudio starts reach it.
    void start_writer(const std::string& chip, std::vector<std::string> options = {}) {
        options.insert(options.begin(), {"--chip", chip});
        ASSERT_TRUE(sim.start(options));
        ::setenv(kWriterSimEnv, sim.socket_path().c_str(), 1);
    }

    // Starts KovaStudio and opens the "Writer" page with a click on its tab.
    TForm1& open_writer_page() {
        TForm1& main = start_studio();
        click_tab(main.PC_PageSelect, main.Writer);
        EXPECT_EQ(main.PC_PageSelect->currentWidget(), main.Writer);
        return main;
    }

    // Load File with the dialog answered by `path` (an empty path cancels it).
    void load(TForm1& main, const std::string& path) {
        record.open_answers.push_back(path.empty() ? QStringList{} : QStringList{QString::fromStdString(path)});
        click(main.B_LoadFile);
    }

    // A DAT image made from a small project in the program folder; its path.
    std::string make_dat(const project_dat_shape& shape = {}, const std::string& name = "voice.dat") {
        const std::string path = folder.file("../dats/") + name;
        std::filesystem::create_directories(folder.file("../dats"));
        const std::string error = make_project_dat(folder.path(), shape, path);
        EXPECT_EQ(error, "");
        return path;
    }

    // The checksum QavChk reports for the image, run by hand; a text no checksum equals when it fails.
    static std::string qavchk_checksum(const std::string& dat, const std::string& rom_size) {
        const checker_verdict verdict = check_image(dat, rom_size);
        return verdict.exit_code == 0 && !verdict.checksum.empty() ? verdict.checksum : "qavchk failed";
    }

    bool writer_controls_enabled(TForm1& main) const {
        return main.CB_Wrt_Device->isEnabled() && main.B_LoadFile->isEnabled() && main.B_BlankCheck->isEnabled() &&
               main.B_Program->isEnabled() && main.B_Verify->isEnabled();
    }

    // How many times a writer program connected to the simulator.
    int writer_connections() const {
        const std::vector<std::string> lines = sim.trace_lines();
        return static_cast<int>(std::count(lines.begin(), lines.end(), std::string("connect")));
    }

    static QString status(TForm1& main) { return main.L_Status->Caption(); }

    writer_sim_process sim;
};
