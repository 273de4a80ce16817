// The open both the readers and the writers of files use: a pipe, socket or
// device that the caller does not take is refused without waiting on it.
#pragma once

#include <sys/types.h>

#include <string>

#include "regular_file.h"

// Opens `path` with `flags` (O_NONBLOCK and O_CLOEXEC added) when `accepted`
// takes the kind of file there. The kind is checked before opening, so that a
// kind refused is not opened, and again on the open file, since another may
// have been put in its place meanwhile; O_NONBLOCK keeps that one from
// blocking the open and is taken off again once the kind is accepted. An
// empty descriptor otherwise, with `error` saying "PATH: " and `refusal` or
// the system's reason.
owned_descriptor open_without_waiting(const std::string& path, int flags, mode_t permissions,
                                      bool (*accepted)(mode_t kind), const char* refusal, std::string& error);
