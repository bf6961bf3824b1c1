#pragma once
// A set of names, each with a number (a line index), that the rename checks
// fill with 100,000 names at a time. Open addressing over views of strings
// held elsewhere: no node or string is allocated per name, which at that size
// saves a good share of the checks.
#include "names/AsciiNames.h"

#include <QString>
#include <QStringView>

#include <algorithm>
#include <vector>

namespace names {

template <Qt::CaseSensitivity cs>
class NameTable {
public:
    explicit NameTable(qsizetype expected) { reset(expected); }

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

    // Adds `name` with `value` unless it is there; returns the value stored for it. The characters
    // of `name` must outlive the table. Values are indexes: 0 to 2^31 - 2.
    int insert(QStringView name, int value)
    {
        const size_t h = hashOf(name);
        size_t i = h & m_mask;
        for (; m_slots[i].valuePlusOne != 0; i = (i + 1) & m_mask)
            if (m_slots[i].hash == h && equal(m_slots[i].name(), name))
                return m_slots[i].valuePlusOne - 1;
        m_slots[i] = {h, name.data(), int(name.size()), value + 1};
        return value;
    }

    // The value stored for `name`, or -1.
    int value(QStringView name) const
    {
        const size_t h = hashOf(name);
        for (size_t i = h & m_mask; m_slots[i].valuePlusOne != 0; i = (i + 1) & m_mask)
            if (m_slots[i].hash == h && equal(m_slots[i].name(), name))
                return m_slots[i].valuePlusOne - 1;
        return -1;
    }

    bool contains(QStringView name) const { return value(name) >= 0; }

private:
    struct Slot {
        size_t hash = 0;
        const QChar* data = nullptr;
        int size = 0;
        int valuePlusOne = 0;  // 0: free
        QStringView name() const { return QStringView(data, size); }
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

    std::vector<Slot> m_slots;
    size_t m_mask = 0;
};

}  // namespace names
