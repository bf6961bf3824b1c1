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

    // Case-insensitive: the folded characters are hashed in place rather than a folded copy built.
    static size_t hashOf(QStringView s)
    {
        if constexpr (cs == Qt::CaseSensitive) {
            return qHash(s);
        } else {
            size_t h = 14695981039346656037ull;
            for (qsizetype i = 0; i < s.size(); ++i) {
                char32_t c = s[i].unicode();
                if (c < 0x80) {
                    c = foldAscii(char16_t(c));
                } else {
                    if (QChar::isHighSurrogate(c) && i + 1 < s.size() && s[i + 1].isLowSurrogate())
                        c = QChar::surrogateToUcs4(char16_t(c), s[++i].unicode());
                    c = QChar::toCaseFolded(c);
                }
                h = (h ^ c) * 1099511628211ull;
            }
            return h;
        }
    }

    NameOf m_nameOf;
    std::vector<Slot> m_slots;
    size_t m_mask = 0;
};

}  // namespace names
