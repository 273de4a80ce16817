// Writing settings lines that the settings reader gives back exactly: a value
// that the reader would trim or unwrap is written between double quotes.
#pragma once

#include <string>

// "key=value\n". Throws std::invalid_argument for a value the reader cannot
// give back: one holding a line break, or longer than the reader's limit.
std::string ini_line(const std::string& key, const std::string& value);

// "[name]\n".
std::string ini_section(const std::string& name);
