#include "staged_files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <utility>

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

// The file a name holds (links not followed), and how many names it has; 0 and 0 when there is none.
std::pair<ino_t, nlink_t> inode_of(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return {0, 0};
    return {info.st_ino, info.st_nlink};
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
// (exFAT, FAT). `refused` fails the renames to a name that are the given ones (0 the first) of the renames to it, as a
// share refuses to replace a read-only file; `lies_at` lets the given rename (0 the first of all) take effect and
// answers EIO, as a network file system does that loses its reply, and `link_lies` does so with every link;
// `sync_fails` plays a disk that cannot be written, and `removes` false a name that cannot be removed.
struct played_file_system {
    bool swaps = true;
    bool links = true;
    bool sync_fails = false;
    bool removes = true;
    bool link_lies = false;
    std::map<std::string, std::set<int>> refused;
    std::optional<int> lies_at;
    std::map<std::string, int> renamed_to;
    int renames = 0;

    file_system_calls calls() {
        file_system_calls calls = real_file_system_calls();
        calls.rename = [this, real = calls.rename](const char* from, const char* to, unsigned int flags) {
            if (!swaps && (flags & RENAME_EXCHANGE)) {
                errno = EINVAL;
                return -1;
            }
            const int number = renamed_to[to]++;
            const auto refusal = refused.find(to);
            if (refusal != refused.end() && refusal->second.count(number)) {
                errno = EACCES;
                return -1;
            }
            if (renames++ == lies_at && real(from, to, flags) == 0) {
                errno = EIO;
                return -1;
            }
            return real(from, to, flags);
        };
        if (link_lies) {
            calls.link = [real = calls.link](const char* existing, const char* name) {
                if (real(existing, name) != 0) return -1;
                errno = EIO;
                return -1;
            };
        }
        if (!removes) {
            calls.remove = [](const char*) {
                errno = EACCES;
                return -1;
            };
        }
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

// What a file system offers besides renames.
struct file_system_kind {
    const char* name;
    bool swaps, links;
};

played_file_system played_as(const file_system_kind& kind) {
    played_file_system played;
    played.swaps = kind.swaps;
    played.links = kind.links;
    return played;
}

// A new folder under `root` in which a.dat and a.log hold "old image" and "old report".
std::string folder_with_old_files(const std::string& root, const std::string& name) {
    const std::string folder = root + "/" + name;
    fs::create_directory(folder);
    write_text(folder + "/a.dat", "old image");
    write_text(folder + "/a.log", "old report");
    return folder;
}

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
    const file_system_kind kinds[] = {
        {"swap, no links", true, false}, {"links, no swap", false, true}, {"neither", false, false}};
    enum fault { none, report_refused, sync_fails };
    int case_number = 0;
    for (const file_system_kind& kind : kinds) {
        for (const fault fault : {none, report_refused, sync_fails}) {
            SCOPED_TRACE(std::string(kind.name) + ", fault " + std::to_string(fault));
            const std::string folder = folder_with_old_files(root, std::to_string(case_number++));
            played_file_system played = played_as(kind);
            played.sync_fails = fault == sync_fails;
            if (fault == report_refused) played.refused[folder + "/a.log"] = {0};
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
            // A share's client flushes to the server only through a descriptor open for writing.
            calls.sync = [sync = calls.sync](int fd) {
                struct stat info {};
                EXPECT_EQ(::fstat(fd, &info), 0);
                if (S_ISREG(info.st_mode)) {
                    EXPECT_NE(::fcntl(fd, F_GETFL) & O_ACCMODE, O_RDONLY);
                }
                return sync(fd);
            };
            {
                staged_files staged(calls);
                EXPECT_EQ(commit_new_files(folder, staged), fault == none);
                EXPECT_TRUE(staged.left().empty());
            }
            EXPECT_EQ(read_text(folder + "/a.dat"), fault == none ? "new image" : "old image");
            EXPECT_EQ(read_text(folder + "/a.log"), fault == none ? "new report" : "old report");
            EXPECT_EQ(names_in(folder), (std::vector<std::string>{"a.dat", "a.log"}));
            EXPECT_EQ(old_image_kept, fault != sync_fails);
            EXPECT_EQ(image_missing, !kind.links && !kind.swaps && fault != sync_fails);
        }
    }
}

// Whichever rename or link takes effect and answers an error, what follows is what the names show: the commit goes
// on, or every file is put back, and no hidden name that held the old file is removed before it is replaced.
TEST(StagedFiles, ARenameThatTookEffectButAnsweredAnErrorIsTakenForWhatItDid) {
    const std::string root = test_folder();
    const file_system_kind kinds[] = {
        {"swap and lying links", true, true}, {"swap, no links", true, false}, {"neither", false, false}};
    int case_number = 0;
    for (const file_system_kind& kind : kinds) {
        for (const bool report_refused : {false, true}) {
            for (int lie = 0;; ++lie) {
                SCOPED_TRACE(std::string(kind.name) + (report_refused ? ", report refused" : "") + ", rename " +
                             std::to_string(lie) + " answers EIO");
                const std::string folder = folder_with_old_files(root, std::to_string(case_number++));
                played_file_system played = played_as(kind);
                played.link_lies = kind.links;
                played.lies_at = lie;
                if (report_refused) played.refused[folder + "/a.log"] = {0};
                const ino_t old_image = inode_of(folder + "/a.dat").first;
                const ino_t old_report = inode_of(folder + "/a.log").first;
                file_system_calls calls = played.calls();
                // A failed commit never removes the last name of an old file.
                calls.remove = [&, remove = calls.remove](const char* name) {
                    const auto [inode, names] = inode_of(name);
                    if (report_refused && (inode == old_image || inode == old_report)) {
                        EXPECT_GT(names, 1u) << name << " was the only name of an old file";
                    }
                    return remove(name);
                };
                {
                    staged_files staged(calls);
                    EXPECT_EQ(commit_new_files(folder, staged), !report_refused);
                    EXPECT_TRUE(staged.left().empty());
                }
                EXPECT_EQ(read_text(folder + "/a.dat"), report_refused ? "old image" : "new image");
                EXPECT_EQ(read_text(folder + "/a.log"), report_refused ? "old report" : "new report");
                if (report_refused) {
                    EXPECT_EQ(inode_of(folder + "/a.dat").first, old_image);
                    EXPECT_EQ(inode_of(folder + "/a.log").first, old_report);
                }
                EXPECT_EQ(names_in(folder), (std::vector<std::string>{"a.dat", "a.log"}));
                if (played.renames <= lie) break;
            }
        }
    }
}

// The failure box names each file that is not as it was, by what its name holds, and the hidden name of the old
// file; the files are as it says.
TEST(StagedFiles, AFileThatCannotBePutBackIsNamedWithWhatItsNameHolds) {
    const std::string root = test_folder();
    ino_t old_image_inode = 0;  // of the folder `fail` made last
    // `dat_refused` are the renames to a.dat that are refused: 0 the new image's, 1 the way back of one of them.
    // `meanwhile` runs once, before the report's rename, as another program would.
    const auto fail = [&](const std::string& name, std::set<int> dat_refused, bool old_files, bool removes,
                          std::function<void(const std::string& folder)> meanwhile = {}) {
        const std::string folder = old_files ? folder_with_old_files(root, name) : root + "/" + name;
        fs::create_directories(folder);
        old_image_inode = inode_of(folder + "/a.dat").first;
        played_file_system played = played_as({"neither", false, false});
        played.removes = removes;
        played.refused = {{folder + "/a.log", {0}}, {folder + "/a.dat", dat_refused}};
        file_system_calls calls = played.calls();
        calls.rename = [&, rename = calls.rename](const char* from, const char* to, unsigned int flags) {
            if (meanwhile && to == folder + "/a.log") std::exchange(meanwhile, nullptr)(folder);
            return rename(from, to, flags);
        };
        staged_files staged(calls);
        EXPECT_FALSE(commit_new_files(folder, staged));
        const std::vector<staged_files::left_file> left = staged.left();
        staged.discard();
        return std::make_pair(folder, left);
    };
    const auto only_hidden_name = [](const std::string& folder) {
        for (const std::string& name : names_in(folder)) {
            if (name.rfind(".kova-", 0) == 0) return folder + "/" + name;
        }
        return std::string("no hidden file");
    };

    // The image went in place, the report was refused, and so was the image's way back.
    {
        const auto [folder, left] = fail("new", {1}, true, true);
        const std::string kept = only_hidden_name(folder);
        EXPECT_EQ(inode_of(kept).first, old_image_inode);
        ASSERT_EQ(left.size(), 1u);
        EXPECT_EQ(left[0].text(),
                  folder + "/a.dat is the new file: the old one could not be put back and is kept as " + kept);
        EXPECT_EQ(read_text(kept), "old image");
        EXPECT_EQ(read_text(folder + "/a.dat"), "new image");
        EXPECT_EQ(read_text(folder + "/a.log"), "old report");
        EXPECT_EQ(names_in(folder), (std::vector<std::string>{fs::path(kept).filename(), "a.dat", "a.log"}));
    }
    // The old image was moved aside, the new one refused its name, and the old one its way back.
    {
        const auto [folder, left] = fail("missing", {0, 1}, true, true);
        const std::string kept = only_hidden_name(folder);
        EXPECT_EQ(inode_of(kept).first, old_image_inode);
        ASSERT_EQ(left.size(), 1u);
        EXPECT_EQ(left[0].text(), folder + "/a.dat is missing: the old one could not be put back and is kept as " + kept);
        EXPECT_EQ(read_text(kept), "old image");
        EXPECT_EQ(read_text(folder + "/a.log"), "old report");
        EXPECT_EQ(names_in(folder), (std::vector<std::string>{fs::path(kept).filename(), "a.log"}));
    }
    // Another program put its own file in place of the new image: it is not replaced by the old one.
    {
        const auto [folder, left] = fail("another", {}, true, true, [](const std::string& folder) {
            write_text(folder + "/other", "another program's file");
            fs::rename(folder + "/other", folder + "/a.dat");
        });
        const std::string kept = only_hidden_name(folder);
        EXPECT_EQ(inode_of(kept).first, old_image_inode);
        ASSERT_EQ(left.size(), 1u);
        EXPECT_EQ(left[0].text(), folder + "/a.dat holds neither the old nor the new file: the old one could not be "
                                           "put back and is kept as " + kept);
        EXPECT_EQ(read_text(kept), "old image");
        EXPECT_EQ(read_text(folder + "/a.dat"), "another program's file");
    }
    // A first compile: the report was refused, and the new image cannot be removed.
    {
        const auto [folder, left] = fail("first", {}, false, false);
        ASSERT_EQ(left.size(), 1u);
        EXPECT_EQ(left[0].text(), folder + "/a.dat is the new file: there was none before, and it could not be removed");
        EXPECT_EQ(read_text(folder + "/a.dat"), "new image");
    }
}

}  // namespace
