// KovaStudio's entry driven in-process: one copy at a time, the program's end
// through the start form's Cancel, and exceptions that reach the event loop.
#include "startup_support.h"

#include "single_instance_lock.h"
#include "studio_entry.h"
#include "tform1.h"
#include "tform2.h"
#include "ui_driver.h"

#include <QApplication>
#include <QTimer>

#include <filesystem>
#include <stdexcept>

namespace {

// The entry makes the forms itself: start_studio is not used.
class Entry : public studio_test {
protected:
    void SetUp() override {
        studio_test::SetUp();
        // A program that does not end within a minute is ended here, so that a fault fails the test instead
        // of hanging it.
        QObject::connect(&guard_, &QTimer::timeout, [this] {
            hung_ = true;
            QCoreApplication::exit(1);
        });
        guard_.setSingleShot(true);
        guard_.start(60000);
    }
    void TearDown() override {
        EXPECT_FALSE(hung_) << "the program did not end";
        studio_test::TearDown();
    }

private:
    QTimer guard_;
    bool hung_ = false;
};

// An object whose handler for user events throws: an integer for the second user event type, else an exception
// with the event's message.
class throwing_object : public QObject {
public:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User) throw std::runtime_error("the handler broke");
        if (event->type() == QEvent::Type(QEvent::User + 1)) throw 42;
        return QObject::event(event);
    }
};

TEST_F(Entry, ASecondCopyShowsOneBoxCreatesNoFormAndEndsWith0) {
    const single_instance_lock first(kInstanceLockText);
    ASSERT_EQ(first.result(), instance_lock_result::acquired);
    expect_box("Program Starts Failure!", "Program has already started!", IDOK);
    EXPECT_EQ(RunKovaStudio(*qApp, folder.path()), 0);
    ASSERT_EQ(record.boxes.size(), 1u);
    EXPECT_EQ(record.boxes[0].flags, unsigned{MB_OK | MB_ICONEXCLAMATION});
    EXPECT_EQ(record.boxes[0].owner, nullptr);
    EXPECT_EQ(Form1, nullptr);
    EXPECT_EQ(Form2, nullptr);
    EXPECT_TRUE(record.sounds.empty());
}

TEST_F(Entry, CancelOnTheStartFormEndsTheProgramWith0AndFreesTheLock) {
    folder.set_setup_value("System", "SysChk", "1");
    std::filesystem::remove(folder.file("bin/SysChk.lst"));
    // The user clicks Cancel once the failed check has enabled it.
    QTimer user;
    bool clicked = false;
    QObject::connect(&user, &QTimer::timeout, [&] {
        if (clicked || Form2 == nullptr || !Form2->B_Ini_Cancel->isEnabled()) return;
        clicked = true;
        EXPECT_FALSE(Form1->isVisible());
        click(Form2->B_Ini_Cancel);
    });
    user.start(20);
    EXPECT_EQ(RunKovaStudio(*qApp, folder.path()), 0);
    EXPECT_TRUE(clicked);
    EXPECT_EQ(Form1, nullptr);
    EXPECT_EQ(Form2, nullptr);
    EXPECT_EQ(record.sounds, (std::vector<QString>{"SYSTEMDEFAULT", "SYSTEMHAND"}));
    const single_instance_lock next(kInstanceLockText);
    EXPECT_EQ(next.result(), instance_lock_result::acquired);
}

TEST_F(Entry, ClosingTheMainFormEndsTheProgram) {
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [] {
        if (Form1 != nullptr && Form1->isVisible()) Form1->close();
    });
    user.start(20);
    EXPECT_EQ(RunKovaStudio(*qApp, folder.path()), 0);
    EXPECT_EQ(Form1, nullptr);
}

TEST_F(Entry, AnExceptionThatReachesTheEventLoopIsShownAndTheProgramGoesOn) {
    expect_box(QApplication::applicationName(), "the handler broke", IDOK);
    expect_box(QApplication::applicationName(), "", IDOK);
    throwing_object broken;
    QCoreApplication::postEvent(&broken, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&broken, new QEvent(QEvent::Type(QEvent::User + 1)));
    bool went_on = false;
    QTimer::singleShot(100, [&] {
        went_on = true;
        Form1->close();
    });
    EXPECT_EQ(RunKovaStudio(*qApp, folder.path()), 0);
    EXPECT_TRUE(went_on);
    ASSERT_EQ(record.boxes.size(), 2u);
    EXPECT_EQ(record.boxes[0].flags, unsigned{MB_ICONERROR});
    EXPECT_EQ(record.boxes[1].text, "");
}

}  // namespace
