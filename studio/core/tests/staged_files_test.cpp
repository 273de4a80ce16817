#include "staged_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <map>
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

    // A folder appears where the second file goes: nothing is replaced.
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

// The system's calls on a file system that may lack the swap of two names (NFS, CIFS, exFAT) and hard links
// (exFAT, FAT). `refused` fails the rename to a name that is the given one (0 the first) of the renames to it, as a
// share refuses to replace a read-only file; `sync_fails` plays a disk that cannot be written.
struct played_file_system {
    bool swaps = true;
    bool links = true;
    bool sync_fails = false;
    std::map<std::string, int> refused;
    std::map<std::string, int> renamed_to;

    file_system_calls calls() {
        file_system_calls calls = real_file_system_calls();
        calls.rename = [this, real = calls.rename](const char* from, const char* to, unsigned int flags) {
            if (!swaps && (flags & RENAME_EXCHANGE)) {
                errno = EINVAL;
                return -1;
            }
            const int number = renamed_to[to]++;
            const auto refusal = refused.find(to);
            if (refusal != refused.end() && refusal->second == number) {
                errno = EACCES;
                return -1;
            }
            return real(from, to, flags);
        };
        if (!links) {
            calls.link = [](const char*, const char*) {
                errno = EPERM;
                return -1;
            };
        }
        if (sync_fails) {
            calls.sync = [](int) {
                errno = EIO;
                return -1;
            };
        }
        return calls;
    }
};

// Stages a.dat and a.log in the folder, writes "new image" and "new report" into them and commits.
bool commit_new_files(const std::string& folder, staged_files& staged) {
    const auto image = staged.stage(folder + "/a.dat");
    const auto report = staged.stage(folder + "/a.log");
    if (!image || !report) return false;
    write_text(*image, "new image");
    write_text(*report, "new report");
    return staged.commit();
}

TEST(StagedFiles, OnEveryFileSystemACommitReplacesBothFilesOrLeavesBothAsTheyWere) {
    const std::string root = test_folder();
    const struct {
        const char* kind;
        bool swaps, links;
    } kinds[] = {{"swap, no links", true, false}, {"links, no swap", false, true}, {"neither", false, false}};
    enum fault { none, report_refused, sync_fails };
    int case_number = 0;
    for (const auto& kind : kinds) {
        for (const fault fault : {none, report_refused, sync_fails}) {
            SCOPED_TRACE(std::string(kind.kind) + ", fault " + std::to_string(fault));
            const std::string folder = root + "/" + std::to_string(case_number++);
            fs::create_directory(folder);
            write_text(folder + "/a.dat", "old image");
            write_text(folder + "/a.log", "old report");
            played_file_system played;
            played.swaps = kind.swaps;
            played.links = kind.links;
            played.sync_fails = fault == sync_fails;
            if (fault == report_refused) played.refused[folder + "/a.log"] = 0;
            // Whenever the report is put in place, the old image is still on the disk under some name; the image's
            // name is without a file only where the old image can neither be linked nor swapped.
            bool old_image_kept = false;
            bool image_missing = false;
            file_system_calls calls = played.calls();
            calls.rename = [&, rename = calls.rename](const char* from, const char* to, unsigned int flags) {
                image_missing = image_missing || !fs::exists(folder + "/a.dat");
                if (to == folder + "/a.log") {
                    for (const std::string& name : names_in(folder)) {
                        old_image_kept = old_image_kept || read_text(folder + "/" + name) == "old image";
                    }
                }
                return rename(from, to, flags);
            };
            {
                staged_files staged(calls);
                EXPECT_EQ(commit_new_files(folder, staged), fault == none);
                EXPECT_TRUE(staged.kept().empty());
            }
            EXPECT_EQ(read_text(folder + "/a.dat"), fault == none ? "new image" : "old image");
            EXPECT_EQ(read_text(folder + "/a.log"), fault == none ? "new report" : "old report");
            EXPECT_EQ(names_in(folder), (std::vector<std::string>{"a.dat", "a.log"}));
            EXPECT_EQ(old_image_kept, fault != sync_fails);
            EXPECT_EQ(image_missing, !kind.links && !kind.swaps && fault != sync_fails);
        }
    }
}

TEST(StagedFiles, AFileThatCannotBePutBackKeepsItsOldBytesUnderTheNameReported) {
    const std::string folder = test_folder();
    write_text(folder + "/a.dat", "old image");
    write_text(folder + "/a.log", "old report");
    // The image goes in place, the report is refused, and so is the image's way back.
    played_file_system played;
    played.swaps = false;
    played.links = false;
    played.refused = {{folder + "/a.log", 0}, {folder + "/a.dat", 1}};
    std::vector<staged_files::kept_file> kept;
    {
        staged_files staged(played.calls());
        EXPECT_FALSE(commit_new_files(folder, staged));
        kept = staged.kept();
    }
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].target, folder + "/a.dat");
    EXPECT_EQ(fs::path(kept[0].kept).parent_path(), fs::path(folder));
    EXPECT_EQ(fs::path(kept[0].kept).filename().string().rfind(".kova-", 0), 0u);
    EXPECT_EQ(read_text(kept[0].kept), "old image");
    EXPECT_EQ(read_text(folder + "/a.dat"), "new image");
    EXPECT_EQ(read_text(folder + "/a.log"), "old report");
    EXPECT_EQ(names_in(folder),
              (std::vector<std::string>{fs::path(kept[0].kept).filename().string(), "a.dat", "a.log"}));
}

}  // namespace
