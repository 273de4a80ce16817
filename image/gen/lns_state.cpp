#include "lns_state.h"

lns_run_state lns;

void lns_reset_state() { lns = lns_run_state{}; }

namespace {

void close_file(FILE*& file) {
    if (file) std::fclose(file);
    file = nullptr;
}

void close_and_delete(FILE*& file, const std::string& path) {
    if (!file) return;
    close_file(file);
    std::remove(path.c_str());
}

}  // namespace

void lns_close_all(bool delete_images) {
    if (delete_images) {
        close_and_delete(lns.output, lns.output_path);
        close_and_delete(lns.duplicate, lns.duplicate_path);
    }
    close_file(lns.script);
    close_file(lns.output);
    close_file(lns.duplicate);
    close_file(lns.input);
    lns.log.close();  // last, so every message of the run reaches it
}

void end_of_run_hook() {}
