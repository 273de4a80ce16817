// Which DAT paths a compile refuses before it writes anything: a path that the
// child command lines or the link script could not carry as one quoted text,
// and a path that would overwrite the installation's programs and chip files
// or a file the pipeline itself writes or reads on the way.
#pragma once

#include <string>

// True when the DAT path is empty, holds a double quote or a control
// character, or names the bin folder or a file in it (at any depth) or one of
// the pipeline's own files in temp (Script.txt, Table.txt, Script.mf0,
// result.lns, QavGen.log, shadow.dat, temp.csm). Paths are compared after
// ".", ".." and doubled slashes are resolved and every symbolic link is
// followed, also a last one that points to a file not yet there; a path that
// cannot be resolved is refused. An existing DAT file is also compared by
// identity, so that a hard link is caught. The DAT file need not exist.
bool dat_path_refused(const std::string& program_folder, const std::string& dat_path);
