// Files built under hidden temporary names beside the files they are to
// replace, which replace them only once all of them are complete: a run that
// fails, or ends before that, leaves the files it was to replace as they were.
// Each temporary lies in the folder of the file it replaces (symbolic links
// followed), so that putting it in place is one rename on one file system.
// Only a run ended between those renames leaves some files new and the others
// old, with each file replaced still there under a hidden name.
//
// A call's answer is not taken for what it did: a network file system may
// carry out a rename and answer an error. After each rename the names are
// looked at, and every later step, down to which hidden names are removed,
// follows from which file each name holds.
#pragma once

#include <sys/types.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "regular_file.h"

// The calls that change names and reach the disk, as the system makes them; a test puts in its own to play a file
// system that cannot swap two names, has no hard links, refuses a rename, or answers an error for one it made.
// Each returns 0, or -1 with errno set.
struct file_system_calls {
    std::function<int(const char* from, const char* to, unsigned int flags)> rename;  // renameat2's flags
    std::function<int(const char* existing, const char* name)> link;
    std::function<int(int fd)> sync;
    std::function<int(const char* name)> remove;  // unlink
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
    // file; a group the user may not give is left). It stays open for writing here until it is put in place, so
    // that its sync reaches the server of a network share. Its path; nothing when it cannot be made, when something
    // other than a regular file (a folder, a pipe, a device) stands there, or when that file is already staged.
    std::optional<std::string> stage(const std::string& path);

    // Puts every temporary in place of its file, in the order staged. First each temporary is synced to the disk
    // and each file to be replaced gets a second, hidden name by a hard link (where none can be made, the
    // temporary's name takes it by a swap of the two names, or where the file system cannot swap, a hidden name
    // taken now), so that nothing has changed when any of that fails. Each file replaced stays under its hidden
    // name until all are in place; when one cannot be put in place, every file is put back and false is returned,
    // and a file that is then not as it was is named in left(). Once all are in place, their folders are synced
    // and the files replaced removed.
    bool commit();

    // A file that a failed commit could not leave as it was.
    struct left_file {
        enum class content { new_file, nothing, another_file, unknown };
        std::string target;
        content holds = content::unknown;  // what the target's name holds now
        bool existed = false;              // there was a file under it before
        std::string kept;                  // the hidden name that is now the only one of that file; empty if none is
        // One line saying what is there ("x.dat is the new file: ... kept as .kova-..."), English only.
        std::string text() const;
    };
    const std::vector<left_file>& left() const { return left_; }

    // Removes every temporary still there; nothing is replaced. A hidden name that may be the only one of a file
    // replaced is never removed.
    void discard();

private:
    struct staged {
        std::string target;       // the file to replace
        std::string fresh;        // the temporary's name
        owned_descriptor writer;  // the temporary, open for writing since it was made
        file_identity new_file;   // the temporary
        std::optional<file_identity> old_file;  // the file replaced, once prepare has found one
        std::string old;          // its hidden second name, where it could be linked
        std::string spare;        // the hidden name it moves to, where it can neither be linked nor swapped
        std::optional<file_identity> spare_file;  // the empty file that holds that name until then
    };
    bool prepare(staged& file);
    bool put_in_place(staged& file);
    void put_back(staged& file);
    int move(const std::string& from, const std::string& to, unsigned int flags, const file_identity& file);
    void remove_temporaries(staged& file, bool old_file_goes);
    file_system_calls calls_;
    std::vector<staged> files_;
    std::vector<left_file> left_;
};
