#pragma once
// Invariant checks of the fuzz targets: a broken one aborts, so libFuzzer keeps the input as a crash.
#include <QString>

#include <cstdio>
#include <cstdlib>

namespace fuzzcheck {

[[noreturn]] inline void fail(const char* what, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, what);
    std::abort();
}

// No half of a surrogate pair anywhere.
inline bool wellFormed(const QString& s)
{
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i].isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate())
            ++i;
        else if (s[i].isSurrogate())
            return false;
    }
    return true;
}

}  // namespace fuzzcheck

#define FUZZ_CHECK(cond) \
    do { \
        if (!(cond)) \
            fuzzcheck::fail(#cond, __FILE__, __LINE__); \
    } while (false)
