#include "staged_files.h"

#include "output_file.h"
#include "written_path.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace {

// The file system cannot swap two names at once: the rename then replaces the target without a way back.
bool swap_unsupported(int error) { return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP; }

}  // namespace

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
    files_.push_back({target->string(), temporary});
    return temporary;
}

bool staged_files::put_in_place(staged& file) {
    struct stat existing {};
    if (::lstat(file.target.c_str(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode)) return false;
        // Swapped, the file replaced stays at hand under the temporary's name until the commit is whole.
        if (::renameat2(AT_FDCWD, file.temporary.c_str(), AT_FDCWD, file.target.c_str(), RENAME_EXCHANGE) == 0) {
            file.swapped = true;
            return true;
        }
        if (!swap_unsupported(errno)) return false;
        return std::rename(file.temporary.c_str(), file.target.c_str()) == 0;
    }
    if (::renameat2(AT_FDCWD, file.temporary.c_str(), AT_FDCWD, file.target.c_str(), RENAME_NOREPLACE) == 0 ||
        (swap_unsupported(errno) && std::rename(file.temporary.c_str(), file.target.c_str()) == 0)) {
        file.created = true;
        return true;
    }
    return false;
}

void staged_files::put_back(staged& file) {
    if (file.swapped) {
        ::renameat2(AT_FDCWD, file.temporary.c_str(), AT_FDCWD, file.target.c_str(), RENAME_EXCHANGE);
    } else if (file.created) {
        ::unlink(file.target.c_str());
    }
}

bool staged_files::commit() {
    for (size_t i = 0; i < files_.size(); ++i) {
        if (put_in_place(files_[i])) continue;
        while (i-- > 0) put_back(files_[i]);
        discard();
        return false;
    }
    discard();
    return true;
}

void staged_files::discard() {
    for (const staged& file : files_) ::unlink(file.temporary.c_str());
    files_.clear();
}
