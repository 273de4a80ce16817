#include <gtest/gtest.h>

#include "echo_writer.h"
#include "files_equal.h"
#include "stream_file_transfer.h"
#include "test_files.h"

#include <filesystem>
#include <string>

namespace {

class Files : public ::testing::Test {
protected:
    void SetUp() override { folder = test_folder(); }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::string make(const std::string& name, const std::string& bytes) {
        const std::string path = folder + "/" + name;
        write_text(path, bytes);
        return path;
    }

    static std::string pattern_bytes(size_t size) {
        std::string bytes(size, '\0');
        for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + i / 256);
        return bytes;
    }

    std::string folder;
};

TEST_F(Files, EqualOnlyWithTheSameBytesToTheEnd) {
    const std::string bytes = pattern_bytes(3000);
    const std::string original = make("a", bytes);
    EXPECT_TRUE(files_equal(original, make("copy", bytes)));
    EXPECT_FALSE(files_equal(original, make("longer", bytes + "x")));
    EXPECT_FALSE(files_equal(make("shorter", bytes.substr(0, 2048)), original));
    std::string changed = bytes;
    changed[2500] ^= 1;
    EXPECT_FALSE(files_equal(original, make("changed", changed)));
    EXPECT_TRUE(files_equal(make("empty1", ""), make("empty2", "")));
    // Equal files that end on a chunk boundary.
    EXPECT_TRUE(files_equal(make("chunks1", bytes.substr(0, 2048)), make("chunks2", bytes.substr(0, 2048))));
    EXPECT_FALSE(files_equal(original, folder + "/missing"));
    EXPECT_FALSE(files_equal(folder + "/missing", folder + "/missing"));
}

// The echo writer answers each report with the one before, so the data that
// comes back is the input, shifted by one report as the protocol has it.
TEST_F(Files, StreamedTransferCollectsEveryAnswer) {
    for (const file_stream_form& form : {kUpdaterFileStream, kWriterFileStream}) {
        const size_t piece = static_cast<size_t>(form.piece);
        for (const bool non_overlapped : {false, true}) {
            for (const size_t size : {size_t{1}, piece - 1, piece, piece * 64 + 5, size_t{10000}}) {
                echo_link writer(non_overlapped);
                const std::string bytes = pattern_bytes(size);
                std::FILE* input = std::fopen(make("in", bytes).c_str(), "rb");
                std::FILE* output = std::fopen((folder + "/out").c_str(), "wb");
                EXPECT_TRUE(stream_file_transfer(writer.link, input, output, 0x21, form)) << size;
                std::fclose(input);
                std::fclose(output);
                EXPECT_EQ(read_text(folder + "/out"), bytes) << size << " non-overlapped " << non_overlapped;
                ASSERT_FALSE(writer.state->sent.empty());
                EXPECT_EQ(writer.state->sent.front()[0], 0x21);
                EXPECT_EQ(writer.state->sent.front()[1], std::min(size, piece));
                EXPECT_EQ(writer.state->sent.back()[1], 0);  // the stream end
                EXPECT_TRUE(writer.state->answers.empty());  // every answer taken
            }
        }
    }
}

// The updater ends even an empty stream with its end report; the writer
// programs' form sends nothing for an empty input and awaits no answer.
TEST_F(Files, EmptyInputEndsAsEachFormHasIt) {
    for (const file_stream_form& form : {kUpdaterFileStream, kWriterFileStream}) {
        echo_link writer;
        std::FILE* input = std::fopen(make("in", "").c_str(), "rb");
        std::FILE* output = std::fopen((folder + "/out").c_str(), "wb");
        EXPECT_TRUE(stream_file_transfer(writer.link, input, output, 0x21, form));
        std::fclose(input);
        std::fclose(output);
        EXPECT_EQ(read_text(folder + "/out"), "");
        EXPECT_EQ(writer.state->sent.size(), form.end_empty_input ? 1u : 0u);
        EXPECT_TRUE(writer.state->answers.empty());
    }
}

TEST_F(Files, StreamedTransferRefusesMissingPartsAndEndsWhenAnswersStop) {
    echo_link writer;
    std::FILE* input = std::fopen(make("in", pattern_bytes(500)).c_str(), "rb");
    std::FILE* output = std::fopen((folder + "/out").c_str(), "wb");
    EXPECT_FALSE(stream_file_transfer(writer.link, nullptr, output, 0x21, kUpdaterFileStream));
    EXPECT_FALSE(stream_file_transfer(writer.link, input, nullptr, 0x21, kUpdaterFileStream));
    EXPECT_TRUE(writer.state->sent.empty());
    writer.state->unanswered.insert(3);
    EXPECT_FALSE(stream_file_transfer(writer.link, input, output, 0x21, kUpdaterFileStream));
    writer.link.close_writer();
    EXPECT_FALSE(stream_file_transfer(writer.link, input, output, 0x21, kUpdaterFileStream));
    std::fclose(input);
    std::fclose(output);
}

}  // namespace
