#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "child_process.h"
#include "system_file_list.h"
#include "test_files.h"

namespace {

namespace fs = std::filesystem;

child_result make_list(const std::string& bin) { return run_child(MAKE_SYSCHK_LIST, {bin}); }

// The list's lines after its leading comment.
std::string entries_of(const std::string& list) {
    EXPECT_EQ(list.substr(0, 1), ";");
    return list.substr(list.find('\n') + 1);
}

TEST(MakeSysChkList, ListsEveryRegularFileSortedWithItsByteSum) {
    const std::string root = test_folder() + "/";
    const std::string bin = root + "bin/";
    fs::create_directories(bin + "1x2");
    fs::create_directories(bin + "sub");
    fs::create_directories(bin + "empty");
    write_file(bin + "Play.wav", {0xFF, 0x80, 0x01});
    write_file(bin + "qavgen", {1, 2});
    write_text(bin + "1x2/1x2.ini", "a");
    write_text(bin + "1x2/Y122.pgm", "");
    write_text(bin + "sub/SysChk.lst", "b");
    write_text(bin + "SysChk.lst", "@stale#00000000\n");
    ASSERT_EQ(::mkfifo((bin + "pipe").c_str(), 0600), 0);

    const child_result result = make_list(bin);
    ASSERT_EQ(result.exit_code, 0) << result.error_output;
    EXPECT_EQ(entries_of(read_text(bin + "SysChk.lst")),
              "@1x2/1x2.ini#00000061\n"
              "@1x2/Y122.pgm#00000000\n"
              "@Play.wav#00000180\n"
              "@qavgen#00000003\n"
              "@sub/SysChk.lst#00000062\n");
    EXPECT_EQ(check_system_files(root, {}).kind, system_check_result::passed);
}

TEST(MakeSysChkList, AnEmptyFolderGetsACommentOnly) {
    const std::string bin = test_folder() + "/bin";
    fs::create_directories(bin);
    const child_result result = make_list(bin);
    ASSERT_EQ(result.exit_code, 0) << result.error_output;
    EXPECT_EQ(entries_of(read_text(bin + "/SysChk.lst")), "");
}

TEST(MakeSysChkList, AFolderNameWithADotIsKept) {
    const std::string root = test_folder() + "/";
    fs::create_directories(root + "bin/v1.0");
    write_text(root + "bin/v1.0/readme", "r");
    const child_result result = make_list(root + "bin");
    ASSERT_EQ(result.exit_code, 0) << result.error_output;
    EXPECT_EQ(entries_of(read_text(root + "bin/SysChk.lst")), "@v1.0/readme#00000072\n");
    EXPECT_EQ(check_system_files(root, {}).kind, system_check_result::passed);
}

TEST(MakeSysChkList, NamesTheCheckWouldMisreadFailTheRunAndLeaveNoList) {
    for (const std::string name : {"notes.text", "a#b.wav", "x.wav ", "line\nbreak"}) {
        const std::string bin = test_folder() + "/bin/";
        fs::create_directories(bin);
        write_text(bin + "Play.wav", "p");
        write_text(bin + name, "x");
        const child_result result = make_list(bin);
        EXPECT_NE(result.exit_code, 0) << name;
        EXPECT_TRUE(contains(result.error_output, "would not be read back")) << result.error_output;
        EXPECT_FALSE(file_exists(bin + "SysChk.lst")) << name;
    }
}

TEST(MakeSysChkList, WrongArgumentsFail) {
    const std::string folder = test_folder();
    EXPECT_EQ(run_child(MAKE_SYSCHK_LIST, {}).exit_code, 1);
    EXPECT_EQ(run_child(MAKE_SYSCHK_LIST, {folder, folder}).exit_code, 1);
    const child_result missing = make_list(folder + "/none");
    EXPECT_EQ(missing.exit_code, 1);
    EXPECT_TRUE(contains(missing.error_output, "is not a folder"));
    EXPECT_FALSE(file_exists(folder + "/none"));
}

}  // namespace
