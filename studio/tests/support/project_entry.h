// A voice project entered on the compiler page as a user enters it: device and
// project settings chosen from their lists, WAV files added through Add > Wave
// (the open dialog answered through `record`), mutes through Add > Mute with a
// typed time, files switched to the selected compression with Edit, items put
// into the selected group with a double click (the busy output switched off
// with a double click in the group table), and group options set in the
// settings panel a double click on a group opens.
#pragma once

#include "recording_services.h"

#include <QString>

class TForm1;

class project_entry {
public:
    project_entry(TForm1& form, service_record& record) : form_(form), record_(record) {}

    // Device, trigger mode, output type and compression, each chosen from its list.
    void choose_setup(const QString& device, const QString& mode, const QString& output, const QString& format);

    // Adds a WAV file through Add > Wave; the file-list row it went to.
    int add_wave_file(const QString& path);
    // Adds a mute of the given time text ("250") through Add > Mute, typed and confirmed with OK; its row.
    int add_mute(const QString& time_text);
    // Switches a file row to the compression selected in CB_ComFmt with Edit.
    void compress_row(int row);
    // Appends the row's item to a group (numbered from 1) with its busy flag.
    void put_into_group(int row, int group, bool busy = true);
    // The three options of a group, chosen in its settings panel and saved with OK.
    void set_group_options(int group, bool edge, bool hold, bool retrigger);

    // Add > Mute: the mute editor opens over the file list for a new row, and stays open.
    void open_mute_editor();
    // A double click on a group row: its settings panel opens over the group list, and stays open.
    void open_group_settings(int group);

private:
    int new_item_row() const;

    TForm1& form_;
    service_record& record_;
};
