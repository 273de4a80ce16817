// How long each compile step takes on a project that fills the largest sample
// device (KOVA341, 1 MiB): 200 WAV files in one format, each in a voice group of
// its own (255 groups, "Address Trigger") or dealt out over 16 groups ("Key
// Single"). The main form's own step functions run against a scratch copy
// of the program folder with the real encoder, image builder and checker.
//
//   compile_bench [pcm|adpcm|ulaw ...] [address|single ...] [--runs N] [--pause MS]
//
// The runs are MS milliseconds apart (1000 by default). Prints each step's
// median time over the runs, KovaStudio's own share (the files it writes
// itself) and the encoder's rate in 8-bit samples per second.
#include "compile_commands.h"
#include "compile_report.h"
#include "memory_estimate.h"
#include "program_folder.h"
#include "quiet_services.h"
#include "project_entry.h"
#include "recording_services.h"
#include "studio_font.h"
#include "test_wave.h"
#include "tform1.h"
#include "tform2.h"
#include "ui_driver.h"
#include "wave_header.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kFiles = 200;
constexpr int64_t kDeviceSize = 1 << 20;
const uint32_t kRates[] = {8000, 11025, 16000, 22050};

struct format_choice {
    const char* name;
    int index;  // compression index; -1 keeps the files in 8-bit PCM
};

// A trigger mode of the device: its voice groups and where its voice data starts.
struct mode_choice {
    const char* name;
    const char* text;
    const char* offset_text;
    int64_t offset;
    int groups;
};
const mode_choice kModes[] = {
    {"address", "Address Trigger", "BC0", 0xBC0, 255},  // every file in a group of its own
    {"single", "Key Single", "A80", 0xA80, 16},         // the files dealt out over the groups
};

