// The link-script interpreter: command line, log, script reading and the
// dispatch of each line to its command.
#include <cstring>
#include <ctime>
#include <strings.h>

#include "lns_commands.h"
#include "regular_file.h"

namespace {

bool is_switch(const char* argument) { return argument[0] == '+' || argument[0] == '-'; }

// Removes trailing control characters (CR, LF), and bytes 0x80 to 0xFF as
// well: every byte below 32 when taken as a signed 8-bit number.
void strip_line_end(char* line) {
    size_t length = std::strlen(line);
    while (length > 0 && static_cast<signed char>(line[length - 1]) < 32) line[--length] = '\0';
}

struct keyword {
    const char* word;
    int (*run)(const char* value);
};

int set_parm(const char* value) { return lns_set_parm(value, lns.header_offset); }
int info_dup(const char* value) { return lns_copy_range(value, 0); }
int rom_copy(const char* value) { return lns_copy_range(value, lns.header_offset); }

// Tried in this order; the first match decides.
const keyword keywords[] = {
    {"OutFile@", lns_out_file}, {"DupFile@", lns_dup_file}, {"AddFile@", lns_add_file},
    {"RomSize@", lns_rom_size}, {"SetParm@", set_parm},     {"InfoDup@", info_dup},
    {"RomCopy@", rom_copy},     {"CheckSum@", lns_check_sum},
};

const keyword* find_keyword(const char* text) {
    for (const keyword& k : keywords)
        if (::strncasecmp(text, k.word, std::strlen(k.word)) == 0) return &k;
    return nullptr;
}

int end_run(int code) {
    end_of_run_hook();
    return code;
}

int fail_run(int code) {
    lns_close_all(true);
    return end_run(code);
}

void open_log(int argc, char** argv) {
    for (int i = 2; i < argc; ++i)
        if (!is_switch(argv[i])) lns.log.open(argv[i]);  // the later log path wins
}

void set_warning(int argc, char** argv) {
    lns.warning = true;
    for (int i = 2; i < argc; ++i) {
        if (::strncasecmp(argv[i], "+W", 2) == 0) lns.warning = true;
        else if (::strncasecmp(argv[i], "-W", 2) == 0) lns.warning = false;
    }
}

}  // namespace

int lns_main(int argc, char** argv) {
    if (argc < 2 || argc > 4) {
        std::printf("Usage: %s link-script(*.lns) [log-fname] [+Warning]\n\n", argc > 0 ? argv[0] : "qavgen");
        return end_run(kLnsUsage);
    }
    open_log(argc, argv);
    lns.log.say("------- QavGen V1.8 (2010.03.10)---------\n");
    // Only a regular file is a script: a folder opens for reading but has no lines, and a pipe would wait for a
    // writer that may never come.
    lns.script = open_regular_file(argv[1]);
    if (!lns.script) {
        lns.log.say("Err: open link-script      <%s>.\n\n", argv[1]);
        lns_close_all(false);
        return end_run(kLnsScriptNotOpened);
    }
    lns.log.say("Succ open link-script      <%s>.\n", argv[1]);
    set_warning(argc, argv);

    // A line longer than the buffer is read in pieces; each counts as a line.
    char line[kLnsLineSize];
    int line_count = 0;
    while (std::fgets(line, sizeof line, lns.script)) {
        ++line_count;
        strip_line_end(line);
        if (line[0] != '%') continue;
        const keyword* k = find_keyword(line + 1);
        if (!k) {
            lns.log.say("Unknow script at line %d.\n\n", line_count);
            return fail_run(kLnsUnknownKeyword);
        }
        if (k->run(line + 1 + std::strlen(k->word)) != 0) {
            lns.log.say("Error on link-script at line %d.\n\n", line_count);
            return fail_run(kLnsCommandFailed);
        }
    }
    const std::time_t now = std::time(nullptr);
    lns.log.say("%s\n", std::ctime(&now));
    lns_close_all(false);
    return end_run(kLnsOk);
}
