// OutFile@ and DupFile@: create the output image and its duplicate.
#include <cstring>

#include "lns_commands.h"

namespace {

// Creates (or truncates) an image for reading and writing and says how it
// went; `label` names the image in both lines. An image opened before by the
// same command is closed first and kept as it is.
int create_image(FILE*& image, std::string& remembered_path, const char* path, const char* label) {
    if (image) std::fclose(image);
    remembered_path = path;
    image = std::fopen(path, "w+b");
    if (!image) {
        lns.log.say("Err: Open %s <%s>.\n", label, path);
        return -2;
    }
    lns.log.say("Succ open %s <%s>.\n", label, path);
    return 0;
}

}  // namespace

int lns_out_file(const char* value) {
    char path[kLnsValueSize];
    if (!lns_unquote(value, path)) {
        lns.log.say("Unknow output filename\n");
        return -1;
    }
    return create_image(lns.output, lns.output_path, path, "output file     ");
}

int lns_dup_file(const char* value) {
    if (std::strcmp(value, "=\"\"") == 0) return 0;  // no duplicate wanted
    char path[kLnsValueSize];
    if (!lns_unquote(value, path)) {
        lns.log.say("Unknow Duplicate output filename %s\n", value);
        return -1;
    }
    return create_image(lns.duplicate, lns.duplicate_path, path, "duplicate output");
}
