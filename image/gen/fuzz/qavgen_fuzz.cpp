// Fuzz target: QavGen's interpreter running whole link scripts over a few
// small templates and voice files. Input: one byte, the key typed at every
// question ("-" also switches warnings off), then the script. File names in
// the script are names in a scratch folder of the process: a script with a
// "/" in it could reach beyond, and is skipped.
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <map>
#include <string>

#include "fuzz_support.h"
#include "lns_commands.h"
#include "template_image.h"

namespace {

namespace fs = std::filesystem;

// Writes past this size fail, as on a full disk: a script may set a byte
// gigabytes into an image.
constexpr rlim_t kLargestFile = 4 << 20;

struct fixture {
    fs::path scratch;  // the script, the log and the keys
    fs::path images;   // the folder the script's names point into
    std::map<std::string, std::vector<uint8_t>> inputs;  // name -> content
};

std::vector<uint8_t> template_of(const template_spec& spec) {
    std::string error;
    std::vector<uint8_t> file = template_file(spec, error);
    KOVA_PROMISE(error.empty(), error);
    return file;
}

std::vector<uint8_t> voice(size_t count, size_t blank_tail) {
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < count; ++i) bytes.push_back(static_cast<uint8_t>(i * 13 % 251));
    bytes.insert(bytes.end(), blank_tail, 0xFF);
    return bytes;
}

const fixture& the_fixture() {
    static fixture f = [] {
        fixture made;
        made.scratch = kova_fuzz::scratch_folder("qavgen");
        made.images = made.scratch / "images";
        template_spec level1;
        level1.offset = 0x400;
        template_spec level2;
        level2.level = 2;
        level2.offset = 0x200;
        level2.cipher_start = 0x30;
        level2.cipher_end = 0x100;
        level2.header_offset = 0x20;
        made.inputs = {{"t.pgm", template_of(level1)},
                       {"t2.pgm", template_of(level2)},
                       {"v.mf0", voice(0x300, 0)},
                       {"v.dpm", voice(0x100, 0x100)}};
        const rlimit limit{kLargestFile, kLargestFile};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_IGN);
        return made;
    }();
    return f;
}

// Runs the interpreter from the images folder with the keys on standard
// input; the working folder and standard input are put back afterwards.
int run_qavgen(const fixture& f, uint8_t key) {
    const fs::path keys = f.scratch / "keys";
    kova_fuzz::write_file(keys, std::vector<uint8_t>(4, key));
    const int saved_input = ::dup(STDIN_FILENO);
    const int key_input = ::open(keys.c_str(), O_RDONLY);
    const int here = ::open(".", O_RDONLY | O_DIRECTORY);
    KOVA_PROMISE(saved_input >= 0 && key_input >= 0 && here >= 0 && ::dup2(key_input, STDIN_FILENO) == 0 &&
                     ::chdir(f.images.c_str()) == 0,
                 "setting up the run");
    const std::string script = (f.scratch / "script.lns").string(), log = (f.scratch / "QavGen.log").string();
    const char* warning = key == '-' ? "-w" : "+w";
    char* argv[] = {const_cast<char*>("qavgen"), const_cast<char*>(script.c_str()), const_cast<char*>(log.c_str()),
                    const_cast<char*>(warning), nullptr};
    lns_reset_state();
    const int code = lns_main(4, argv);
    KOVA_PROMISE(::fchdir(here) == 0 && ::dup2(saved_input, STDIN_FILENO) == 0, "putting the run back");
    ::close(here);
    ::close(key_input);
    ::close(saved_input);
    return code;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || std::memchr(data, '/', size)) return 0;
    const fixture& f = the_fixture();
    kova_fuzz::empty_folder(f.scratch);
    fs::create_directory(f.images);
    for (const auto& [name, content] : f.inputs) kova_fuzz::write_file(f.images / name, content);
    kova_fuzz::write_file(f.scratch / "script.lns", data + 1, size - 1);
    const std::string script(reinterpret_cast<const char*>(data + 1), size - 1);

    const int code = run_qavgen(f, data[0]);
    KOVA_PROMISE(code == kLnsOk || code == kLnsUnknownKeyword || code == kLnsCommandFailed,
                 "exit code " + std::to_string(code));
    auto image = [&](const std::string& name) { return f.images / name; };
    // An image left behind is a file; a name too long for the system, or one
    // of a folder (".."), was never opened as an image.
    auto exists = [&](const std::string& name) {
        std::error_code error;
        return fs::is_regular_file(image(name), error);
    };
    const std::string& output = lns.output_path;
    const std::string& duplicate = lns.duplicate_path;
    if (code != kLnsOk) {
        // A failing run leaves neither image behind.
        KOVA_PROMISE(output.empty() || !exists(output), "the output " + output + " is left");
        KOVA_PROMISE(duplicate.empty() || !exists(duplicate), "the duplicate " + duplicate + " is left");
    } else if (!output.empty() && !duplicate.empty()) {
        KOVA_PROMISE(kova_fuzz::read_file(image(output)) == kova_fuzz::read_file(image(duplicate)),
                     "the duplicate " + duplicate + " differs from the output " + output);
    }
    // Appended files are only read: only a file the script names may change.
    for (const auto& [name, content] : f.inputs)
        if (script.find(name) == std::string::npos)
            KOVA_PROMISE(kova_fuzz::read_file(image(name)) == content, name + " changed");
    return 0;
}
