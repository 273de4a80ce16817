// A voice project put into the compiler page's grids exactly as the file list
// and the group list store it: WAV files and mutes added, files switched to the
// selected compression, items put into groups with their busy flags, group
// options set. The compile tests prepare their projects through this class
// only, so that it can be switched in one place to driving the file list's and
// the group list's own handlers (with the open dialog answered through
// `record`).
#pragma once

#include "recording_services.h"

#include <QString>

class TForm1;

class project_entry {
public:
    project_entry(TForm1& form, service_record& record) : form_(form), record_(record) {}

    // Adds a WAV file as the file list's Add does (name, rate, size, "8-bit PCM", path, the next item id); the
    // file-list row it went to.
    int add_wave_file(const QString& path);
    // Adds a mute of the given time text ("250") as a confirmed mute editor leaves it; its row.
    int add_mute(const QString& time_text);
    // Switches a file row to the compression selected in CB_ComFmt, as Edit does.
    void compress_row(int row);
    // Appends the row's item to a group (numbered from 1) with its busy flag.
    void put_into_group(int row, int group, bool busy = true);
    // The three options of a group, as the group settings panel writes them.
    void set_group_options(int group, bool edge, bool hold, bool retrigger);

private:
    void ensure_groups();
    int new_item_row();

    TForm1& form_;
    [[maybe_unused]] service_record& record_;
};
