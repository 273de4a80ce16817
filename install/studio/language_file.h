// The English language file: every replaceable text of KovaStudio under its
// section and key, with the text built into the program, as UTF-8.
#pragma once

#include <string>

// The whole file: a comment line, then [Message] and [Status] with their keys
// in table order. Values the settings reader would trim are quoted.
std::string english_language_file();
