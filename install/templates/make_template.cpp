// make_template: writes an image template for one chip model.
//
//   make_template OUT.pgm MODEL LEVEL OFFSET CIPHER_START CIPHER_END [FREQ] [HEADER_OFFSET] [SEED]
//
// LEVEL is I or II; OFFSET, CIPHER_START, CIPHER_END and HEADER_OFFSET are
// hexadecimal; FREQ is the level II target frequency in units of 0.1 MHz.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "output_file.h"
#include "parse_hex.h"
#include "template_image.h"

int main(int argc, char** argv) {
    if (argc < 7 || argc > 10) {
        std::fprintf(stderr,
                     "Usage: %s out.pgm model I|II offset(hex) cipher-start(hex) cipher-end(hex) "
                     "[freq(0.1MHz)] [header-offset(hex)] [seed]\n",
                     argv[0]);
        return 1;
    }
    template_spec spec;
    spec.model = argv[2];
    const std::string level = argv[3];
    if (level != "I" && level != "II") {
        std::fprintf(stderr, "level must be I or II\n");
        return 1;
    }
    spec.level = level == "II" ? 2 : 1;
    spec.offset = parse_hex(argv[4]);
    spec.cipher_start = parse_hex(argv[5]);
    spec.cipher_end = parse_hex(argv[6]);
    if (argc > 7) spec.frequency_tenths_mhz = std::atoi(argv[7]);
    if (argc > 8) spec.header_offset = static_cast<int16_t>(parse_hex(argv[8]));
    if (argc > 9) spec.seed = static_cast<uint32_t>(std::strtoul(argv[9], nullptr, 10));

    std::string error = template_verifier_problem(spec);
    if (!error.empty()) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const auto bytes = template_file(spec, error);
    if (!error.empty()) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    if (!write_whole_file(argv[1], bytes)) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
