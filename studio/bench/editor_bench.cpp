// How fast the compiler page's editor is with a large project: adding 1,000
// and 8,000 WAV files in one dialog (the cost should grow no faster than the
// count), and removing one item of 1,000 spread over 64 groups (which takes it
// out of every group, rebuilds the group table and updates the estimate). Each
// timed step includes the repaint that follows it.
// The main form runs offscreen on a copy of the build's program folder, made
// beside this program.
//
//   studio_editor_bench [benchmark options]
#include "program_folder.h"
#include "quiet_services.h"
#include "studio_services.h"
#include "tform1.h"
#include "tform2.h"
#include "wav_writer.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

constexpr int kFiles = 1000;
constexpr int kMostFiles = 8000;

answering_dialogs* dialogs = nullptr;
// Every WAV file made, in the order the open dialog returns them.
QStringList wav_files;

// A program folder of the bench's own with the start checks off, and the WAV files of the project.
std::string prepare_folder() {
    const fs::path folder = fs::read_symlink("/proc/self/exe").parent_path() / "editor-bench-tmp";
    fs::remove_all(folder);
    fs::create_directories(folder);
    fs::copy(KOVA_DIR, folder / "kova", fs::copy_options::recursive);
    const fs::path setup = folder / "kova" / "setup.ini";
    std::stringstream text;
    text << std::ifstream(setup).rdbuf();
    std::string settings = text.str();
    settings.replace(settings.find("SysChk=1"), 8, "SysChk=0");
    std::ofstream(setup) << settings;

    std::vector<float> frames(4000);
    for (size_t i = 0; i < frames.size(); ++i) frames[i] = static_cast<float>(i % 50) / 50.0f - 0.5f;
    for (int i = 0; i < kMostFiles; ++i) {
        const fs::path file = folder / "sounds" / ("voice" + std::to_string(i) + ".wav");
        fs::create_directories(file.parent_path());
        std::string error;
        if (!write_wav_file(file.string(), {}, frames, error)) throw std::runtime_error(error);
        wav_files << QString::fromStdString(file.string());
    }
    return (folder / "kova").string() + "/";
}

void clear_file_list(TForm1& main) {
    main.SG_FileList->SetRowCount(23);
    for (int row = 1; row < 23; ++row) {
        for (int col = 0; col < 7; ++col) main.SG_FileList->SetCells(col, row, "");
    }
    for (int row = 1; row < main.SG_GrpList->RowCount(); ++row) main.SG_GrpList->SetCells(5, row, "");
    main.SG_FileList->SetRow(1);
}

QString item_id(int number) { return QString("I%1").arg(number, 4, 10, QChar('0')); }

// The argument is the number of files chosen in the dialog.
void add_files_in_one_dialog(benchmark::State& state) {
    TForm1& main = *Form1;
    const int files = static_cast<int>(state.range(0));
    dialogs->open_answer = wav_files.mid(0, files);
    for (auto _ : state) {
        state.PauseTiming();
        clear_file_list(main);
        QApplication::processEvents();
        state.ResumeTiming();
        main.PMB_AddClick();
        QApplication::processEvents();
    }
    if (main.SG_FileList->Cells(6, files) != item_id(files)) state.SkipWithError("not every file was added");
}

void remove_one_of_thousand_in_64_groups(benchmark::State& state) {
    TForm1& main = *Form1;
    main.CB_Device->setCurrentText("KOVA3K21");
    main.CB_DeviceChange();
    main.CB_TgMode->setCurrentText("Address Trigger");
    main.CB_TgModeChange();
    if (main.SG_GrpList->RowCount() != 65) state.SkipWithError("the mode does not offer 64 groups");
    clear_file_list(main);
    dialogs->open_answer = wav_files.mid(0, kFiles);
    main.PMB_AddClick();
    // Every item into one group, round the 64 groups.
    for (int row = 1; row <= kFiles; ++row) {
        main.SG_GrpList->SetRow((row - 1) % 64 + 1);
        main.SG_FileList->SetRow(row);
        main.SG_FileListDblClick();
    }
    main.SG_GrpList->SetRow(1);
    QApplication::processEvents();
    for (auto _ : state) {
        state.PauseTiming();
        main.SG_FileList->SetRow(1 + main.SG_FileList->RowCount() / 3);
        const QString id = main.SG_FileList->Cells(6, main.SG_FileList->Row());
        QApplication::processEvents();
        state.ResumeTiming();
        main.BT_RemoveClick();
        QApplication::processEvents();
        state.PauseTiming();
        for (int row = 1; row < main.SG_GrpList->RowCount(); ++row) {
            if (main.SG_GrpList->Cells(5, row).contains(id)) state.SkipWithError("an entry of the item stayed");
        }
        state.ResumeTiming();
    }
    state.counters["items_left"] = main.SG_FileList->RowCount() - 23;
}

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(false);
    benchmark::Initialize(&argc, argv);

    dialogs = &install_quiet_services();
    SetProgramFolder(prepare_folder());

    auto* main_form = new TForm1();
    if (!handle_events_until([main_form] { return main_form->isVisible(); }, std::chrono::seconds(30))) {
        std::fprintf(stderr, "the main form did not show\n");
        return 1;
    }

    benchmark::RegisterBenchmark("AddWavFilesInOneDialog", add_files_in_one_dialog)
        ->Arg(kFiles)->Arg(kMostFiles)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("RemoveOneOfThousandItemsIn64Groups", remove_one_of_thousand_in_64_groups)
        ->Unit(benchmark::kMillisecond)->Iterations(20);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    delete Form2;
    delete main_form;
    return 0;
}
