// The commands one by one, on images held in temporary files.
#include "lns_commands.h"
#include "qavgen_test_data.h"

#include <gtest/gtest.h>

namespace {

class Handler : public ::testing::Test {
protected:
    void SetUp() override { lns_reset_state(); }
    void TearDown() override { lns_close_all(false); }

    // Output and duplicate hold `content`, positioned at their end.
    void images(const bytes& content) {
        lns.output = std::tmpfile();
        lns.duplicate = std::tmpfile();
        for (FILE* f : {lns.output, lns.duplicate})
            if (!content.empty()) std::fwrite(content.data(), 1, content.size(), f);
    }

    static bytes contents(FILE* f) {
        const long position = std::ftell(f);
        std::fseek(f, 0, SEEK_END);
        bytes b(static_cast<size_t>(std::ftell(f)));
        std::rewind(f);
        EXPECT_EQ(std::fread(b.data(), 1, b.size(), f), b.size());
        std::fseek(f, position, SEEK_SET);
        return b;
    }
};

}  // namespace

TEST(Unquote, AcceptsOnlyEqualsQuoteTextQuote) {
    char text[kLnsValueSize];
    ASSERT_TRUE(lns_unquote("=\"a b\"", text));
    EXPECT_STREQ(text, "a b");
    ASSERT_TRUE(lns_unquote("=\"\"\"", text));
    EXPECT_STREQ(text, "\"");
    for (const char* refused : {"=\"\"", "=\"", "", "\"a\"", "=a\"", "=\"a", "=\"a\" ", " =\"a\""})
        EXPECT_FALSE(lns_unquote(refused, text)) << refused;
}

TEST(Unquote, TextLongerThanTheValueBufferIsRefused) {
    char text[kLnsValueSize];
    const std::string fits = "=\"" + std::string(kLnsValueSize - 1, 'a') + "\"";
    EXPECT_TRUE(lns_unquote(fits.c_str(), text));
    EXPECT_EQ(std::string(text).size(), size_t{kLnsValueSize - 1});
    const std::string too_long = "=\"" + std::string(kLnsValueSize, 'a') + "\"";
    EXPECT_FALSE(lns_unquote(too_long.c_str(), text));
}

TEST_F(Handler, RomSizeReadsHexadecimalAndABadDigitLeavesNoLimit) {
    EXPECT_EQ(lns_rom_size("=\"8000\""), 0);
    EXPECT_EQ(lns.max_size, 0x8000u);
    EXPECT_EQ(lns_rom_size("=\"fFfF\""), 0);
    EXPECT_EQ(lns.max_size, 0xFFFFu);
    EXPECT_EQ(lns_rom_size("=\"\""), 0);
    EXPECT_EQ(lns.max_size, 0u);
    EXPECT_EQ(lns_rom_size("=\"80G0\""), -1);
    EXPECT_EQ(lns.max_size, kLnsNoLimit);
    lns.max_size = 5;
    for (const char* refused : {"=\"", "8000", "=\"8000", "=8000\""}) EXPECT_EQ(lns_rom_size(refused), -1);
    EXPECT_EQ(lns.max_size, 5u);
}

TEST_F(Handler, SetParmWritesOneByteAndReturnsToTheEnd) {
    images(bytes(0x20, 0));
    ASSERT_EQ(lns_set_parm("=\"[8]=1A5\"", 4), 0);
    for (FILE* f : {lns.output, lns.duplicate}) {
        EXPECT_EQ(std::ftell(f), 0x20);
        EXPECT_EQ(contents(f)[12], 0xA5);
    }
    // Past the end the file grows.
    ASSERT_EQ(lns_set_parm("=\"[30]=7\"", 0), 0);
    EXPECT_EQ(contents(lns.output).size(), 0x31u);
    for (const char* refused : {"[8]=1", "=\"8]=1\"", "=\"[8=1\"", "=\"[8]1\""})
        EXPECT_EQ(lns_set_parm(refused, 0), -1) << refused;
    EXPECT_EQ(lns_set_parm("=\"[FFFFFFFE]=1\"", 1), -1);  // before the file
}

TEST_F(Handler, CopyRangeChecksSpansAndCopiesInBothImages) {
    bytes content(0x1000);
    for (size_t i = 0; i < content.size(); ++i) content[i] = static_cast<uint8_t>(i * 7);
    images(content);
    ASSERT_EQ(lns_copy_range("=\"[10:1F][100:10F]\"", 0x10), 0);
    for (FILE* f : {lns.output, lns.duplicate}) {
        const bytes b = contents(f);
        EXPECT_TRUE(std::equal(b.begin() + 0x20, b.begin() + 0x30, b.begin() + 0x110));
        EXPECT_EQ(std::ftell(f), 0x1000);
    }
    EXPECT_EQ(lns_copy_range("=\"[5:5][6:6]\"", 0), 0);  // one byte
    for (const char* refused : {"=\"[10:1F][100:10E]\"", "=\"[1F:10][10F:100]\"", "=\"[10:1F][100:\"", "[10:1F]",
                                "=\"[0:401][800:C01]\"", "=\"[F80:107F][0:FF]\"" /* reads past the end */})
        EXPECT_EQ(lns_copy_range(refused, 0), -1) << refused;
}

TEST_F(Handler, CheckSumWantsGenerateAndAnImage) {
    EXPECT_EQ(lns_check_sum("=\"gEnErAtE\""), -2);
    EXPECT_EQ(lns_check_sum("=\"Generate\" "), -1);
    EXPECT_EQ(lns_check_sum("Generate"), -1);
    images(bytes(0x40, 0xFF));
    EXPECT_EQ(lns_check_sum("=\"Generate\""), -3);  // no header record
}

TEST_F(Handler, FirstAddFileTakesTheTemplateHeaderOnlyWithinTheRomLimit) {
    const std::string folder = test_folder();
    template_spec spec;
    spec.header_offset = 0x40;
    write_template(folder + "/t.pgm", spec);
    const std::string value = "=\"" + folder + "/t.pgm\"";

    images({});
    lns.max_size = 0x1000000;  // beyond 0xFFFFFF: stays a plain file limit
    ASSERT_EQ(lns_add_file(value.c_str()), 0);
    EXPECT_EQ(lns.max_size, 0x1000000u);
    EXPECT_EQ(lns.header_offset, 0);
    EXPECT_FALSE(lns.first_add_file);

    lns_close_all(false);
    lns_reset_state();
    images({});
    lns.max_size = 0x2000;
    ASSERT_EQ(lns_add_file(value.c_str()), 0);
    EXPECT_EQ(lns.max_size, 0x2040u);
    EXPECT_EQ(lns.header_offset, 0x40);
    EXPECT_EQ(lns.appended_total, 0x1040u);
    EXPECT_EQ(contents(lns.output), read_file(folder + "/t.pgm"));
    EXPECT_EQ(lns.input, nullptr);
}
