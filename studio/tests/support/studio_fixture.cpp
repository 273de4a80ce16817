#include "studio_fixture.h"

#include "program_folder.h"
#include "quiet_services.h"
#include "tform1.h"
#include "tform2.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <cstdlib>
#include <filesystem>

void studio_test::SetUp() {
    const std::string runtime = folder.path() + "../runtime";
    std::filesystem::create_directories(runtime);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    SetProgramFolder(folder.path());
    folder.set_setup_value("System", "SysChk", "0");
    install_recording_services(record);
}

void studio_test::TearDown() {
    end_studio();
    EXPECT_TRUE(record.expected_boxes.empty()) << record.expected_boxes.size() << " expected box(es) not shown";
}

TForm1& studio_test::start_studio() {
    form = new TForm1();
    const bool settled = wait_until([] {
        return (Form1 != nullptr && Form1->isVisible()) || (Form2 != nullptr && Form2->B_Ini_Cancel->isEnabled());
    });
    EXPECT_TRUE(settled) << "the start form neither showed the main form nor failed";
    return *form;
}

void studio_test::end_studio() {
    delete Form2;
    Form2 = nullptr;
    delete form;
    form = nullptr;
    QCoreApplication::processEvents();
}

bool studio_test::wait_until(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    return handle_events_until(done, limit);
}

void studio_test::expect_box(const QString& caption, const QString& text, int answer) {
    record.expected_boxes.push_back({caption, text, answer});
}
