#include "recording_services.h"

#include <gtest/gtest.h>

namespace {

class recording_boxes : public message_box_service {
public:
    explicit recording_boxes(service_record& record) : record_(record) {}
    int show(QWidget* owner, const QString& text, const QString& caption, unsigned flags) override {
        const recorded_box box{owner, text, caption, flags};
        record_.boxes.push_back(box);
        if (record_.while_box_shown) record_.while_box_shown(box);
        if (record_.expected_boxes.empty()) {
            ADD_FAILURE() << "unexpected message box \"" << caption.toStdString() << "\": " << text.toStdString();
            return (flags & 0x0F) == MB_YESNO ? IDNO : IDCANCEL;
        }
        const expected_box expected = record_.expected_boxes.front();
        record_.expected_boxes.pop_front();
        EXPECT_EQ(caption.toStdString(), expected.caption.toStdString()) << "box text: " << text.toStdString();
        if (!expected.text.isEmpty()) {
            EXPECT_EQ(text.toStdString(), expected.text.toStdString());
        }
        return expected.answer;
    }

private:
    service_record& record_;
};

class recording_sounds : public sound_service {
public:
    explicit recording_sounds(service_record& record) : record_(record) {}
    void play(const QString& name) override { record_.sounds.push_back(name); }

private:
    service_record& record_;
};

class recording_shell : public shell_service {
public:
    explicit recording_shell(service_record& record) : record_(record) {}
    void open(const QString& target) override { record_.opened.push_back(target); }

private:
    service_record& record_;
};

class scripted_dialogs : public file_dialog_service {
public:
    explicit scripted_dialogs(service_record& record) : record_(record) {}
    QStringList open_files(QWidget*, const QString& filter, bool) override {
        record_.dialog_filters.push_back(filter);
        if (record_.open_answers.empty()) {
            ADD_FAILURE() << "unexpected open dialog " << filter.toStdString();
            return {};
        }
        QStringList answer = record_.open_answers.front();
        record_.open_answers.pop_front();
        return answer;
    }
    QString save_file(QWidget*, const QString& filter, const QString& default_extension) override {
        record_.dialog_filters.push_back(filter);
        if (record_.save_answers.empty()) {
            ADD_FAILURE() << "unexpected save dialog " << filter.toStdString();
            return {};
        }
        QString answer = record_.save_answers.front();
        record_.save_answers.pop_front();
        // As the dialog does: a name typed without an extension gets the default one.
        const QString name = answer.section('/', -1);
        if (!answer.isEmpty() && !name.contains('.')) answer += default_extension;
        return answer;
    }

private:
    service_record& record_;
};

}  // namespace

void install_recording_services(service_record& record) {
    studio_services replacement;
    replacement.message_boxes = std::make_unique<recording_boxes>(record);
    replacement.sounds = std::make_unique<recording_sounds>(record);
    replacement.shell = std::make_unique<recording_shell>(record);
    replacement.file_dialogs = std::make_unique<scripted_dialogs>(record);
    replacement.media = make_fake_media(record.media);
    install_services(std::move(replacement));
}
