// The chip-selection step of a run: the chip model, forced by name or
// detected by the writer, its row, the range cut to the chip and to the
// image, and the chip selected in the writer.
#include "writer_run.h"

#include "writer_protocol.h"

#include <cstdio>

namespace {

int chip_exit(writer_run& run, bool end_first) {
    if (end_first) end_session(run.link);
    run.link.close_writer();
    run.close_image();
    return kExitChip;
}

// The chip name follows the other arguments, if given.
const std::string* chip_argument(const writer_run& run) {
    const size_t at = run.function->uses_image ? 2 : 1;
    return run.args.size() > at ? &run.args[at] : nullptr;
}

}  // namespace

int select_run_chip(writer_run& run) {
    const chip_tables& tables = run.series.chips;
    const std::string* chip_name = chip_argument(run);
    uint8_t id = kNoModelId;
    bool forced = false;
    if (chip_name) {
        id = alias_id(tables, *chip_name);
        forced = id != kNoModelId;
    } else {
        uint8_t detected[2] = {kNoModelId, 0};
        if (probe_chip(run.link, default_entry(tables).chip_id, detected)) id = detected[0];
    }
    const chip_entry* row = entry_of_id(tables, id);
    if (!row) {
        std::fputs("[??] QAV series auto detect error.\n", stdout);
        return chip_exit(run, true);
    }
    run.range_end = kWholeRangeEnd;
    if (!find_chip(tables, run.chip, row->model_code, run.range_start, run.range_end)) {
        std::fputs("\n", stdout);
        return kExitParameter;
    }
    if (run.image.file) {
        // Programming only the part that fits would leave a chip that holds
        // less than its image: refuse every image longer than the chip.
        if (run.image_last_address >= run.chip.chip_size) {
            std::fputs("[??] Input file greater then chip Size.\n", stdout);
            return chip_exit(run, true);
        }
        if (run.image_last_address < run.range_end) run.range_end = run.image_last_address;
    }
    if (!select_chip(run.link, run.chip.chip_id, run.range_start, forced)) {
        end_session(run.link);
        std::printf("[03] IC Detector [%s] Fail.\n", run.chip.display_name.c_str());
        return chip_exit(run, false);
    }
    if (forced)
        std::printf("[03] Force with  [%s]     .\n", chip_name->c_str());
    else
        std::printf("[03] IC Detector [%s] Succ.\n", run.chip.display_name.c_str());
    return kGoOn;
}
