#include "staged_files.h"

#include "output_file.h"
#include "written_path.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <set>

namespace {

using content = staged_files::left_file::content;

// The file system does not know the rename's flag (it cannot swap two names, or refuse to replace one).
bool flag_unsupported(int error) { return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP; }

// The names beside the file that hidden files take.
std::string hidden_prefix(const std::filesystem::path& target) { return (target.parent_path() / ".kova-").string(); }

// What a name holds now, links not followed.
struct name_content {
    bool absent = false;                // no file has the name
    std::optional<file_identity> file;  // the file that has it; neither this nor `absent` when the system cannot say
    bool regular = false;
};

name_content look_at(const std::string& name) {
    struct stat info {};
    if (::lstat(name.c_str(), &info) != 0) return {errno == ENOENT, std::nullopt, false};
    return {false, file_identity{uint64_t(info.st_dev), uint64_t(info.st_ino)}, S_ISREG(info.st_mode)};
}

bool holds(const std::string& name, const std::optional<file_identity>& file) {
    return !name.empty() && file && look_at(name).file == file;
}

content content_of(const name_content& now, const file_identity& new_file) {
    if (now.absent) return content::nothing;
    if (!now.file) return content::unknown;
    return *now.file == new_file ? content::new_file : content::another_file;
}

// Opens the file or folder and syncs it; false when either fails. A file with the bits of a write-only one is
// opened for writing.
bool sync_path(const file_system_calls& calls, const std::string& path, int flags) {
    owned_descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | flags));
    if (!fd && errno == EACCES) fd = owned_descriptor(::open(path.c_str(), O_WRONLY | O_CLOEXEC | flags));
    return fd && calls.sync(fd.get()) == 0;
}

}  // namespace

file_system_calls real_file_system_calls() {
    return {
        [](const char* from, const char* to, unsigned int flags) {
            return ::renameat2(AT_FDCWD, from, AT_FDCWD, to, flags);
        },
        [](const char* existing, const char* name) { return ::link(existing, name); },
        [](int fd) { return ::fsync(fd); },
        [](const char* name) { return ::unlink(name); },
    };
}

std::string staged_files::left_file::text() const {
    static const char* const kHolds[] = {" is the new file", " is missing", " holds neither the old nor the new file",
                                         " cannot be looked at"};
    const std::string subject = target + kHolds[static_cast<int>(holds)];
    if (!existed) {
        return subject + (holds == content::new_file ? ": there was none before, and it could not be removed"
                                                     : ": there was none before, and the new one may still be there");
    }
    if (kept.empty()) return subject + ": the old one could not be put back and is not found";
    return subject + ": the old one could not be put back and is kept as " + kept;
}

staged_files::~staged_files() { discard(); }

std::optional<std::string> staged_files::stage(const std::string& path) {
    const std::optional<std::filesystem::path> target = written_path(path);
    if (!target) return std::nullopt;
    for (const staged& file : files_) {
        if (file.target == target->string()) return std::nullopt;
    }
    struct stat existing {};
    const bool exists = ::lstat(target->c_str(), &existing) == 0;
    // A pipe or a device would be replaced by a regular file, as a folder cannot be.
    if (exists && !S_ISREG(existing.st_mode)) return std::nullopt;
    // Named so that nothing in the name needs quoting on the command lines or in the link script.
    std::string temporary;
    owned_descriptor fd = create_temporary(hidden_prefix(*target), temporary);
    if (!fd) return std::nullopt;
    // The group before the bits, which giving a group may clear.
    if (exists && ::fchown(fd.get(), static_cast<uid_t>(-1), existing.st_gid) != 0) {
        // Not a group of the user's: the temporary keeps the one a new file gets.
    }
    if (exists && ::fchmod(fd.get(), existing.st_mode & 0777) != 0) {
        ::unlink(temporary.c_str());
        return std::nullopt;
    }
    staged file;
    file.target = target->string();
    file.fresh = temporary;
    file.new_file = fd.identity();
    file.writer = std::move(fd);
    files_.push_back(std::move(file));
    return temporary;
}

bool staged_files::prepare(staged& file) {
    const name_content made = look_at(file.fresh);
    if (!made.file || !made.regular) return false;
    // On the disk before it takes the old file's place, lest a power cut leave an empty file there; through the
    // descriptor open for writing, as a share's client skips the server's flush for one open only for reading.
    // A temporary that a program wrote anew under its name is opened again.
    const bool synced = *made.file == file.new_file ? calls_.sync(file.writer.get()) == 0
                                                     : sync_path(calls_, file.fresh, O_NOFOLLOW);
    if (!synced) return false;
    file.new_file = *made.file;
    const name_content there = look_at(file.target);
    if (!there.file) return there.absent;
    if (!there.regular) return false;
    const file_identity old_file = *there.file;
    file.old_file = old_file;
    const std::string prefix = hidden_prefix(file.target);
    std::string name;
    const bool linked = claim_temporary_name(prefix, name, [&](const std::string& candidate) {
        if (calls_.link(file.target.c_str(), candidate.c_str()) == 0) return true;
        // A network file system may make the link and answer an error (EEXIST to a request it had carried out).
        const int error = errno;
        if (holds(candidate, old_file)) return true;
        errno = error;
        return false;
    });
    if (linked) {
        file.old = name;
        return true;
    }
    // No hard links on this file system (FAT, exFAT), or none the user may make to this file.
    const owned_descriptor spare = create_temporary(prefix, name);
    if (!spare) return false;
    file.spare = name;
    file.spare_file = spare.identity();
    return true;
}

