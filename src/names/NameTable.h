#pragma once
// A set of names, each with a number (a line index), that the rename checks
// fill with 100,000 names at a time. Open addressing over the numbers alone:
// a slot holds a hash and the number, and the name itself is asked for (by
// the number) only when two hashes are equal. No node or string is allocated
// per name, and a table of 100,000 names takes 2 MB, which the cache holds
// far better than one that kept a view of each name.
#include "names/AsciiNames.h"

#include <QString>
#include <QStringView>

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

namespace names {

template <Qt::CaseSensitivity cs>
class NameTable {
public:
    // `nameOf(value)` is the name stored with `value`.
    using NameOf = std::function<QStringView(int)>;
    NameTable(qsizetype expected, NameOf nameOf) : m_nameOf(std::move(nameOf)) { reset(expected); }

    // Empties the table for `expected` names. Its memory is kept where it is large enough: a check that
    // runs at every edit would otherwise fault in megabytes of fresh pages each time.
    void reset(qsizetype expected)
    {
        size_t size = 16;
        while (size < size_t(expected) * 2)
            size *= 2;
        // A table much larger than needed would be cleared for nothing.
        if (m_slots.size() < size || m_slots.size() > size * 4)
            m_slots = std::vector<Slot>(size);
        else
            std::fill(m_slots.begin(), m_slots.end(), Slot{});
        m_mask = m_slots.size() - 1;
    }

    // Adds `name` (which nameOf(value) gives) with `value` unless it is there; returns the value
    // stored for it. Values are indexes: 0 to 2^31 - 2.
    int insert(QStringView name, int value)
    {
        const size_t h = hashOf(name);
        const auto tag = quint32(quint64(h) >> 32);  // the bits the slot's place does not tell
        size_t i = h & m_mask;
        for (; m_slots[i].valuePlusOne != 0; i = (i + 1) & m_mask)
            if (m_slots[i].hash == tag && equal(m_nameOf(m_slots[i].valuePlusOne - 1), name))
                return m_slots[i].valuePlusOne - 1;
        m_slots[i] = {tag, value + 1};
        return value;
    }

    // The value stored for `name`, or -1.
    int value(QStringView name) const
    {
        const size_t h = hashOf(name);
        const auto tag = quint32(quint64(h) >> 32);  // the bits the slot's place does not tell
        for (size_t i = h & m_mask; m_slots[i].valuePlusOne != 0; i = (i + 1) & m_mask)
            if (m_slots[i].hash == tag && equal(m_nameOf(m_slots[i].valuePlusOne - 1), name))
                return m_slots[i].valuePlusOne - 1;
        return -1;
    }

    bool contains(QStringView name) const { return value(name) >= 0; }

private:
    struct Slot {
        quint32 hash = 0;      // the high bits of the name's hash
        int valuePlusOne = 0;  // 0: free
    };

    static bool equal(QStringView a, QStringView b)
    {
        if constexpr (cs == Qt::CaseSensitive)
            return a.size() == b.size() && a == b;
        else
            return a.compare(b, Qt::CaseInsensitive) == 0;
    }

    // Case-insensitive: the folded characters are hashed in place rather than a folded copy built, four
    // UTF-16 units to a word. Four ASCII units are folded at once; any other unit is folded as a code point
    // and its folded form (one or two units) goes into the word like any other, so that names equal but
    // for case give the same words however their ASCII and other characters lie.
    static size_t hashOf(QStringView s)
    {
        if constexpr (cs == Qt::CaseSensitive) {
            return qHash(s);
        } else {
            FoldedWords words;
            const char16_t* p = s.utf16();
            const qsizetype n = s.size();
            qsizetype i = 0;
            while (i < n) {
                if (words.filled == 0 && n - i >= 4) {
                    quint64 w;
                    std::memcpy(&w, p + i, sizeof w);
                    if ((w & 0xFF80FF80FF80FF80ull) == 0) {
                        words.add(foldAsciiLanes(w));
                        i += 4;
                        continue;
                    }
                }
                char32_t c = p[i++];
                if (c < 0x80) {
                    words.push(foldAscii(char16_t(c)));
                    continue;
                }
                if (QChar::isHighSurrogate(c) && i < n && QChar::isLowSurrogate(p[i]))
                    c = QChar::surrogateToUcs4(char16_t(c), p[i++]);
                c = QChar::toCaseFolded(c);
                if (QChar::requiresSurrogates(c)) {
                    words.push(QChar::highSurrogate(c));
                    words.push(QChar::lowSurrogate(c));
                } else {
                    words.push(char16_t(c));
                }
            }
            return words.result();
        }
    }

    // Four UTF-16 units below 0x80, each in a 16-bit lane: A-Z get their 0x20 bit, the others stay.
    static quint64 foldAsciiLanes(quint64 w)
    {
        constexpr quint64 lanes = 0x0001000100010001ull;
        const quint64 atLeastA = (w + (0x80 - 'A') * lanes) & (0x80 * lanes);
        const quint64 pastZ = (w + (0x80 - 'Z' - 1) * lanes) & (0x80 * lanes);
        return w | ((atLeastA & ~pastZ) >> 2);
    }

    // Folded units packed four to a word, each word mixed into the hash as it fills.
    struct FoldedWords {
        quint64 h = 0x9E3779B97F4A7C15ull;
        quint64 word = 0;
        int filled = 0;  // units in `word`
        qsizetype units = 0;
        void add(quint64 w)
        {
            h = (h ^ w) * 0xFF51AFD7ED558CCDull;
            h ^= h >> 32;
            units += 4;
        }
        void push(char16_t u)
        {
            word |= quint64(u) << (16 * filled);
            if (++filled == 4) {
                add(word);
                word = 0;
                filled = 0;
            }
        }
        size_t result()
        {
            quint64 x = (h ^ word) * 0xC4CEB9FE1A85EC53ull;
            x ^= quint64(units + filled);
            x ^= x >> 33;
            x *= 0xFF51AFD7ED558CCDull;
            x ^= x >> 33;
            return size_t(x);
        }
    };

    NameOf m_nameOf;
    std::vector<Slot> m_slots;
    size_t m_mask = 0;
};

}  // namespace names
