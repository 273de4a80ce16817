#include "compile_fixture.h"

#include "project_entry.h"

#include "image_header.h"
#include "test_files.h"
#include "test_wave.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <thread>

const QString kWarningOtherDevices = QString(
    "Using this volume level means large speaker current, please follow the precaustions below to avoid system "
    "hang-up: \n* The 0.1uF power decoupling capacitor must be connected directly to the VDD and VSS pins.\n"
    "* Use 16\u03A9 speaker, or add a 10\u03A9 resistor in series to a 8\u03A9 speaker.");
const QString kWarningZ6 = QString(
    "Using this volume level means large speaker current, please follow the precaustions below to avoid system "
    "hang-up: \n* The two 0.1uF power decoupling capacitors connected between VDD to VSS and VDDA to VSSA must be "
    "directly to the chip pins.");

namespace {

// Ends the test program when it is not released in time: a wait that does not end is a failure of its own.
class hang_guard {
public:
    explicit hang_guard(std::chrono::seconds limit) : watcher_([this, limit] {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!released_.wait_for(lock, limit, [this] { return done_; })) {
            std::cerr << "the Compile click did not return within " << limit.count() << " s" << std::endl;
            std::abort();
        }
    }) {}
    ~hang_guard() {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            done_ = true;
        }
        released_.notify_one();
        watcher_.join();
    }

private:
    std::mutex mutex_;
    std::condition_variable released_;
    bool done_ = false;
    std::thread watcher_;
};

}  // namespace

QString compile_test::wave(const std::string& name, const std::vector<uint8_t>& samples, uint32_t rate) {
    std::filesystem::create_directories(sounds);
    wave_spec spec;
    spec.rate = rate;
    spec.data = samples;
    write_file(sounds + name, wave_bytes(spec));
    return QString::fromStdString(sounds + name);
}

void compile_test::click_compile(TForm1& form, const std::string& dat_path) {
    std::filesystem::create_directories(out);
    record.save_answers.push_back(QString::fromStdString(dat_path));
    const hang_guard guard(std::chrono::seconds(120));
    click(form.BT_Compile);
    EXPECT_TRUE(record.save_answers.empty()) << "the save dialog was not shown";
    record.save_answers.clear();
}

compile_test::small_project_files compile_test::small_project(TForm1& form) {
    project_entry project(form, record);
    project.choose_setup("KOVA3K10", "Key Sequential", "COUT[DAC]", "4-bit ADPCM");
    small_project_files files{wave("a.wav", sine_samples(2000, 400, 8000, 90), 8000),
                              wave("b.wav", chirp_samples(1500, 100, 3000, 8000, 80), 8000)};
    const int adpcm_row = project.add_wave_file(files.adpcm_wave);
    project.compress_row(adpcm_row);
    const int mute_row = project.add_mute("100");
    const int pcm_row = project.add_wave_file(files.pcm_wave);
    project.put_into_group(adpcm_row, 1);
    project.put_into_group(mute_row, 1);
    project.put_into_group(pcm_row, 2);
    return files;
}

std::string compile_test::temp_text(const std::string& name) const { return read_text(folder.file("temp/" + name)); }

rom_image read_rom_image(const std::string& dat_path) {
    rom_image rom;
    const std::vector<uint8_t> whole = read_file(dat_path);
    if (whole.size() < static_cast<size_t>(kImageHeaderSize)) return rom;
    const image_header header = image_header_decode(whole.data());
    if (std::memcmp(whole.data(), "KOVA", 4) != 0 || !image_header_accepted(header) ||
        whole.size() < static_cast<size_t>(header.header_offset)) {
        return rom;
    }
    rom.text_header.assign(whole.begin() + kImageHeaderSize, whole.begin() + header.header_offset);
    rom.bytes = deciphered_rom(dat_path);
    rom.valid = rom.bytes.size() == whole.size() - static_cast<size_t>(header.header_offset);
    return rom;
}

std::vector<std::string> crlf_split(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}
