// The program folder: the folder of the running KovaStudio file, ending in "/".
// Every path of the program is built by appending to it.
#pragma once

#include <string>

class ini_file;

std::string ProgramFolder();
// Set once by the program entry from /proc/self/exe; tests set their own temporary folder.
void SetProgramFolder(std::string folder);
// The folder of the running executable, ending in "/".
std::string ExecutableFolder();

// The program's settings file, and the language file it names ([System] Language).
std::string SetupIniPath();
std::string LanguageIniPath(const ini_file& setup);
