// Programs a 1 MiB chip (device Z6) through the writer simulator, which takes
// 1 ms per report as a USB frame would, twice side by side: with the writer
// program run on its own and through KovaStudio's writer page (offscreen, its
// Load File and Program buttons clicked), each against a simulator of its own,
// so that the machine's load weighs on both alike. Reports both times, their
// ratio, and the CPU time KovaStudio itself spent during its run. Targets: the
// page's run takes at most 1.05 times the writer program's own, and
// KovaStudio's CPU time stays under 2% of the run's wall time.
//
//   writer-page-bench [ROUNDS]   (default 1; every round programs two blank chips)
#include "child_process.h"
#include "program_folder.h"
#include "quiet_services.h"
#include "project_dat.h"
#include "studio_font.h"
#include "studio_services.h"
#include "tform1.h"
#include "tform2.h"
#include "writer_sim_fixture.h"

#include <QApplication>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace fs = std::filesystem;
using steady = std::chrono::steady_clock;

namespace {

double seconds_since(steady::time_point start) {
    return std::chrono::duration<double>(steady::now() - start).count();
}

// The CPU time of the whole process (RUSAGE_SELF) or of the calling thread (RUSAGE_THREAD).
double cpu_seconds(int who) {
    rusage usage{};
    ::getrusage(who, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// A program folder of the benchmark's own: the build's installation with device Z6 only.
std::string make_program_folder(const std::string& where) {
    const std::string folder = where + "/kova/";
    fs::remove_all(where);
    fs::create_directories(folder + "temp");
    for (const char* part : {"bin", "Language"}) {
        fs::copy(std::string(KOVA_DIR) + "/" + part, folder + part, fs::copy_options::recursive);
    }
    std::ofstream(folder + "setup.ini")
        << "[System]\r\nLanguage=English.ini\r\nSysChk=0\r\n"
           "[Z6]\r\nSymbol=KOVA341\r\nSize=0x100000\r\nVout=6\r\nCout=1\r\nPack=0x3F\r\n";
    return folder;
}

// A blank chip in a fresh simulator at 1 ms per report.
bool fresh_chip(writer_sim_process& sim) {
    sim.stop();
    fs::remove(sim.memory_path());
    fs::remove(sim.trace_path());
    return sim.start({"--chip", "KOVA341", "--report-delay-us", "1000"});
}

double console_run(writer_sim_process& sim, const std::string& folder, const std::string& dat) {
    child_options options;
    options.environment = {sim.environment_entry()};
    options.kill_after = std::chrono::seconds(600);
    const steady::time_point start = steady::now();
    const child_result run = run_child(folder + "bin/qavwriter", {"Program", dat, "KOVA341"}, options);
    const double took = seconds_since(start);
    if (run.exit_code != 0) std::fprintf(stderr, "qavwriter Program exited %d\n", run.exit_code);
    return took;
}

struct pair_run {
    double console = 0;
    double page = 0;
    double page_cpu = 0;
    bool passed = false;
};

// The writer program against one simulator while the page programs through the other (KOVA_WRITER_SIM).
pair_run run_side_by_side(writer_sim_process& console_sim, const std::string& folder, const std::string& dat) {
    Form1->B_LoadFile->click();
    if (Form1->LE_CheckSum->Text().isEmpty()) std::fprintf(stderr, "the DAT file did not load\n");
    pair_run run;
    double console_cpu = 0;
    const double cpu_before = cpu_seconds(RUSAGE_SELF);
    std::thread console([&] {
        run.console = console_run(console_sim, folder, dat);
        console_cpu = cpu_seconds(RUSAGE_THREAD);
    });
    const steady::time_point start = steady::now();
    Form1->B_Program->click();
    run.page = seconds_since(start);
    console.join();
    // KovaStudio's own: the process's time less the thread that ran the writer program.
    run.page_cpu = cpu_seconds(RUSAGE_SELF) - cpu_before - console_cpu;
    run.passed = Form1->L_Status->Caption() == "Program Finish!" && Form1->P_Tip->Caption() == "Program Passed!";
    if (!run.passed) {
        std::fprintf(stderr, "the page's Program ended: %s\n", Form1->L_Status->Caption().toUtf8().constData());
    }
    return run;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    apply_studio_font(application);
    application.setQuitOnLastWindowClosed(false);

    const std::string folder = make_program_folder(std::string(KOVA_TEST_TMP) + "/writer-page-bench");
    project_dat_shape shape;
    shape.device_code = "Z6";
    shape.device_text = "KOVA341";
    shape.device_size = 0x100000;
    shape.mode_code = "1";
    shape.compression_index = 1;
    shape.sound_samples = 640000;  // two sounds, u-law and PCM, about 1 MiB of voice data
    const std::string dat = folder + "../voice.dat";
    if (const std::string error = make_project_dat(folder, shape, dat); !error.empty()) {
        std::fprintf(stderr, "no DAT file: %s\n", error.c_str());
        return 1;
    }
    const auto image_bytes = fs::file_size(dat);

    SetProgramFolder(folder);
    install_quiet_services().open_answer = QStringList{QString::fromStdString(dat)};
    auto* main_form = new TForm1();
    if (!handle_events_until([] { return Form1->isVisible(); }, std::chrono::seconds(30))) {
        std::fprintf(stderr, "the main form did not show\n");
        return 1;
    }
    Form1->PC_PageSelect->setCurrentWidget(Form1->Writer);

    writer_sim_process console_sim, page_sim;
    double console_total = 0, page_total = 0, cpu_total = 0;
    bool all_passed = true;
    for (int round = 0; round < rounds; ++round) {
        if (!fresh_chip(console_sim) || !fresh_chip(page_sim)) return 1;
        ::setenv(kWriterSimEnv, page_sim.socket_path().c_str(), 1);  // for the writer programs KovaStudio starts
        const pair_run run = run_side_by_side(console_sim, folder, dat);
        all_passed = all_passed && run.passed;
        std::printf("round %d: qavwriter %.3f s, writer page %.3f s (ratio %.4f), KovaStudio CPU %.3f s (%.3f%%)\n",
                    round + 1, run.console, run.page, run.page / run.console, run.page_cpu,
                    100.0 * run.page_cpu / run.page);
        console_total += run.console;
        page_total += run.page;
        cpu_total += run.page_cpu;
    }
    delete Form2;
    delete main_form;

    const double ratio = page_total / console_total;
    const double cpu_share = 100.0 * cpu_total / page_total;
    std::printf("image: %llu bytes\n", static_cast<unsigned long long>(image_bytes));
    std::printf("writer program:       %.3f s per run\n", console_total / rounds);
    std::printf("through the page:     %.3f s per run\n", page_total / rounds);
    std::printf("ratio:                %.4f (target <= 1.05)\n", ratio);
    std::printf("KovaStudio CPU time:  %.3f s per run, %.3f%% of the wall time (target < 2%%)\n", cpu_total / rounds,
                cpu_share);
    return all_passed && ratio <= 1.05 && cpu_share < 2.0 ? 0 : 1;
}
