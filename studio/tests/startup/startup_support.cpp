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

namespace {

// Arranges nothing: it only hears each re-arrangement the children of its widget ask for, which a label asks
// for inside every change of its text.
class text_change_probe : public QLayout {
public:
    explicit text_change_probe(std::function<void()> asked) : asked_(std::move(asked)) {
        setSizeConstraint(SetNoConstraint);
    }
    void addItem(QLayoutItem* item) override { delete item; }
    QLayoutItem* itemAt(int) const override { return nullptr; }
    QLayoutItem* takeAt(int) override { return nullptr; }
    int count() const override { return 0; }
    QSize sizeHint() const override { return {}; }
    void setGeometry(const QRect&) override {}
    void invalidate() override {
        QLayout::invalidate();
        if (asked_) asked_();
    }

private:
    std::function<void()> asked_;
};

}  // namespace

label_watch::label_watch(std::function<QLabel*()> find) : find_(std::move(find)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { look(); });
    timer_.start(5);
}

label_watch::~label_watch() { delete probe_.data(); }

void label_watch::look() {
    QLabel* label = find_();
    if (label == nullptr) return;
    if (label != watched_) {
        delete probe_.data();
        watched_ = label;
        QWidget* parent = label->parentWidget();
        if (parent != nullptr && parent->layout() == nullptr) {
            auto* probe = new text_change_probe([this] {
                if (watched_) take(*watched_, true);
            });
            parent->setLayout(probe);
            probe_ = probe;
        } else {
            ADD_FAILURE() << "the watched label's parent has a layout: its changes of text can only be sampled";
        }
    }
    take(*label, false);
}

// A colour alone changes without a re-arrangement; a look takes it.
void label_watch::take(const QLabel& label, bool text_only) {
    const QString text = label.text();
    const uint32_t color = font_color(&label);
    if (!states_.empty() && states_.back().text == text && (text_only || states_.back().color == color)) return;
    states_.push_back({text, color, std::chrono::steady_clock::now(), text_only});
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
