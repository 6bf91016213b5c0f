// The check of the fuzz targets: a property that does not hold stops the run with a crash report.
#pragma once

#include <cstdio>
#include <cstdlib>

/// Aborts, naming the failed property, so libFuzzer keeps the input as a crash.
inline void fuzzCheck(bool holds, const char *property, const char *where)
{
    if (holds)
        return;
    std::fprintf(stderr, "Property does not hold: %s (%s)\n", property, where);
    std::abort();
}

#define FUZZ_STRINGIFY2(x) #x
#define FUZZ_STRINGIFY(x) FUZZ_STRINGIFY2(x)
#define FUZZ_CHECK(condition) fuzzCheck(bool(condition), #condition, __FILE__ ":" FUZZ_STRINGIFY(__LINE__))
