#include "writer_series.h"

const writer_series& series_3k() {
    static const writer_series series{
        "* USB Writer for ZORVA QAV 3K Series (V01.8)               2010/03/10 *\n",
        "  *  Usage: Kova3kWriter.exe Func [input-file(for program & verify)]*\n",
        "  *         Func:   Empty/Blank/Test/Program/Slave/Verify/Check/Freq*\n",
        true,
        true,
        {{{"Kova3k10", 0xF9},
          {"Kova3k21", 0x09},
          {"Kova3k42", 0x19},
          {"Kova3k85", 0x29},
          {"Kova3k170", 0x49},
          {"Kova3k341", 0x89}},
         {{"K3K0010", 0xF1, 0x7FFF, "   KOVA3k10   "},
          {"K3K0021", 0xF2, 0xFFFF, "   KOVA3k21   "},
          {"K3K0042", 0xF3, 0x1FFFF, "   KOVA3k42   "},
          {"K3K0085", 0xF4, 0x3FFFF, "   KOVA3k85   "},
          {"K3K0170", 0xF5, 0x7FFFF, "   KOVA3k170  "},
          {"K3K0341", 0xF6, 0xFFFFF, "   KOVA3k341  "}}},
    };
    return series;
}

const writer_series& series_other() {
    static const writer_series series{
        "* USB Writer for ZORVA QAV Series (V01.8)                  2010/03/10 *\n",
        "  *  Usage: KovaWriter.exe Func [input-file(for program & verify)]  *\n",
        "  *         Func:   Empty/Blank/Test/Program/Slave/Verify/Check     *\n",
        false,
        false,
        {{{"Kova10", 0xFF},
          {"Kova21", 0x00},
          {"Kova42", 0x18},
          {"Kova85", 0x28},
          {"Kova170", 0x4A},
          {"Kova341", 0x8C}},
         {{"KQV0010", 0x81, 0x7FFF, "   KOVA1004   "},
          {"KQV0021", 0x82, 0xFFFF, "   KOVA2104   "},
          {"KQV0042", 0x83, 0x1FFFF, "   KOVA4208   "},
          {"KQV0085", 0x84, 0x3FFFF, "   KOVA8511   "},
          {"KQV0170", 0x85, 0x7FFFF, "   KOVA170?""?  "},
          {"KQV0341", 0x86, 0xFFFFF, "   KOVA34112  "}}},
    };
    return series;
}
