// The voice-project editor's test cases: the main form started on a program
// folder of the test's own, WAV files written for the case, and the user's
// moves on the compiler page (Add > Wave with a scripted dialog, Add > Mute
// with a typed time, double clicks into the selected group).
#pragma once

#include "studio_fixture.h"
#include "wav_writer.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <string>
#include <vector>

class TStringGrid;

// 8-bit mono PCM WAV shapes but for one respect.
wav_format at_rate(uint32_t hz);
wav_format with_bits(uint16_t bits_per_sample);
wav_format with_channels(uint16_t channels);
wav_format float_samples();               // format 3, 32-bit
wav_format with_list_chunk();             // a LIST chunk between "fmt " and "data"
wav_format with_size_field(uint32_t size);  // the data chunk's size field says `size`

class editor_test : public studio_test {
protected:
    // An 8-bit mono WAV file (or one of the given shape) of `frames` frames in
    // the test's folder; its full path.
    QString wav(const std::string& name, size_t frames = 100, const wav_format& format = {}) const;
    // A file of exactly these bytes in the test's folder; its full path.
    QString raw_file(const std::string& name, const std::vector<uint8_t>& bytes) const;

    // Add > Wave, the dialog answering with `paths`.
    void add_files(const QStringList& paths);
    // Add > Mute: the editor opens; the typed time replaces its text, then OK.
    void add_mute(const QString& time);
    // Types a time into the open mute editor (replacing its selected text) and clicks OK.
    void set_mute_time(const QString& time);

    // Clicks the file-list row, then double-clicks it (into the selected group).
    void put_into_group(int file_row);
    void select_group(int group);
    void select_file(int file_row);

    // A column's texts from row 1 down to the last row whose text is not empty.
    static QStringList column(const TStringGrid* grid, int col);
    // The selected group's item list (group-list column 5).
    QString item_list(int group) const;
};
