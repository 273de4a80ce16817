// The program folder: the folder of the running KovaStudio file, ending in "/".
// Every path of the program is built by appending to it.
#pragma once

#include <string>

std::string ProgramFolder();
// Set once by the program entry from /proc/self/exe; tests set their own temporary folder.
void SetProgramFolder(std::string folder);
// The folder of the running executable, ending in "/".
std::string ExecutableFolder();
