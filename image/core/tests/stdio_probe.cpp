#include "stdio_probe.h"

#include <cstdio>

namespace {
stdio_record* g_record = nullptr;
}

extern "C" {
size_t __real_fread(void* buffer, size_t size, size_t count, FILE* file);
int __real_fseek(FILE* file, long offset, int whence);

size_t __wrap_fread(void* buffer, size_t size, size_t count, FILE* file) {
    if (g_record) g_record->reads.push_back(size * count);
    return __real_fread(buffer, size, count, file);
}

int __wrap_fseek(FILE* file, long offset, int whence) {
    if (g_record) ++g_record->seeks;
    return __real_fseek(file, offset, whence);
}
}

stdio_probe::stdio_probe() { g_record = new stdio_record; }
stdio_probe::~stdio_probe() {
    delete g_record;
    g_record = nullptr;
}
const stdio_record& stdio_probe::record() const { return *g_record; }
