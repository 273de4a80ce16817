// The writer page after a DAT file was loaded and after a failed writer run.
// The DAT file is made in the program folder's temp/ from the chip's template
// and stand-in voice bytes; the failed run is a blank check of an empty socket
// of the writer simulator (beside this tool), or a run without any writer.
#include "quiet_services.h"
#include "render_scenarios.h"

#include "child_run.h"
#include "compile_commands.h"
#include "ini_file.h"
#include "link_script.h"
#include "mode_settings.h"
#include "pipeline_files.h"
#include "program_folder.h"
#include "studio_services.h"
#include "tform1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace {

// A DAT file for device Y1 in Key Sequential mode; empty when it could not be made.
std::string make_sample_dat() {
    const std::string folder = ProgramFolder();
    const std::string dat = folder + "temp/Voice Prompts.dat";
    project_snapshot project;
    project.device_code = "Y1";
    project.device_size = 0x8000;
    project.mode_code = "2";
    project.compression_index = 0;
    project.output_type = "COUT[DAC]";
    const ini_file settings(mode_settings_path(folder, mode_key("Y1", "2")));
    std::ofstream voice(folder + kVoiceDataFile, std::ios::binary);
    for (int i = 0; i < 0x3000; ++i) voice.put(static_cast<char>(i * 29 + i / 251));
    voice.close();
    if (!voice || write_link_script(project, settings.read_string("Global", "Offset", ""), folder, dat) != 0) return "";
    std::remove((folder + kBuilderLogFile).c_str());
    return run_child_command(image_builder_command_line(folder), false) == 0 ? dat : "";
}

void wait_for(const QString& path) {
    QElapsedTimer clock;
    clock.start();
    while (!QFile::exists(path) && clock.elapsed() < 5000) QThread::msleep(10);
}

}  // namespace

bool render_writer(const std::string& output) {
    const std::string dat = make_sample_dat();
    if (dat.empty()) {
        std::fprintf(stderr, "could not make a DAT file for the writer page\n");
        return false;
    }
    install_quiet_services().open_answer = QStringList{QString::fromStdString(dat)};
    Form1->PC_PageSelect->setCurrentWidget(Form1->Writer);
    Form1->B_LoadFile->click();
    bool ok = save_picture(Form1, output, "writer-loaded");

    QTemporaryDir scratch;
    const QString socket = scratch.path() + "/sock";
    QProcess simulator;
    const QString program = QString::fromStdString(ExecutableFolder() + "kova-writer-sim");
    if (QFile::exists(program)) {
        simulator.start(program, {"--socket", socket, "--chip", "none"});
        wait_for(socket);
    }
    ::setenv("KOVA_WRITER_SIM", socket.toUtf8().constData(), 1);
    Form1->B_BlankCheck->click();
    ok = save_picture(Form1, output, "writer-failed") && ok;
    simulator.kill();
    simulator.waitForFinished();

    Form1->PC_PageSelect->setCurrentIndex(0);
    return ok;
}