int staged_files::move(const std::string& from, const std::string& to, unsigned int flags,
                       const file_identity& file) {
    const int answer = calls_.rename(from.c_str(), to.c_str(), flags) == 0 ? 0 : errno;
    if (holds(to, file)) return 0;
    return answer != 0 ? answer : EIO;
}

bool staged_files::put_in_place(staged& file) {
    if (!file.old_file) {
        const int error = move(file.fresh, file.target, RENAME_NOREPLACE, file.new_file);
        return error == 0 || (flag_unsupported(error) && holds(file.fresh, file.new_file) &&
                              move(file.fresh, file.target, 0, file.new_file) == 0);
    }
    if (file.old.empty()) {
        // Without a link, swapping the two names keeps the old file under the temporary's name.
        const int error = move(file.fresh, file.target, RENAME_EXCHANGE, file.new_file);
        if (error == 0) return true;
        if (!flag_unsupported(error) || !holds(file.target, file.old_file) || !holds(file.fresh, file.new_file)) {
            return false;
        }
        // Nor a swap: the old file moves to the name taken for it, and its own name is free until the next rename.
        if (move(file.target, file.spare, 0, *file.old_file) != 0) return false;
    }
    return move(file.fresh, file.target, 0, file.new_file) == 0;
}

void staged_files::put_back(staged& file) {
    const name_content there = look_at(file.target);
    if (!file.old_file) {
        // There was no file: the new one goes again, if it got there.
        if (there.absent || (there.file && *there.file != file.new_file)) return;
        if (there.file) calls_.remove(file.target.c_str());
        const name_content now = look_at(file.target);
        if (!now.absent) left_.push_back({file.target, content_of(now, file.new_file), false, {}});
        return;
    }
    if (there.file == file.old_file) return;
    std::string keeper;  // the hidden name that holds the old file
    for (const std::string* name : {&file.old, &file.spare, &file.fresh}) {
        if (holds(*name, file.old_file)) {
            keeper = *name;
            break;
        }
    }
    // Back over the new file or into a free name; a file that someone else put there is not replaced.
    const bool ours = there.absent || !there.file || *there.file == file.new_file;
    if (!keeper.empty() && ours && move(keeper, file.target, 0, *file.old_file) == 0) return;
    left_.push_back({file.target, content_of(look_at(file.target), file.new_file), true,
                     holds(keeper, file.old_file) ? keeper : std::string()});
}

bool staged_files::commit() {
    left_.clear();
    // Everything that can fail without changing a name comes first.
    if (!std::all_of(files_.begin(), files_.end(), [this](staged& file) { return prepare(file); })) {
        discard();
        return false;
    }
    if (!std::all_of(files_.begin(), files_.end(), [this](staged& file) { return put_in_place(file); })) {
        // In reverse order; each file as its names now show it, the one that failed perhaps moved aside already.
        for (auto file = files_.rbegin(); file != files_.rend(); ++file) put_back(*file);
        discard();
        return false;
    }
    // The renames on the disk before the old files go. A folder that cannot be synced (some file systems
    // refuse it) does not undo the commit: its files are in place.
    std::set<std::filesystem::path> folders;
    for (const staged& file : files_) folders.insert(std::filesystem::path(file.target).parent_path());
    for (const std::filesystem::path& folder : folders) sync_path(calls_, folder.string(), O_DIRECTORY);
    for (staged& file : files_) remove_temporaries(file, true);
    files_.clear();
    return true;
}

void staged_files::remove_temporaries(staged& file, bool old_file_goes) {
    // The file replaced loses a hidden name only when its own still holds it, or when the commit replaced it.
    const bool old_file_may_go = old_file_goes || holds(file.target, file.old_file);
    for (std::string* name : {&file.fresh, &file.old, &file.spare}) {
        const std::optional<file_identity> there = name->empty() ? std::nullopt : look_at(*name).file;
        if (there && (*there == file.new_file || there == file.spare_file ||
                      (there == file.old_file && old_file_may_go))) {
            calls_.remove(name->c_str());
        }
        name->clear();
    }
}

void staged_files::discard() {
    for (staged& file : files_) remove_temporaries(file, false);
    files_.clear();
}
