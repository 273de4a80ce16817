#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "qavchk.h"
#include "test_files.h"
#include "test_image.h"

namespace {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

constexpr const char* kBegin = "(========================<Header Begin>========================)\n";
constexpr const char* kEnd = "(========================<Header   End>========================)\n";

struct outcome {
    int result = 0;
    std::string output;
    bool at_end = false;  // the routine left the image positioned at its end
};

// Runs one routine on an image held in memory.
template <typename Routine>
outcome run_on(std::vector<uint8_t> bytes, chk_state& state, Routine routine) {
    outcome o;
    state.image = open_bytes(bytes);
    CaptureStdout();
    o.result = routine(state);
    std::fflush(stdout);
    o.output = GetCapturedStdout();
    const long position = std::ftell(state.image);
    std::fseek(state.image, 0, SEEK_END);
    o.at_end = std::ftell(state.image) == position;
    chk_close_files(state);
    return o;
}

outcome print_header(std::vector<uint8_t> bytes) {
    chk_state state;
    return run_on(std::move(bytes), state, chk_print_header);
}

template_spec short_text_header() {
    template_spec spec;
    spec.header_offset = 0x80;  // one full row and one of 32 bytes
    return spec;
}

TEST(ChkPrintHeader, ListsRowsThatHoldTextPairByPair) {
    test_image image = make_test_image(short_text_header());
    const outcome o = print_header(image.file);
    EXPECT_EQ(o.result, 0);
    EXPECT_EQ(o.output, std::string(kBegin) + "KOVA3k10\nVoice chip program template.\n" + kEnd);
    EXPECT_TRUE(o.at_end);
}

TEST(ChkPrintHeader, TemplatesKeepOddLengthModelNamesWhole) {
    // A pair with one 0xFF byte is left out, so the generator pads an odd
    // name with a blank rather than lose its last letter.
    template_spec spec = short_text_header();
    spec.model = "KOVA341";
    test_image image = make_test_image(spec);
    const outcome o = print_header(image.file);
    EXPECT_EQ(o.output, std::string(kBegin) + "KOVA341 \nVoice chip program template.\n" + kEnd);
}

TEST(ChkPrintHeader, OddTextHeaderListsTheLoneLastByte) {
    test_image image = make_test_image(short_text_header());
    image.file.insert(image.file.begin() + 0x80, 'Z');
    image.file[6] = 0x81;
    const outcome o = print_header(image.file);
    EXPECT_EQ(o.result, 0);
    EXPECT_EQ(o.output, std::string(kBegin) + "KOVA3k10\nVoice chip program template.Z\n" + kEnd);
}

TEST(ChkPrintHeader, UnusableHeaderListsNothing) {
    test_image image = make_test_image(short_text_header());
    std::vector<uint8_t> low_offset = image.file;
    low_offset[6] = 0x1E;
    std::vector<uint8_t> partial_block = image.file;
    partial_block[12] += 4;
    for (const auto& bytes : {low_offset, partial_block, std::vector<uint8_t>{}}) {
        const outcome o = print_header(bytes);
        EXPECT_EQ(o.result, chk_header_refused);
        EXPECT_EQ(o.output, "");
        EXPECT_TRUE(o.at_end);
    }
}

TEST(ChkPrintHeader, TextHeaderCutShortEndsWithoutTheEndLine) {
    test_image image = make_test_image(short_text_header());
    image.file.resize(0x70);
    const outcome o = print_header(image.file);
    EXPECT_EQ(o.result, chk_header_refused);
    EXPECT_EQ(o.output, std::string(kBegin) + "KOVA3k10\n");
    EXPECT_TRUE(o.at_end);
}

struct verification : outcome {
    chk_state state;
};

verification verify(std::vector<uint8_t> bytes, int32_t rom_size) {
    verification v;
    v.state.rom_size = rom_size;
    static_cast<outcome&>(v) = run_on(std::move(bytes), v.state, chk_verify_image);
    return v;
}

TEST(ChkVerifyImage, ComputesAndReadsTheStoredChecksum) {
    template_spec spec;
    spec.level = 2;
    spec.cipher_start = 0x30;
    test_image image = make_test_image(spec, 0x400);
    seal_image(image, 0x1400);
    const verification v = verify(image.file, 0x1400);
    EXPECT_EQ(v.result, 0);
    EXPECT_EQ(v.state.result.checksum, expected_checksum(image.rom, 44, 0x1400));
    EXPECT_EQ(v.state.stored_checksum, v.state.result.checksum);
    EXPECT_EQ(v.state.result.frequency_hz, 5000000);
    EXPECT_EQ(v.output, "");
    EXPECT_TRUE(v.at_end);
}

TEST(ChkVerifyImage, RefusesHeadersAndSystemInformationItCannotUse) {
    test_image image = make_test_image({}, 0x400);
    std::vector<uint8_t> short_info = image.file;
    short_info[image.base] = 7;  // L = 14
    std::vector<uint8_t> negative_range = image.file;
    negative_range[11] = 0x80;  // starts below ROM address 0
    std::vector<uint8_t> wrong_magic = image.file;
    wrong_magic[0] = 'k';
    for (const auto& bytes : {short_info, negative_range, wrong_magic, std::vector<uint8_t>{}}) {
        const verification v = verify(bytes, 0x1400);
        EXPECT_EQ(v.result, chk_header_refused);
        EXPECT_TRUE(v.at_end);
    }
}

TEST(ChkCloseFiles, ClosesWhatIsOpenAndForgetsIt) {
    chk_state state;
    chk_close_files(state);  // nothing open
    state.image = std::tmpfile();
    ASSERT_TRUE(state.log.open((test_folder() + "/log").c_str()));
    chk_close_files(state);
    EXPECT_EQ(state.image, nullptr);
    EXPECT_FALSE(state.log.is_open());
}

}  // namespace
