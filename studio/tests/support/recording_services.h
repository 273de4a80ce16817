// Test versions of the desktop services: message boxes answered from a script
// (a box the test did not expect fails the test), dialogs answered from a
// script, every sound and shell-open recorded, and a fake media back end that
// plays nothing.
#pragma once

#include "fake_media.h"
#include "studio_services.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <deque>
#include <functional>
#include <vector>

struct recorded_box {
    QWidget* owner;
    QString text;
    QString caption;
    unsigned flags;
};

struct expected_box {
    QString caption;  // must equal the box's caption
    QString text;     // must equal the box's text; empty: any text
    int answer;       // IDOK, IDCANCEL, IDYES, IDNO
};

// What every recording service saw, shared by a test and the services it installed.
struct service_record {
    std::vector<recorded_box> boxes;
    std::deque<expected_box> expected_boxes;
    // Runs while a box is "shown", before it is answered (to look at the windows behind it).
    std::function<void(const recorded_box&)> while_box_shown;
    std::vector<QString> sounds;
    std::vector<QString> opened;
    std::deque<QStringList> open_answers;  // one per open dialog; an empty list cancels
    std::deque<QString> save_answers;      // one per save dialog; an empty text cancels
    std::vector<QString> dialog_filters;
    fake_media_record media;  // what the media player asked; the test ends or fails its plays
};

// Installs recording services that write into `record` (which must outlive them).
void install_recording_services(service_record& record);
