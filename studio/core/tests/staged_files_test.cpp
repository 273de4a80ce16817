#include "staged_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <optional>

#include "fifo_guard.h"
#include "test_files.h"

namespace fs = std::filesystem;

namespace {

// The names in a folder, hidden ones too.
std::vector<std::string> names_in(const fs::path& folder) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// A group the user may give a file besides the one a new file gets; nothing when there is none.
std::optional<gid_t> another_group() {
    if (::geteuid() == 0) return ::getegid() + 1;
    gid_t groups[256];
    const int count = ::getgroups(256, groups);
    for (int i = 0; i < count; ++i) {
        if (groups[i] != ::getegid()) return groups[i];
    }
    return std::nullopt;
}

gid_t group_of(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_gid;
}

TEST(StagedFiles, EitherEveryFileIsReplacedOrNone) {
    const std::string folder = test_folder();
    write_text(folder + "/a.dat", "old image");
    fs::permissions(folder + "/a.dat", fs::perms::owner_read | fs::perms::owner_write);
    // The replaced file's group stays, as a shared folder's users need it.
    const std::optional<gid_t> group = another_group();
    if (group) {
        ASSERT_EQ(::chown((folder + "/a.dat").c_str(), static_cast<uid_t>(-1), *group), 0);
    }
    {
        staged_files staged;
        const auto image = staged.stage(folder + "/a.dat");
        const auto report = staged.stage(folder + "/a.log");
        ASSERT_TRUE(image && report);
        EXPECT_EQ(fs::path(*image).parent_path(), fs::path(folder));
        EXPECT_EQ(fs::status(*image).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
        // The same file again, by another spelling or through a link, is refused.
        fs::create_symlink("a.dat", folder + "/link.dat");
        EXPECT_FALSE(staged.stage(folder + "/./link.dat"));
        write_text(*image, "new image");
        write_text(*report, "new report");
        ASSERT_TRUE(staged.commit());
    }
    EXPECT_EQ(read_text(folder + "/a.dat"), "new image");
    EXPECT_EQ(read_text(folder + "/a.log"), "new report");
    EXPECT_EQ(names_in(folder), (std::vector<std::string>{"a.dat", "a.log", "link.dat"}));
    if (group) {
        EXPECT_EQ(group_of(folder + "/a.dat"), *group);
    }

    // A folder appears where the second file goes: the first is put back.
    {
        staged_files staged;
        const auto image = staged.stage(folder + "/link.dat");
        const auto report = staged.stage(folder + "/a.log");
        ASSERT_TRUE(image && report);
        write_text(*image, "newer image");
        fs::remove(folder + "/a.log");
        fs::create_directory(folder + "/a.log");
        EXPECT_FALSE(staged.commit());
    }
    EXPECT_EQ(read_text(folder + "/a.dat"), "new image");
    EXPECT_TRUE(fs::is_symlink(folder + "/link.dat"));
    EXPECT_EQ(names_in(folder), (std::vector<std::string>{"a.dat", "a.log", "link.dat"}));

    // Discarded, nothing is replaced and nothing stays behind; a folder or a pipe cannot be staged.
    {
        staged_files staged;
        ASSERT_TRUE(staged.stage(folder + "/b.dat"));
        EXPECT_FALSE(staged.stage(folder + "/a.log"));
        EXPECT_FALSE(staged.stage(folder + "/no such folder/c.dat"));
        EXPECT_FALSE(staged.stage(make_fifo(folder + "/pipe.dat")));
    }
    EXPECT_EQ(names_in(folder), (std::vector<std::string>{"a.dat", "a.log", "link.dat", "pipe.dat"}));
}

}  // namespace
