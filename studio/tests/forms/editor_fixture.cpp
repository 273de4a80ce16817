#include "editor_fixture.h"

#include "tform1.h"
#include "test_files.h"
#include "ui_driver.h"

#include <gtest/gtest.h>

wav_format at_rate(uint32_t hz) {
    wav_format format;
    format.sample_rate = hz;
    return format;
}

wav_format with_bits(uint16_t bits_per_sample) {
    wav_format format;
    format.bits_per_sample = bits_per_sample;
    return format;
}

wav_format with_channels(uint16_t channels) {
    wav_format format;
    format.channels = channels;
    return format;
}

wav_format float_samples() {
    wav_format format;
    format.format_tag = 3;
    format.bits_per_sample = 32;
    return format;
}

wav_format with_list_chunk() {
    wav_format format;
    format.list_chunk = true;
    return format;
}

wav_format with_size_field(uint32_t size) {
    wav_format format;
    format.data_size_field = size;
    return format;
}

QString editor_test::wav(const std::string& name, size_t frames, const wav_format& format) const {
    const std::string path = folder.file(name);
    std::vector<float> samples(frames);
    for (size_t i = 0; i < frames; ++i) samples[i] = (i % 16) / 16.0f - 0.5f;
    std::string error;
    EXPECT_TRUE(write_wav_file(path, format, samples, error)) << error;
    return QString::fromStdString(path);
}

QString editor_test::raw_file(const std::string& name, const std::vector<uint8_t>& bytes) const {
    const std::string path = folder.file(name);
    write_file(path, bytes);
    return QString::fromStdString(path);
}

void editor_test::add_files(const QStringList& paths) {
    record.open_answers.push_back(paths);
    click(form->BT_ItemCtl);
    ASSERT_EQ(visible_menu(), form->PM_ItemSelect);
    ASSERT_TRUE(choose_menu_item(form->PMB_Add));
    EXPECT_EQ(record.dialog_filters.back(), "wav file (*.wav)|*.wav");
}

void editor_test::add_mute(const QString& time) {
    click(form->BT_ItemCtl);
    ASSERT_TRUE(choose_menu_item(form->PMB_AddMute));
    ASSERT_TRUE(form->GB_MuteTime->isVisible());
    set_mute_time(time);
}

void editor_test::set_mute_time(const QString& time) {
    form->LE_SilTime->selectAll();
    type_text(form->LE_SilTime, time);
    click(form->BT_MuteTimeSet);
}

void editor_test::put_into_group(int file_row) { double_click_cell(form->SG_FileList, 0, file_row); }

void editor_test::select_group(int group) { click_cell(form->SG_GrpList, 0, group); }

void editor_test::select_file(int file_row) { click_cell(form->SG_FileList, 0, file_row); }

QStringList editor_test::column(const TStringGrid* grid, int col) {
    QStringList texts;
    for (int row = 1; row < grid->RowCount() && !grid->Cells(col, row).isEmpty(); ++row)
        texts << grid->Cells(col, row);
    return texts;
}

QString editor_test::item_list(int group) const { return form->SG_GrpList->Cells(5, group); }
