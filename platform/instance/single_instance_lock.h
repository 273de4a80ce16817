// Keeps a program to one running copy per user: an advisory lock on a file
// named after a fixed lock text. The lock ends with the object or with the
// process, however the process ends; the file itself stays.
#pragma once

#include <string>

enum class instance_lock_result {
    acquired,         // this copy holds the lock
    already_running,  // another process holds it
    unavailable,      // the file cannot be made or locked: run without the guard
};

// The file that stands for `lock_text`: the text (blanks and all, with '/'
// and '%' written as %2F and %25) and ".lock" in $XDG_RUNTIME_DIR when that
// is an absolute path, else in /tmp with the user id added to the name.
std::string single_instance_lock_path(const std::string& lock_text);

class single_instance_lock {
public:
    // Tries once, without waiting, to take the lock.
    explicit single_instance_lock(const std::string& lock_text);
    ~single_instance_lock();
    single_instance_lock(const single_instance_lock&) = delete;
    single_instance_lock& operator=(const single_instance_lock&) = delete;

    instance_lock_result result() const { return result_; }

private:
    int fd_ = -1;
    instance_lock_result result_ = instance_lock_result::unavailable;
};
