// OutFile@ and DupFile@: create the output image and its duplicate.
#include <cstring>

#include "lns_commands.h"

namespace {

// Creates (or truncates) an image for reading and writing. An image opened
// before by the same command is closed first and kept as it is.
FILE* create_image(FILE*& image, std::string& remembered_path, const char* path) {
    if (image) std::fclose(image);
    remembered_path = path;
    image = std::fopen(path, "w+b");
    return image;
}

}  // namespace

int lns_out_file(const char* value) {
    char path[kLnsValueSize];
    if (!lns_unquote(value, path)) {
        lns.log.say("Unknow output filename\n");
        return -1;
    }
    if (!create_image(lns.output, lns.output_path, path)) {
        lns.log.say("Err: Open output file      <%s>.\n", path);
        return -2;
    }
    lns.log.say("Succ open output file      <%s>.\n", path);
    return 0;
}

int lns_dup_file(const char* value) {
    if (std::strcmp(value, "=\"\"") == 0) return 0;  // no duplicate wanted
    char path[kLnsValueSize];
    if (!lns_unquote(value, path)) {
        lns.log.say("Unknow Duplicate output filename %s\n", value);
        return -1;
    }
    if (!create_image(lns.duplicate, lns.duplicate_path, path)) {
        lns.log.say("Err: Open duplicate output <%s>.\n", path);
        return -2;
    }
    lns.log.say("Succ open duplicate output <%s>.\n", path);
    return 0;
}
