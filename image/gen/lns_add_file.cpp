// AddFile@: appends a file (the image template, the voice data) to the output
// image and its duplicate, cut at the size limit.
#include <sys/stat.h>

#include <cstring>
#include <strings.h>

#include "console_key.h"
#include "image_header.h"
#include "lns_commands.h"
#include "lns_images.h"
#include "regular_file.h"

namespace {

inline constexpr uint32_t kLargestRomForHeader = 0xFFFFFF;

// What lay past the size limit in the appended file.
struct cut_result {
    long cut_offset = 0;       // offset in the appended file where it was cut
    bool too_long = false;     // data past the limit (reported only with warnings on)
    bool blank_tail = false;   // a .dpm file went on with 0xFF bytes past the limit
};

bool same_file(FILE* a, FILE* b) {
    struct stat sa, sb;
    return a && b && ::fstat(::fileno(a), &sa) == 0 && ::fstat(::fileno(b), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

void close_input() {
    if (lns.input) std::fclose(lns.input);
    lns.input = nullptr;
}

bool is_dpm(const char* path) {
    const size_t length = std::strlen(path);
    return length >= 4 && ::strcasecmp(path + length - 4, ".dpm") == 0;
}

// The first appended file is the image template: its header record sets the
// ROM base, and the ROM size becomes a limit on the whole file.
void take_template_header() {
    lns.first_add_file = false;
    image_header header;
    const bool valid = image_read_header(lns.input, header) == 1 && image_header_accepted(header);
    if (valid && lns.max_size <= kLargestRomForHeader) {
        lns.max_size += static_cast<uint32_t>(header.header_offset);
        lns.header_offset = header.header_offset;
        lns.log.say("Setting Variable MaxSize = %x (Hex) {Header+Rom}\n", lns.max_size);
    }
    std::rewind(lns.input);
}

// Looks at what follows the size limit: a .dpm file may go on with 0xFF bytes.
cut_result examine_rest(bool dpm) {
    cut_result cut;
    cut.cut_offset = std::ftell(lns.input);
    for (int byte; (byte = std::fgetc(lns.input)) != EOF;) {
        if (dpm && byte == 0xFF) {
            cut.blank_tail = true;
            continue;
        }
        cut.too_long = lns.warning;
        break;
    }
    return cut;
}

// Appends until the input ends or the limit is reached. False on a write error.
bool append(bool dpm, cut_result& cut) {
    uint8_t buffer[1024];
    for (;;) {
        const uint64_t total = lns.appended_total;
        const size_t n = total >= lns.max_size ? 0
                         : total + sizeof buffer < lns.max_size ? sizeof buffer
                                                                : static_cast<size_t>(lns.max_size - total);
        if (n == 0) {
            cut = examine_rest(dpm);
            return true;
        }
        const size_t got = std::fread(buffer, 1, n, lns.input);
        lns.appended_total += static_cast<uint32_t>(got);
        if (got == 0) return true;
        if (!lns_change_images([&](FILE* image) { return std::fwrite(buffer, 1, got, image) == got; }))
            return false;
        if (got < n) return true;
    }
}

// Asks on standard error whether to go on with the cut image. Only Y or y
// means yes; any other key, a special key and the end of input mean No.
int ask_to_continue(const char* path, long cut_offset) {
    const char* append_line = "Append file .............. <%s>.\n";
    const char* warning_line = "       Warning: Voice Too Long, Truncate from addr %xh.\n";
    lns.log.log_only(append_line, path);
    lns.log.log_only(warning_line, static_cast<unsigned>(cut_offset));
    // The run's earlier lines first, so that one transcript of both streams
    // keeps the order in which the run wrote them.
    std::fflush(stdout);
    std::fprintf(stderr, append_line, path);
    std::fprintf(stderr, warning_line, static_cast<unsigned>(cut_offset));
    std::fprintf(stderr, "       Do you want to continue  (Press: Y=Yes / others=No)? _ ");
    const console_key key = read_console_key(true);
    std::fflush(stdout);
    std::fprintf(stderr, "\n");
    const bool yes = !key.extended && !key.end_of_input && (key.code == 'Y' || key.code == 'y');
    return yes ? 0 : -4;
}

}  // namespace

int lns_add_file(const char* value) {
    char path[kLnsValueSize];
    if (!lns_unquote(value, path)) {
        lns.log.say("Unknow input filename\n");
        return -1;
    }
    // Read only: nothing is ever written to an appended file. Appending an
    // image to itself would read back what it writes, so that is refused. Only
    // a regular file is appended: a folder would append nothing and still
    // report success, and a template in a pipe could not be rewound after its
    // header record was read.
    lns.input = open_regular_file(path);
    if (!lns.input || same_file(lns.input, lns.output) || same_file(lns.input, lns.duplicate)) {
        close_input();
        lns.log.say("input file open error.\n");
        return -2;
    }
    if (!lns.output) {
        close_input();
        lns.log.say("There is no output.\n");
        return -3;
    }
    if (lns.first_add_file) take_template_header();

    const bool dpm = is_dpm(path);
    cut_result cut;
    const bool appended = append(dpm, cut);
    close_input();
    // A short write leaves no usable image.
    if (!appended || !lns_change_images([](FILE* image) { return std::fflush(image) == 0; })) return -2;

    if (cut.too_long) return ask_to_continue(path, cut.cut_offset);
    lns.log.say("Append file .............. <%s>.\n", path);
    if (lns.warning && dpm && cut.blank_tail)
        lns.log.say("       Note: Truncate from addr %xh.(All data are 0xff)\n", static_cast<unsigned>(cut.cut_offset));
    return 0;
}
