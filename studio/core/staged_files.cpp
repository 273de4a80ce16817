#include "staged_files.h"

#include "written_path.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>

namespace {

// Eight letters or digits: nothing in them that the command lines or the link script would have to quote.
std::string random_letters() {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device source;
    std::uniform_int_distribution<size_t> pick(0, sizeof kLetters - 2);
    std::string letters;
    for (int i = 0; i < 8; ++i) letters += kLetters[pick(source)];
    return letters;
}

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
    if (exists && S_ISDIR(existing.st_mode)) return std::nullopt;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string temporary = (target->parent_path() / (".kova-" + random_letters())).string();
        // Made with the default bits, which the user's file-creation mask trims as it trims any new file.
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return std::nullopt;
        }
        const bool kept_bits = !exists || ::fchmod(fd, existing.st_mode & 0777) == 0;
        if (::close(fd) != 0 || !kept_bits) {
            ::unlink(temporary.c_str());
            return std::nullopt;
        }
        files_.push_back({target->string(), temporary});
        return temporary;
    }
    return std::nullopt;
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
