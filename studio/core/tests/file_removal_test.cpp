#include "file_removal.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "test_files.h"

namespace {

namespace fs = std::filesystem;

TEST(FileRemoval, AFileOrALinkIsRemovedAndNothingThereIsFine) {
    const std::string folder = test_folder();
    write_text(folder + "/temp.csm", "old report");
    EXPECT_TRUE(remove_file_tries(folder + "/temp.csm"));
    EXPECT_FALSE(fs::exists(folder + "/temp.csm"));
    EXPECT_TRUE(remove_file_tries(folder + "/temp.csm"));

    ASSERT_EQ(::symlink("nowhere", (folder + "/link").c_str()), 0);
    EXPECT_TRUE(remove_file_tries(folder + "/link"));
    EXPECT_FALSE(fs::is_symlink(folder + "/link"));
}

TEST(FileRemoval, WhatCannotBeRemovedEndsTheTriesWithFalse) {
    const std::string folder = test_folder();
    fs::create_directories(folder + "/temp.csm/inside");
    EXPECT_FALSE(remove_file_tries(folder + "/temp.csm"));
    EXPECT_TRUE(fs::exists(folder + "/temp.csm/inside"));
    // An empty folder goes like a file.
    fs::create_directories(folder + "/empty");
    EXPECT_TRUE(remove_file_tries(folder + "/empty"));
}

}  // namespace
