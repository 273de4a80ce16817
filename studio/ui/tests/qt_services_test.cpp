// The desktop services as the program uses them, driven as a user drives
// them: the real message box answered by its buttons and keys, the real save
// dialog with a name typed into it, and the files the system sounds resolve to.
#include "studio_services.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <pwd.h>

#include <functional>

namespace {

// Runs `act` once on the modal window of type `Modal` as soon as it is shown. A window that is still open
// a minute later is rejected, so that a missed action fails the test instead of hanging it.
template <class Modal>
class when_shown {
public:
    explicit when_shown(std::function<void(Modal*)> act) : act_(std::move(act)) {
        QObject::connect(&poll_, &QTimer::timeout, [this] { look(); });
        poll_.start(10);
        QTimer::singleShot(60000, &poll_, [this] {
            if (QWidget* open = QApplication::activeModalWidget()) open->close();
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->reject();
        });
    }
    bool acted() const { return acted_; }

private:
    void look() {
        auto* modal = qobject_cast<Modal*>(QApplication::activeModalWidget());
        if (acted_ || !modal || !modal->isVisible()) return;
        acted_ = true;
        poll_.stop();
        act_(modal);
    }
    std::function<void(Modal*)> act_;
    QTimer poll_;
    bool acted_ = false;
};

// Where a key typed into the window goes: its focus widget, else the window itself.
QWidget* key_target(QWidget* window) { return window->focusWidget() ? window->focusWidget() : window; }

TEST(QtServices, EveryButtonSetAnswersItsButtonsReturnEscapeAndTheClose) {
    const struct {
        unsigned flags;
        const char* action;  // a button's text, or a key, or the window's close
        int answer;
    } cases[] = {
        {MB_OK, "OK", IDOK},
        {MB_OK, "Return", IDOK},
        {MB_OK, "Escape", IDOK},
        {MB_OK, "close", IDOK},
        {MB_OKCANCEL, "OK", IDOK},
        {MB_OKCANCEL, "Cancel", IDCANCEL},
        {MB_OKCANCEL, "Return", IDOK},
        {MB_OKCANCEL, "Escape", IDCANCEL},
        {MB_OKCANCEL, "close", IDCANCEL},
        {MB_YESNO, "Yes", IDYES},
        {MB_YESNO, "No", IDNO},
        {MB_YESNO, "Return", IDYES},
        {MB_YESNO, "Escape", IDNO},
        {MB_YESNO, "close", IDNO},
    };
    const std::unique_ptr<message_box_service> boxes = make_qt_message_boxes();
    for (const auto& one : cases) {
        const QString action = one.action;
        SCOPED_TRACE(std::to_string(one.flags) + " " + one.action);
        const when_shown<QMessageBox> user([&action](QMessageBox* box) {
            if (action == "Return") {
                QTest::keyClick(key_target(box), Qt::Key_Return);
            } else if (action == "Escape") {
                QTest::keyClick(key_target(box), Qt::Key_Escape);
            } else if (action == "close") {
                box->close();
            } else {
                for (QAbstractButton* button : box->buttons()) {
                    if (button->text().remove('&') == action) QTest::mouseClick(button, Qt::LeftButton);
                }
            }
        });
        const int answer = boxes->show(nullptr, "Same mute has been added! Remove this one?", "Error!",
                                       one.flags | MB_ICONINFORMATION);
        ASSERT_TRUE(user.acted()) << "the box was not seen";
        EXPECT_EQ(answer, one.answer);
        // The scripted boxes of the form tests answer a closed box alike.
        if (action == "Escape" || action == "close") {
            EXPECT_EQ(answer, closed_box_answer(one.flags));
        }
    }
}

TEST(QtServices, TheSaveDialogGivesTheNameAsTypedWithinTheFolderItShows) {
    const QTemporaryDir shown;
    ASSERT_TRUE(shown.isValid());
    const QString folder = shown.path();
    ASSERT_TRUE(QDir(folder).mkpath("out"));
    const passwd* root = ::getpwnam("root");
    ASSERT_NE(root, nullptr);
    const QString root_home = QString::fromLocal8Bit(root->pw_dir);
    ASSERT_EQ(::getpwnam("kovanosuchuser"), nullptr);
    const struct {
        QString typed;
        QString chosen;
    } cases[] = {
        // Qt alone reads the quote as a list of names and gives "uote.dat", outside "out".
        {"out/q\"uote.dat", folder + "/out/q\"uote.dat"},
        {"\"a.dat\" \"b.dat\"", folder + "/\"a.dat\" \"b.dat\""},
        {"out/plain", folder + "/out/plain.dat"},
        {"sound.bin", folder + "/sound.bin"},
        {folder + "/out/absolute", folder + "/out/absolute.dat"},
        {"~/in home", QDir::homePath() + "/in home.dat"},
        // A user's home from the password database; a user there is none of is a folder name like any other.
        {"~root/x", root_home + "/x.dat"},
        {"~kovanosuchuser/x", folder + "/~kovanosuchuser/x.dat"},
    };
    const std::unique_ptr<file_dialog_service> dialogs = make_qt_file_dialogs();
    for (const auto& one : cases) {
        SCOPED_TRACE(one.typed.toStdString());
        QStringList qt_reading;
        const when_shown<QFileDialog> user([&](QFileDialog* dialog) {
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            ASSERT_NE(name, nullptr);
            // The name is put in whole: typed key by key, a path opens the completion list, which takes Return.
            dialog->setDirectory(folder);
            name->setText(one.typed);
            QTest::keyClick(name, Qt::Key_Return);
            qt_reading = dialog->selectedFiles();
        });
        const QString chosen = dialogs->save_file(nullptr, "DAT file(*.dat)|*.dat", ".dat");
        ASSERT_TRUE(user.acted()) << "the dialog was not seen";
        EXPECT_EQ(chosen.toStdString(), one.chosen.toStdString());
        // Without double quotes the file returned is the one the dialog read the name as, and checked.
        if (!one.typed.contains('"')) {
            EXPECT_EQ(chosen.toStdString(), qt_reading.value(0).toStdString());
        }
    }
    // The dialog itself writes nothing.
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"out"});
    EXPECT_TRUE(QDir(folder + "/out").isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

TEST(QtServices, TheErrorSoundAndTheDefaultSoundAreDifferentFilesOfTheSoundTheme) {
    const QString error = system_sound_file("SYSTEMHAND");
    const QString other = system_sound_file("SYSTEMDEFAULT");
    ASSERT_FALSE(error.isEmpty()) << "no sound theme: tools/install-deps.sh installs sound-theme-freedesktop";
    ASSERT_FALSE(other.isEmpty());
    EXPECT_TRUE(QFileInfo(error).isFile());
    EXPECT_TRUE(QFileInfo(other).isFile());
    QFile error_file(error);
    QFile other_file(other);
    ASSERT_TRUE(error_file.open(QIODevice::ReadOnly));
    ASSERT_TRUE(other_file.open(QIODevice::ReadOnly));
    EXPECT_NE(error_file.readAll(), other_file.readAll()) << "the two sounds sound alike";
}

}  // namespace
