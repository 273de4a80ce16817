// Files built under hidden temporary names beside the files they are to
// replace, which replace them only once all of them are complete: a run that
// fails, or ends before that, leaves the files it was to replace as they were.
// Each temporary lies in the folder of the file it replaces (symbolic links
// followed), so that putting it in place is one rename on one file system.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

class staged_files {
public:
    staged_files() = default;
    ~staged_files();  // discard()
    staged_files(const staged_files&) = delete;
    staged_files& operator=(const staged_files&) = delete;

    // Makes a new empty temporary for the file that a write to `path` would land in, named ".kova-" and eight
    // letters or digits, with the group and the permission bits of that file when it exists (else those of a new
    // file; a group the user may not give is left). Its path; nothing when it cannot be made, when something other
    // than a regular file (a folder, a pipe, a device) stands there, or when that file is already staged.
    std::optional<std::string> stage(const std::string& path);

    // Puts every temporary in place of its file, in the order staged. When one cannot be put in place, the ones
    // before it are put back where the file system allows it (it swaps two names at once) and false is
    // returned. The files replaced are removed.
    bool commit();

    // Removes every temporary still there; nothing is replaced.
    void discard();

private:
    struct staged {
        std::string target;     // the file to replace
        std::string temporary;  // after the swap: the file replaced
        bool swapped = false;   // target and temporary were swapped
        bool created = false;   // the target did not exist and was made by the rename
    };
    bool put_in_place(staged& file);
    void put_back(staged& file);
    std::vector<staged> files_;
};
