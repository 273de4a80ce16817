// qav3kwriter and qavwriter: one source, the series chosen when building.
#include "writer_run.h"
#include "writer_series.h"

int main(int argc, char** argv) {
#if KOVA_WRITER_SERIES_3K
    return run_writer(series_3k(), argc, argv);
#else
    return run_writer(series_other(), argc, argv);
#endif
}
