#pragma once
// Stepping through UTF-16 text by whole code points, so that no tool splits a surrogate pair.
#include <QStringView>

#include <algorithm>

namespace transforms::codepoints {

// True when a surrogate pair starts at i.
inline bool pairAt(QStringView s, qsizetype i)
{
    return i + 1 < s.size() && s[i].isHighSurrogate() && s[i + 1].isLowSurrogate();
}

// The index count code points after i (at most the end).
inline qsizetype advance(QStringView s, qsizetype i, qint64 count)
{
    while (count-- > 0 && i < s.size())
        i += pairAt(s, i) ? 2 : 1;
    return std::min(i, s.size());
}

// The index count code points before i (at least 0).
inline qsizetype retreat(QStringView s, qsizetype i, qint64 count)
{
    while (count-- > 0 && i > 0)
        i -= (i >= 2 && pairAt(s, i - 2)) ? 2 : 1;
    return i;
}

}  // namespace transforms::codepoints
