#pragma once
// Invariant checks of the fuzz targets: a broken one aborts, so libFuzzer keeps the input as a crash.
#include "transforms/oracle.h"

#include <QString>

#include <cstdio>
#include <cstdlib>

namespace fuzzcheck {

[[noreturn]] inline void fail(const char* what, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, what);
    std::abort();
}

// No half of a surrogate pair anywhere: the same rule as the transcriptions use.
using oracle::wellFormed;

}  // namespace fuzzcheck

#define FUZZ_CHECK(cond) \
    do { \
        if (!(cond)) \
            fuzzcheck::fail(#cond, __FILE__, __LINE__); \
    } while (false)
