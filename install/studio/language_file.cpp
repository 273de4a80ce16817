#include "language_file.h"

#include "ini_text.h"
#include "studio_texts.h"

std::string english_language_file() {
    std::string out = "; KovaStudio texts in English. Copy this file under another name, translate the values\n"
                      "; and name the copy in setup.ini [System] Language.\n";
    std::string section;
    for (const studio_text& text : studio_texts()) {
        if (section != text.section) {
            section = text.section;
            out += "\n" + ini_section(section);
        }
        out += ini_line(text.key, text.english);
    }
    return out;
}
