// What sets the two builds of the writer program apart: the texts of the
// banner and usage box, the chip tables, and the 3K series' oscillator
// functions (Freq, the trim after programming, the read-protect probe).
#pragma once

#include "writer_chip_table.h"

struct writer_series {
    const char* banner_line;
    const char* usage_line;
    const char* function_list_line;
    bool has_oscillator;  // Freq, the frequency-adjust request and the trim
    bool probes_read_protect;
    chip_tables chips;
};

const writer_series& series_3k();
const writer_series& series_other();
