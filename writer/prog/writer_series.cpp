#include "writer_series.h"

const writer_series& series_3k() {
    static const writer_series series{
        .banner_line = "* USB Writer for ZORVA QAV 3K Series (V01.8)               2010/03/10 *\n",
        .usage_line = "  *  Usage: Kova3kWriter.exe Func [input-file(for program & verify)]*\n",
        .function_list_line = "  *         Func:   Empty/Blank/Test/Program/Slave/Verify/Check/Freq*\n",
        .has_oscillator = true,
        .probes_read_protect = true,
        .chips = {
            .aliases = {
                {.name = "Kova3k10", .id = 0xF9},
                {.name = "Kova3k21", .id = 0x09},
                {.name = "Kova3k42", .id = 0x19},
                {.name = "Kova3k85", .id = 0x29},
                {.name = "Kova3k170", .id = 0x49},
                {.name = "Kova3k341", .id = 0x89},
            },
            .entries = {
                {.model_code = "K3K0010", .chip_id = 0xF1, .last_address = 0x7FFF, .display_name = "   KOVA3k10   "},
                {.model_code = "K3K0021", .chip_id = 0xF2, .last_address = 0xFFFF, .display_name = "   KOVA3k21   "},
                {.model_code = "K3K0042", .chip_id = 0xF3, .last_address = 0x1FFFF, .display_name = "   KOVA3k42   "},
                {.model_code = "K3K0085", .chip_id = 0xF4, .last_address = 0x3FFFF, .display_name = "   KOVA3k85   "},
                {.model_code = "K3K0170", .chip_id = 0xF5, .last_address = 0x7FFFF, .display_name = "   KOVA3k170  "},
                {.model_code = "K3K0341", .chip_id = 0xF6, .last_address = 0xFFFFF, .display_name = "   KOVA3k341  "},
            },
        },
    };
    return series;
}

const writer_series& series_other() {
    static const writer_series series{
        .banner_line = "* USB Writer for ZORVA QAV Series (V01.8)                  2010/03/10 *\n",
        .usage_line = "  *  Usage: KovaWriter.exe Func [input-file(for program & verify)]  *\n",
        .function_list_line = "  *         Func:   Empty/Blank/Test/Program/Slave/Verify/Check     *\n",
        .has_oscillator = false,
        .probes_read_protect = false,
        .chips = {
            .aliases = {
                {.name = "Kova10", .id = 0xFF},
                {.name = "Kova21", .id = 0x00},
                {.name = "Kova42", .id = 0x18},
                {.name = "Kova85", .id = 0x28},
                {.name = "Kova170", .id = 0x4A},
                {.name = "Kova341", .id = 0x8C},
            },
            .entries = {
                {.model_code = "KQV0010", .chip_id = 0x81, .last_address = 0x7FFF, .display_name = "   KOVA1004   "},
                {.model_code = "KQV0021", .chip_id = 0x82, .last_address = 0xFFFF, .display_name = "   KOVA2104   "},
                {.model_code = "KQV0042", .chip_id = 0x83, .last_address = 0x1FFFF, .display_name = "   KOVA4208   "},
                {.model_code = "KQV0085", .chip_id = 0x84, .last_address = 0x3FFFF, .display_name = "   KOVA8511   "},
                {.model_code = "KQV0170", .chip_id = 0x85, .last_address = 0x7FFFF, .display_name = "   KOVA170?""?  "},
                {.model_code = "KQV0341", .chip_id = 0x86, .last_address = 0xFFFFF, .display_name = "   KOVA34112  "},
            },
        },
    };
    return series;
}
