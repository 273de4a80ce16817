// OutFile@ and DupFile@: create the output image and its duplicate.
#include <sys/stat.h>

#include <cstdint>
#include <cstring>

#include "lns_commands.h"

namespace {

struct image_role {
    FILE*& image;                 // the image this command opens
    std::string& remembered_path;
    FILE* other;                  // the other image, which the new one must equal
    const char* label;            // names the image in the messages
};

// True when `path` names the file that `image` has open and that file holds
// bytes.
bool names_filled_file(const char* path, FILE* image) {
    struct stat named, open;
    return image && ::stat(path, &named) == 0 && std::fflush(image) == 0 &&
           ::fstat(::fileno(image), &open) == 0 && named.st_dev == open.st_dev && named.st_ino == open.st_ino &&
           open.st_size != 0;
}

// Fills `to` with the bytes of `from` and leaves both where `from` stood.
bool copy_image(FILE* from, FILE* to) {
    if (std::fflush(from) != 0) return false;
    const long position = std::ftell(from);
    if (position < 0 || std::fseek(from, 0, SEEK_SET) != 0) return false;
    bool ok = true;
    uint8_t buffer[4096];
    for (size_t got; ok && (got = std::fread(buffer, 1, sizeof buffer, from)) > 0;)
        ok = std::fwrite(buffer, 1, got, to) == got;
    ok = ok && !std::ferror(from) && std::fflush(to) == 0;
    return std::fseek(from, position, SEEK_SET) == 0 && ok && std::fseek(to, position, SEEK_SET) == 0;
}

// Creates (or truncates) an image for reading and writing and says how it
// went. An image opened before by the same command is closed first and kept
// as it is. Every later command changes both images alike, so an image
// opened after the other one already holds bytes (a duplicate named after
// data went to the output, or a second output) starts as a copy of it.
// Truncating the file the other image has open would destroy those bytes
// under it: that file is refused.
int create_image(const image_role& role, const char* path) {
    if (role.image) std::fclose(role.image);
    role.image = nullptr;
    role.remembered_path = path;
    if (!names_filled_file(path, role.other)) role.image = std::fopen(path, "w+b");
    if (role.image && role.other && !copy_image(role.other, role.image)) {
        std::fclose(role.image);
        role.image = nullptr;
    }
    if (!role.image) {
        lns.log.say("Err: Open %s <%s>.\n", role.label, path);
        return -2;
    }
    lns.log.say("Succ open %s <%s>.\n", role.label, path);
    return 0;
}

}  // namespace

int lns_out_file(const char* value) {
    char path[kLnsValueSize];
    if (!lns_unquote(value, path)) {
        lns.log.say("Unknow output filename\n");
        return -1;
    }
    return create_image({lns.output, lns.output_path, lns.duplicate, "output file     "}, path);
}

int lns_dup_file(const char* value) {
    if (std::strcmp(value, "=\"\"") == 0) return 0;  // no duplicate wanted
    char path[kLnsValueSize];
    if (!lns_unquote(value, path)) {
        lns.log.say("Unknow Duplicate output filename %s\n", value);
        return -1;
    }
    return create_image({lns.duplicate, lns.duplicate_path, lns.output, "duplicate output"}, path);
}
