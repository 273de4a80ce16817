// Fuzz target: QavChk's whole run on one image file, with a log. Input: the
// ROM size argument up to a line end within the first 16 bytes (none: an
// empty argument), then the file.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "fuzz_support.h"
#include "image_model.h"
#include "qavchk.h"

namespace {

namespace fs = std::filesystem;

constexpr size_t kLongestSizeArgument = 16;
const std::string kBanner = "------- QavChk V1.8 (2010.03.10)---------\n";

bool ends_with(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::string last_line(const std::string& log) {
    const size_t start = log.rfind('\n', log.size() >= 2 ? log.size() - 2 : 0);
    return start == std::string::npos ? log : log.substr(start + 1);
}

struct chk_run {
    int code = 0;
    std::string log;
};

chk_run run_qavchk(const fs::path& image, const std::string& rom_size) {
    const fs::path log = image.parent_path() / "QavChk.log";
    fs::remove(log);
    const std::string image_path = image.string(), log_path = log.string();
    const char* argv[] = {"qavchk", image_path.c_str(), rom_size.c_str(), log_path.c_str()};
    chk_run run;
    run.code = chk_main(4, argv);
    const std::vector<uint8_t> text = kova_fuzz::read_file(log);
    run.log.assign(text.begin(), text.end());
    return run;
}

// The log tells the outcome in its last line (so the frequency line, which
// follows the OK line on standard output, is not in it); computed and stored
// checksum are read back from it (-1 when it has none).
struct verdict {
    int computed = -1, stored = -1;
};

verdict check_log(const chk_run& run, const fs::path& image) {
    const std::string head = kBanner + "Qav input: <" + image.string() + ">\n";
    KOVA_PROMISE(run.log.compare(0, head.size(), head) == 0, "the log starts with the banner and the input");
    // The listing leaves out every byte pair that holds a blank byte.
    KOVA_PROMISE(run.log.find('\xFF') == std::string::npos, "a blank byte in the listing");
    verdict v;
    const std::string line = last_line(run.log);
    unsigned computed = 0, stored = 0;
    char tail = 0;
    switch (run.code) {
        case chk_ok:
            KOVA_PROMISE(std::sscanf(line.c_str(), "Check Sum: [%4X] Verify OK.%c", &computed, &tail) == 2 &&
                             tail == '\n' && line.size() == 29,
                         "last line " + line);
            v.computed = v.stored = static_cast<int>(computed);
            break;
        case chk_mismatch:
            KOVA_PROMISE(std::sscanf(line.c_str(), "Check Sum: [%4X] unmatched with[%4X]%c", &computed, &stored,
                                     &tail) == 3 &&
                             tail == '\n' && line.size() == 39 && computed != stored,
                         "last line " + line);
            v.computed = static_cast<int>(computed);
            v.stored = static_cast<int>(stored);
            break;
        case chk_invalid_header:
            KOVA_PROMISE(ends_with(run.log, "[CheckSum:xxxx] Error QAV file <" + image.string() + "> !!\n\n"),
                         "the error line ends the log");
            break;
        default:
            KOVA_PROMISE(false, "exit code " + std::to_string(run.code));
    }
    return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto* line_end = static_cast<const uint8_t*>(std::memchr(data, '\n', std::min(size, kLongestSizeArgument)));
    const size_t skip = line_end ? static_cast<size_t>(line_end - data) + 1 : 0;
    const std::string rom_size(reinterpret_cast<const char*>(data), line_end ? skip - 1 : 0);
    const uint8_t* file = data + skip;
    const size_t file_size = size - skip;

    const fs::path image = kova_fuzz::scratch_folder("qavchk") / "image.dat";
    kova_fuzz::write_file(image, file, file_size);
    const chk_run run = run_qavchk(image, rom_size);
    const verdict v = check_log(run, image);
    KOVA_PROMISE(kova_fuzz::read_file(image) == std::vector<uint8_t>(file, file + file_size),
                 "QavChk changed the image");

    // The image is refused exactly when its record is unusable or its system
    // information too short to hold the checksum slot.
    const image_model m = model_of(file, file_size);
    if (!m.accepted) {
        KOVA_PROMISE(run.code == chk_invalid_header, "an unusable record was accepted");
        return 0;
    }
    if (!m.first_word_read_whole()) return 0;
    const int L = m.system_info_length();
    KOVA_PROMISE((run.code == chk_invalid_header) == (L < kMinSystemInfoLength), "L " + std::to_string(L));
    if (run.code == chk_invalid_header || !m.keeps_to_the_format(L)) return 0;

    const int slot = m.rom_length >= L ? m.at(L - 2) | m.at(L - 1) << 8 : 0xFFFF;
    KOVA_PROMISE(v.stored == slot, "stored checksum");
    // With the computed checksum in its slot the image verifies.
    if (m.rom_length < L) return 0;
    std::vector<uint8_t> sealed(file, file + file_size);
    sealed[static_cast<size_t>(m.header.header_offset + L - 2)] = static_cast<uint8_t>(v.computed);
    sealed[static_cast<size_t>(m.header.header_offset + L - 1)] = static_cast<uint8_t>(v.computed >> 8);
    kova_fuzz::write_file(image, sealed);
    const chk_run again = run_qavchk(image, rom_size);
    KOVA_PROMISE(again.code == chk_ok && check_log(again, image).computed == v.computed,
                 "a sealed image does not verify");
    return 0;
}
