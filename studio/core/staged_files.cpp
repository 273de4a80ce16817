#include "staged_files.h"

#include "output_file.h"
#include "written_path.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <set>

namespace {

// The file system does not know the rename's flag (it cannot swap two names, or refuse to replace one).
bool flag_unsupported(int error) { return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP; }

// The folder of an absolute path, with its last slash.
std::string folder_of(const std::string& path) { return path.substr(0, path.rfind('/') + 1); }

// Opens the file or folder and syncs it; false when either fails. A file with the bits of a write-only one is
// opened for writing.
bool sync_path(const file_system_calls& calls, const std::string& path, int flags) {
    owned_descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | flags));
    if (!fd && errno == EACCES) fd = owned_descriptor(::open(path.c_str(), O_WRONLY | O_CLOEXEC | flags));
    return fd && calls.sync(fd.get()) == 0;
}

// Unlinks the name, if there is one, and forgets it.
void remove_name(std::string& name) {
    if (!name.empty()) ::unlink(name.c_str());
    name.clear();
}

}  // namespace

file_system_calls real_file_system_calls() {
    return {
        [](const char* from, const char* to, unsigned int flags) {
            return ::renameat2(AT_FDCWD, from, AT_FDCWD, to, flags);
        },
        [](const char* existing, const char* name) { return ::link(existing, name); },
        [](int fd) { return ::fsync(fd); },
    };
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
    owned_descriptor fd = create_temporary((target->parent_path() / ".kova-").string(), temporary);
    if (!fd) return std::nullopt;
    // The group before the bits, which giving a group may clear.
    if (exists && ::fchown(fd.get(), static_cast<uid_t>(-1), existing.st_gid) != 0) {
        // Not a group of the user's: the temporary keeps the one a new file gets.
    }
    const bool kept_bits = !exists || ::fchmod(fd.get(), existing.st_mode & 0777) == 0;
    if (::close(fd.release()) != 0 || !kept_bits) {
        ::unlink(temporary.c_str());
        return std::nullopt;
    }
    staged file;
    file.target = target->string();
    file.fresh = temporary;
    files_.push_back(std::move(file));
    return temporary;
}

bool staged_files::prepare(staged& file) {
    // On the disk before it takes the old file's place, lest a power cut leave an empty file there.
    if (!sync_path(calls_, file.fresh, O_NOFOLLOW)) return false;
    struct stat existing {};
    if (::lstat(file.target.c_str(), &existing) != 0) return errno == ENOENT;
    if (!S_ISREG(existing.st_mode)) return false;
    file.existed = true;
    const std::string prefix = folder_of(file.target) + ".kova-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = temporary_name(prefix);
        if (calls_.link(file.target.c_str(), name.c_str()) == 0) {
            file.old = std::move(name);
            return true;
        }
        if (errno != EEXIST) break;
    }
    // No hard links on this file system (FAT, exFAT), or none the user may make to this file.
    const owned_descriptor spare = create_temporary(prefix, file.spare);
    if (!spare) file.spare.clear();  // a name someone else's file may have
    return bool(spare);
}

bool staged_files::put_in_place(staged& file) {
    const char* const target = file.target.c_str();
    if (!file.existed) {
        if (calls_.rename(file.fresh.c_str(), target, RENAME_NOREPLACE) != 0 &&
            (!flag_unsupported(errno) || calls_.rename(file.fresh.c_str(), target, 0) != 0)) {
            return false;
        }
        file.displaced = true;
        file.fresh.clear();
        return true;
    }
    if (file.old.empty()) {
        // Without a link, swapping the two names keeps the old file under the temporary's name.
        if (calls_.rename(file.fresh.c_str(), target, RENAME_EXCHANGE) == 0) {
            file.displaced = true;
            file.old = std::move(file.fresh);
            file.fresh.clear();
            return true;
        }
        if (!flag_unsupported(errno)) return false;
        // Nor a swap: the old file moves to the name taken for it, and its own name is free until the next rename.
        if (calls_.rename(target, file.spare.c_str(), 0) != 0) return false;
        file.displaced = true;
        file.old = std::move(file.spare);
        file.spare.clear();
    }
    if (calls_.rename(file.fresh.c_str(), target, 0) != 0) return false;
    file.displaced = true;
    file.fresh.clear();
    return true;
}

void staged_files::put_back(staged& file) {
    if (!file.displaced) return;
    if (!file.existed) {
        if (::unlink(file.target.c_str()) == 0 || errno == ENOENT) file.displaced = false;
        return;
    }
    if (calls_.rename(file.old.c_str(), file.target.c_str(), 0) == 0) {
        file.displaced = false;
        file.old.clear();
        return;
    }
    kept_.push_back({file.target, file.old});
}

bool staged_files::commit() {
    kept_.clear();
    // Everything that can fail without changing a name comes first.
    bool done = std::all_of(files_.begin(), files_.end(), [this](staged& file) { return prepare(file); });
    for (size_t i = 0; done && i < files_.size(); ++i) done = put_in_place(files_[i]);
    if (!done) {
        // In reverse order; the file that failed may have been moved aside already.
        for (auto file = files_.rbegin(); file != files_.rend(); ++file) put_back(*file);
        discard();
        return false;
    }
    // The renames on the disk before the old files go. A folder that cannot be synced (some file systems
    // refuse it) does not undo the commit: its files are in place.
    std::set<std::string> folders;
    for (const staged& file : files_) folders.insert(folder_of(file.target));
    for (const std::string& folder : folders) sync_path(calls_, folder, O_DIRECTORY);
    for (staged& file : files_) remove_name(file.old);
    discard();
    return true;
}

void staged_files::discard() {
    for (staged& file : files_) {
        remove_name(file.fresh);
        remove_name(file.spare);
        // A second name of a file still in its place; a file that could not be put back keeps its only name.
        if (!file.displaced) remove_name(file.old);
    }
    files_.clear();
}
