// The texts KovaStudio shows that a language file may replace: message-box and
// status texts (section [Message]) and status-bar tips (section [Status]),
// each with the English text built into the program.
#pragma once

#include <string>
#include <vector>

class ini_file;

struct studio_text {
    const char* section;  // "Message" or "Status"
    const char* key;      // "Msg001" .. "Msg030", "Tip001" .. "Tip023"
    const char* english;  // shown when the language file lacks the key
};

// Every replaceable text, messages first, each key once, in key order.
const std::vector<studio_text>& studio_texts();

// The built-in English text of a key; empty for a key that is not in the table.
std::string builtin_text(const std::string& section, const std::string& key);

// The text to show now: the language file's value for the key, or the
// built-in English text when the file, its section or the key is missing.
std::string language_text(const ini_file& language, const std::string& section, const std::string& key);
std::string message_text(const ini_file& language, const std::string& key);  // section [Message]
std::string tip_text(const ini_file& language, const std::string& key);      // section [Status]
