#include "startup_support.h"

#include "bgr_color.h"
#include "tform2.h"

#include <QCoreApplication>

#include <cstdlib>
#include <filesystem>
#include <fstream>

void link_stand_in(const std::string& path) {
    std::filesystem::remove(path);
    std::filesystem::create_symlink(STAND_IN_CHILD, path);
}

void plan_stand_in(const std::string& rules, const std::string& log) {
    ::setenv("KOVA_STAND_IN", rules.c_str(), 1);
    ::setenv("KOVA_STAND_IN_LOG", log.c_str(), 1);
}

std::vector<std::string> text_lines(const std::string& path) {
    std::ifstream file(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
}

label_watch::label_watch(std::function<QLabel*()> find) : find_(std::move(find)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { look(); });
    timer_.start(5);
}

void label_watch::look() {
    const QLabel* label = find_();
    if (label == nullptr) return;
    const QString text = label->text();
    const uint32_t color = font_color(label);
    const auto now = std::chrono::steady_clock::now();
    if (states_.empty() || states_.back().text != text || states_.back().color != color) {
        states_.push_back({text, color, now, states_.empty() ? now : last_look_});
    }
    last_look_ = now;
}

std::vector<QString> label_watch::texts() const {
    std::vector<QString> texts;
    for (const label_state& state : states_) {
        if (texts.empty() || texts.back() != state.text) texts.push_back(state.text);
    }
    return texts;
}

void startup_test::SetUp() {
    studio_test::SetUp();
    folder.set_setup_value("System", "SysChk", "1");
    // No writer: a socket that nobody listens on.
    const std::string nowhere = folder.path() + "../no-writer.sock";
    ::setenv("KOVA_WRITER_SIM", nowhere.c_str(), 1);
    plan_stand_in("", stand_in_log());
}

void startup_test::start_writer(const std::vector<std::string>& options) {
    ASSERT_TRUE(writer.start(options));
    ::setenv("KOVA_WRITER_SIM", writer.socket_path().c_str(), 1);
}

void startup_test::use_stand_in_updater(const std::string& name, const std::string& rules) {
    link_stand_in(folder.file("bin/QavUpdate" + name));
    folder.set_setup_value("System", "FwVer", name);
    plan_stand_in(rules, stand_in_log());
}

size_t startup_test::boot_loader_starts() const {
    size_t count = 0;
    for (const std::string& line : writer.trace_lines()) count += line == "restart boot" ? 1 : 0;
    return count;
}
