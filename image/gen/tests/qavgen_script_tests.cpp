// The command line, the log and the reading of the link script.
#include <time.h>

#include "qavgen_fixture.h"

namespace {

const std::string kBanner = "------- QavGen V1.8 (2010.03.10)---------\n";

// True for the C library's ctime text: 24 characters and its line break.
bool is_ctime_line(const std::string& text) {
    std::tm tm{};
    const char* end = ::strptime(text.c_str(), "%a %b %d %H:%M:%S %Y", &tm);
    return text.size() == 25 && end == text.c_str() + 24 && text[24] == '\n';
}

}  // namespace

TEST_F(QavGenRun, WrongArgumentCountPrintsUsageOnly) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{}, {lns, log, "+w", "extra"}}) {
        const child_result r = run_qavgen(args);
        EXPECT_EQ(r.exit_code, -1);
        EXPECT_EQ(r.output, "Usage: " + qavgen_path() + " link-script(*.lns) [log-fname] [+Warning]\n\n");
    }
    EXPECT_FALSE(file_exists(log));
}

TEST_F(QavGenRun, ScriptThatCannotBeOpenedEndsWithMinus2) {
    const std::string missing = folder + "/missing.lns";
    const child_result r = run_qavgen({missing, log});
    EXPECT_EQ(r.exit_code, -2);
    const std::string expected = kBanner + "Err: open link-script      <" + missing + ">.\n\n";
    EXPECT_EQ(r.output, expected);
    EXPECT_EQ(read_text(log), expected);
    // A path too long for the system is not openable either.
    EXPECT_EQ(run_qavgen({folder + "/" + std::string(5000, 'x') + ".lns"}).exit_code, -2);
}

TEST_F(QavGenRun, EmptyScriptWritesBannerOpenLineAndTime) {
    script({});
    write_text(log, "earlier run\n");
    const child_result r = run({});
    EXPECT_EQ(r.exit_code, 0);
    const std::string opened = kBanner + "Succ open link-script      <" + lns + ">.\n";
    ASSERT_EQ(r.output.substr(0, opened.size()), opened);
    EXPECT_TRUE(is_ctime_line(r.output.substr(opened.size(), 25))) << r.output;
    EXPECT_EQ(r.output.substr(opened.size() + 25), "\n");  // an empty line follows
    EXPECT_EQ(read_text(log), "earlier run\n" + r.output);  // appended
    EXPECT_FALSE(file_exists(out));
}

TEST_F(QavGenRun, LaterLogPathIsTheLog) {
    script({});
    const std::string first = folder + "/first.log";
    EXPECT_EQ(run_qavgen({lns, first, log}).exit_code, 0);
    EXPECT_EQ(read_text(first), "");
    EXPECT_NE(read_text(log).find(kBanner), std::string::npos);
}

TEST_F(QavGenRun, KeywordsIgnoreLetterCaseAndCarriageReturns) {
    script({"%outfile@=\"" + out + "\"", "%CHECKSUM@=\"generate\"", "%romsize@=\"10\""});
    const child_result r = run();
    EXPECT_EQ(r.exit_code, -4);  // the empty output is no image: the keywords matched
    EXPECT_NE(r.output.find("Succ open output file      <" + out + ">.\n"), std::string::npos);
    EXPECT_NE(r.output.find("Error QAV file !!\n\nError on link-script at line 2.\n\n"), std::string::npos);
}

TEST_F(QavGenRun, BlankBeforeEqualsSignIsRefused) {
    script({"%OutFile@ =\"" + out + "\""});
    const child_result r = run();
    EXPECT_EQ(r.exit_code, -4);
    EXPECT_NE(r.output.find("Unknow output filename\nError on link-script at line 1.\n\n"), std::string::npos);
}

TEST_F(QavGenRun, BlankAfterClosingQuoteIsRefused) {
    script({"%OutFile@=\"" + out + "\" "});
    EXPECT_EQ(run().exit_code, -4);
    EXPECT_FALSE(file_exists(out));
}

TEST_F(QavGenRun, CheckSumWithoutAtSignIsUnknownAndDeletesImages) {
    script({"%DupFile@=\"" + dup + "\"", "%OutFile@=\"" + out + "\"", "%CheckSum=\"Generate\""});
    const child_result r = run();
    EXPECT_EQ(r.exit_code, -3);
    EXPECT_NE(r.output.find("Unknow script at line 3.\n\n"), std::string::npos);
    EXPECT_NE(read_text(log).find("Unknow script at line 3.\n\n"), std::string::npos);
    expect_images_deleted();
}

TEST_F(QavGenRun, LineNumbersCountCommentsEmptyLinesAndPiecesOfLongLines) {
    // 1: comment, 2: empty, 3 and 4: a comment of 1500 characters read in two
    // pieces, 5: blank-led command (ignored), 6: unknown keyword.
    script({"; link script", "", "; " + std::string(1498, 'c'), " %OutFile@=\"x\"", "%Bogus@=\"x\""});
    const child_result r = run();
    EXPECT_EQ(r.exit_code, -3);
    EXPECT_NE(r.output.find("Unknow script at line 6.\n"), std::string::npos) << r.output;
}

TEST_F(QavGenRun, OverlongPathIsRefusedNotCut) {
    // The line is read in pieces; the first piece has no closing quote.
    const std::string long_path = folder + "/" + std::string(1500, 'p');
    script({"%OutFile@=\"" + long_path + "\""});
    const child_result r = run();
    EXPECT_EQ(r.exit_code, -4);
    EXPECT_NE(r.output.find("Unknow output filename\nError on link-script at line 1."), std::string::npos);
}

TEST_F(QavGenRun, BinaryGarbageScriptEndsCleanly) {
    bytes garbage = voice_bytes(20000, 3);
    for (size_t i = 0; i < garbage.size(); i += 97) garbage[i] = '%';
    for (size_t i = 50; i < garbage.size(); i += 301) garbage[i] = 0;
    write_file(lns, garbage);
    const child_result r = run();
    EXPECT_EQ(r.exit_code, -3);
}