// The program folder's copy: bin/ and Language/ linked, setup.ini a copy with the start checks off, temp empty.
std::string scratch_program_folder(const fs::path& scratch) {
    const fs::path program = scratch / "kova";
    fs::remove_all(scratch);
    fs::create_directories(program / "temp");
    fs::create_directory_symlink(fs::path(KOVA_DIR) / "bin", program / "bin");
    fs::create_directory_symlink(fs::path(KOVA_DIR) / "Language", program / "Language");
    std::ifstream in(fs::path(KOVA_DIR) / "setup.ini", std::ios::binary);
    std::string setup((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t check = setup.find("SysChk=1");
    if (check != std::string::npos) setup.replace(check, 8, "SysChk=0");
    std::ofstream(program / "setup.ini", std::ios::binary) << setup;
    return program.string() + "/";
}

// The most samples (a multiple of 8) whose size in the format stays within the budget.
uint32_t samples_within(uint64_t budget, int index) {
    uint32_t n = 8;
    while (compressed_size(n + 8, index < 0 ? -1 : index) <= budget) n += 8;
    return n;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double seconds_of(const std::function<int()>& step, int& result) {
    const auto start = std::chrono::steady_clock::now();
    result = step();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

bool bench_format(TForm1& form, service_record& record, const mode_choice& mode, const format_choice& format,
                  const fs::path& scratch, int runs, int pause_ms) {
    // A project fresh for this format: rows and groups cleared, the device and the largest trigger mode.
    form.SG_FileList->SetRowCount(2);
    form.SG_FileList->SetRowCount(23);
    for (int col = 0; col < form.SG_FileList->ColCount(); ++col) form.SG_FileList->SetCells(col, 1, "");
    form.SG_GrpList->SetRowCount(1);

    // Offset below the voice data, 48 header bytes, 4 for each group and 8 for each entry (or default silence).
    const int64_t entries = kFiles + std::max(0, mode.groups - kFiles);
    const int64_t room = kDeviceSize - 17 - mode.offset - 48 - mode.groups * 4 - entries * 8;
    const uint32_t samples = samples_within(static_cast<uint64_t>(room / kFiles), format.index);
    const fs::path sounds = scratch / "sounds" / (std::string(mode.name) + "-" + format.name);
    fs::create_directories(sounds);
    uint64_t total_samples = 0;
    project_entry project(form, record);
    project.choose_setup("KOVA341", mode.text, "COUT[DAC]", format.index == 1 ? "5-bit u-Law" : "4-bit ADPCM");
    for (int i = 0; i < kFiles; ++i) {
        const uint32_t rate = kRates[i % 4];
        wave_spec spec;
        spec.rate = rate;
        spec.data = chirp_samples(samples, 80 + i, rate / 3.0, rate, 60 + i % 50);
        const fs::path file = sounds / ("voice " + std::to_string(i + 1) + ".wav");
        const std::vector<uint8_t> bytes = wave_bytes(spec);
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        const int row = project.add_wave_file(QString::fromStdString(file.string()));
        if (format.index >= 0) project.compress_row(row);
        project.put_into_group(row, i % mode.groups + 1);
        total_samples += samples;
    }

    memory_estimate_input estimate;
    estimate.offset_text = mode.offset_text;
    for (int row = 1; row < form.SG_FileList->RowCount(); ++row)
        estimate.size_cells.push_back(form.SG_FileList->Cells(2, row).toStdString());
    for (int row = 1; row < form.SG_GrpList->RowCount(); ++row)
        estimate.group_item_lists.push_back(form.SG_GrpList->Cells(5, row).toStdString());
    const memory_usage usage = evaluate_memory_usage(estimate_bytes(estimate), kDeviceSize);
    std::printf("\n%s, %s (%d groups): %d files of %u samples (%.2f MB of 8-bit samples), estimate %lld bytes "
                "(%lld%%)%s\n",
                format.name, mode.text, mode.groups, kFiles, samples, total_samples / 1e6,
                static_cast<long long>(usage.bytes), static_cast<long long>(usage.percent),
                usage.fits ? "" : ", DOES NOT FIT");

    form.SaveDatFileName = QString::fromStdString((scratch / (std::string(format.name) + ".dat")).string());
    // The steps write straight to the files: the click's hidden files and their renames are not measured.
    form.DatImageFile = form.SaveDatFileName.toStdString();
    form.DatReportFile = compile_report_path(form.DatImageFile);
    const char* names[] = {"script and table", "tonepack", "link script", "qavgen", "report with checksum"};
    std::vector<std::vector<double>> times(6);
    for (int run = 0; run < runs; ++run) {
        // Runs are spaced as two Compile clicks are: the files of the run before have reached the disk, so that
        // truncating them does not wait for their writing.
        std::this_thread::sleep_for(std::chrono::milliseconds(pause_ms));
        const std::function<int()> steps[] = {
            [&] { return form.WriteScriptFiles(); }, [&] { return form.RunEncoder(); },
            [&] { return form.WriteLinkScript(); }, [&] { return form.RunImageBuilder(); },
            [&] { return form.WriteCompileReport(); }};
        for (int step = 0; step < 5; ++step) {
            int result = 0;
            times[step].push_back(seconds_of(steps[step], result));
            if (result != 0) {
                std::printf("step %s failed with %d\n", names[step], result);
                return false;
            }
        }
        // The checksum query alone, to tell the checker's time from the report's writing.
        int ok = 0;
        times[5].push_back(seconds_of([&] {
            return form.GetImageCheckSum(form.SaveDatFileName, QString::fromStdString(rom_size_text(kDeviceSize))).ok
                       ? 0 : 1;
        }, ok));
    }

    double whole = 0;
    for (int step = 0; step < 5; ++step) whole += median(times[step]);
    const double query = median(times[5]);
    const double own = median(times[0]) + median(times[2]) + std::max(0.0, median(times[4]) - query);
    for (int step = 0; step < 5; ++step) std::printf("  %-22s %9.2f ms\n", names[step], median(times[step]) * 1e3);
    std::printf("  %-22s %9.2f ms (part of the report step)\n", "checksum query", query * 1e3);
    std::printf("  %-22s %9.2f ms\n", "whole pipeline", whole * 1e3);
    std::printf("  KovaStudio's own writing: %.2f ms, %.1f%% of the whole\n", own * 1e3, own * 100 / whole);
    std::printf("  tonepack: %.1f MB of 8-bit samples per second\n", total_samples / median(times[1]) / 1e6);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    apply_studio_font(application);
    application.setQuitOnLastWindowClosed(false);

    int runs = 5;
    int pause_ms = 1000;
    std::vector<format_choice> formats;
    std::vector<mode_choice> modes;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc) runs = std::max(1, std::atoi(argv[++i]));
        else if (arg == "--pause" && i + 1 < argc) pause_ms = std::max(0, std::atoi(argv[++i]));
        else if (arg == "pcm") formats.push_back({"pcm", -1});
        else if (arg == "adpcm") formats.push_back({"adpcm", 0});
        else if (arg == "ulaw") formats.push_back({"ulaw", 1});
        else if (arg == "address") modes.push_back(kModes[0]);
        else if (arg == "single") modes.push_back(kModes[1]);
        else {
            std::fprintf(stderr,
                         "usage: compile_bench [pcm|adpcm|ulaw ...] [address|single ...] [--runs N] [--pause MS]\n");
            return 2;
        }
    }
    if (formats.empty()) formats = {{"pcm", -1}, {"adpcm", 0}, {"ulaw", 1}};
    if (modes.empty()) modes = {kModes[0], kModes[1]};

    const fs::path scratch = fs::read_symlink("/proc/self/exe").parent_path() / "compile-bench-tmp";
    SetProgramFolder(scratch_program_folder(scratch));
    // No box is expected: one that shows is reported as a failure on standard output.
    service_record record;
    install_recording_services(record);

    auto* form = new TForm1();
    // The project is entered through the main form's controls: it must be showing, as after the start form.
    if (!handle_events_until([form] { return form->isVisible(); }, std::chrono::seconds(30))) {
        std::fprintf(stderr, "the main form did not show\n");
        return 1;
    }
    bool ok = true;
    for (const mode_choice& mode : modes) {
        for (const format_choice& format : formats) {
            ok = bench_format(*form, record, mode, format, scratch, runs, pause_ms) && ok;
        }
    }
    delete Form2;
    delete form;
    return ok ? 0 : 1;
}
