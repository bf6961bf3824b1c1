#pragma once
// Invariant checks that abort, so libFuzzer keeps the input as a crash, and an input split into a text
// tool's fields: a flag byte and a count from the end, strings from the front, the text last.
#include "transforms/oracle.h"

#include <QString>

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzz {

[[noreturn]] inline void fail(const char* what, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, what);
    std::abort();
}

// No half of a surrogate pair anywhere: the same rule as the transcriptions use.
using oracle::wellFormed;

struct Fields {
    explicit Fields(const uint8_t* data, size_t size) : fdp(data, size)
    {
        flags = fdp.ConsumeIntegral<uint8_t>();
        // Mostly a count a list can have; now and then any 64-bit number.
        count = flag(7) ? fdp.ConsumeIntegral<qint64>() : fdp.ConsumeIntegralInRange<qint64>(-2, 300);
    }

    bool flag(int bit) const { return (flags >> bit) & 1; }

    // Bit 6 chooses raw UTF-16 (lone surrogates included) over UTF-8 for every string.
    QString text(const std::string& bytes) const
    {
        if (!flag(6))
            return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
        QString s;
        s.reserve(qsizetype(bytes.size() / 2));
        for (size_t i = 0; i + 1 < bytes.size(); i += 2)
            s.append(QChar(char16_t(uint8_t(bytes[i]) | (uint8_t(bytes[i + 1]) << 8))));
        return s;
    }

    // A short field ended by a backslash and another character ("\\\\" is a backslash).
    QString next(size_t maxBytes = 64) { return text(fdp.ConsumeRandomLengthString(maxBytes)); }
    QString rest() { return text(fdp.ConsumeRemainingBytesAsString()); }

    FuzzedDataProvider fdp;
    uint8_t flags = 0;
    qint64 count = 0;
};

inline bool hasSurrogate(const QString& s)
{
    return std::any_of(s.cbegin(), s.cend(), [](QChar c) { return c.isSurrogate(); });
}

}  // namespace fuzz

#define FUZZ_CHECK(cond) \
    do { \
        if (!(cond)) \
            fuzz::fail(#cond, __FILE__, __LINE__); \
    } while (false)
