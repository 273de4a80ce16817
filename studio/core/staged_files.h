// Files built under hidden temporary names beside the files they are to
// replace, which replace them only once all of them are complete: a run that
// fails, or ends before that, leaves the files it was to replace as they were.
// Each temporary lies in the folder of the file it replaces (symbolic links
// followed), so that putting it in place is one rename on one file system.
// Only a run ended between those renames leaves some files new and the others
// old, with each file replaced still there under a hidden name.
#pragma once

#include <sys/types.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

// The calls that change names and reach the disk, as the system makes them; a test puts in its own to play a file
// system that cannot swap two names, has no hard links, or refuses a rename. Each returns 0, or -1 with errno set.
struct file_system_calls {
    std::function<int(const char* from, const char* to, unsigned int flags)> rename;  // renameat2's flags
    std::function<int(const char* existing, const char* name)> link;
    std::function<int(int fd)> sync;
};
file_system_calls real_file_system_calls();

class staged_files {
public:
    explicit staged_files(file_system_calls calls = real_file_system_calls()) : calls_(std::move(calls)) {}
    ~staged_files();  // discard()
    staged_files(const staged_files&) = delete;
    staged_files& operator=(const staged_files&) = delete;

    // Makes a new empty temporary for the file that a write to `path` would land in, named ".kova-" and eight
    // letters or digits, with the group and the permission bits of that file when it exists (else those of a new
    // file; a group the user may not give is left). Its path; nothing when it cannot be made, when something other
    // than a regular file (a folder, a pipe, a device) stands there, or when that file is already staged.
    std::optional<std::string> stage(const std::string& path);

    // Puts every temporary in place of its file, in the order staged. First each temporary is synced to the disk
    // and each file to be replaced gets a second, hidden name by a hard link (where none can be made, the
    // temporary's name takes it by a swap of the two names, or where the file system cannot swap, a hidden name
    // taken now), so that nothing has changed when any of that fails. Each file replaced stays under its hidden
    // name until all are in place; when one cannot be put in place, those before it are put back and false is
    // returned, and a file that cannot be put back is named in kept(). Once all are in place, their folders are
    // synced and the files replaced removed.
    bool commit();

    // The hidden names that hold a file replaced by a failed commit that could not be put back: the only copy of
    // that file, which nothing removes.
    struct kept_file {
        std::string target;  // holds the new file
        std::string kept;    // holds the old one
    };
    const std::vector<kept_file>& kept() const { return kept_; }

    // Removes every temporary still there; nothing is replaced.
    void discard();

private:
    struct staged {
        std::string target;       // the file to replace
        std::string fresh;        // the new file while it is not in place
        std::string old;          // another name of the file replaced, once there is one
        std::string spare;        // a name taken to move the file replaced to, where it cannot be linked
        bool existed = false;     // there was a file to replace
        bool displaced = false;   // the target no longer holds the file it held (or was made)
    };
    bool prepare(staged& file);
    bool put_in_place(staged& file);
    void put_back(staged& file);
    file_system_calls calls_;
    std::vector<staged> files_;
    std::vector<kept_file> kept_;
};
