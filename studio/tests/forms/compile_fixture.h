// What the compile tests share: sound files of their own, a small project, the
// Compile click with its save dialog answered, and readers for what the
// pipeline leaves behind (the DAT image's ROM, the report).
#pragma once

#include "project_dat.h"  // check_image, deciphered_rom
#include "studio_fixture.h"
#include "tform1.h"
#include "ui_driver.h"

#include <QString>

#include <cstdint>
#include <string>
#include <vector>

// The high-current warnings as the built-in texts give them.
extern const QString kWarningOtherDevices;  // first line, capacitor line, speaker line
extern const QString kWarningZ6;            // first line, the two-capacitor line

class compile_test : public studio_test {
protected:
    // An 8-bit mono WAV file of these samples in the test's sound folder; its full path.
    QString wave(const std::string& name, const std::vector<uint8_t>& samples, uint32_t rate);

    // Clicks Compile; the save dialog answers `dat_path` ("" cancels it). A click that has not returned
    // within two minutes ends the test program: the pipeline hangs.
    void click_compile(TForm1& form, const std::string& dat_path);

    // A small project on device KOVA3K10, "Key Sequential", "COUT[DAC]" (no warning), ADPCM: an ADPCM sound
    // and a mute in group 1, a PCM sound in group 2. Its two WAV files' paths.
    struct small_project_files {
        QString adpcm_wave;
        QString pcm_wave;
    };
    small_project_files small_project(TForm1& form);

    // A file of the program folder's temp/ as text.
    std::string temp_text(const std::string& name) const;

    std::string sounds = folder.path() + "../sounds/";
    std::string out = folder.path() + "../out/";
};

// The ROM image of a DAT file, read through the image reader (the enciphered range deciphered).
struct rom_image {
    bool valid = false;
    std::string text_header;     // file bytes 32 .. header offset
    std::vector<uint8_t> bytes;  // ROM address 0 on
};
rom_image read_rom_image(const std::string& dat_path);

// The text split at CR LF; a last line without its end is kept.
std::vector<std::string> crlf_split(const std::string& text);
