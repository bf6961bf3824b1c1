#pragma once
// The names of a listed directory, their characters packed one after the other in large blocks. A
// million names as a million strings cost about as much again in string headers, the allocator's rounding
// and list slots as their characters do; here a name costs its characters and six bytes.
#include "names/FreedMemory.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <initializer_list>
#include <iterator>
#include <memory>
#include <vector>

namespace names {

class NameColumn {
public:
    NameColumn() = default;
    // Lists made by hand; a scan appends.
    NameColumn(const QStringList& names);
    NameColumn(std::initializer_list<QString> names) : NameColumn(QStringList(names)) {}

    qsizetype size() const { return m_d ? qsizetype(m_d->starts.size()) : 0; }
    bool isEmpty() const { return size() == 0; }
    // Valid while the column (or a copy of it) lives and nothing is appended.
    QStringView at(qsizetype i) const
    {
        const quint32 start = m_d->starts[size_t(i)];
        const char16_t* name = m_d->blocks[start >> 16].data() + (start & 0xffff);
        return QStringView(name + 1, qsizetype(name[0]));
    }
    QStringView operator[](qsizetype i) const { return at(i); }
    QStringView front() const { return at(0); }

    // Names longer than kMaxNameUnits are not taken (no file system has them), nor more than about four
    // thousand million characters in all.
    static constexpr qsizetype kMaxNameUnits = 0xffff;
    bool append(QStringView name);
    // Appends the Latin-1 (here: ASCII) bytes of a name without a string in between.
    bool appendLatin1(QLatin1StringView name);
    // Puts name i = old name order[i] for every i.
    void reorder(std::vector<qsizetype> order);
    // Empties the column. Where no copy shares it, its memory stays for the next names: a column filled
    // anew at every edit would otherwise take fresh pages each time.
    void clear();

    QStringList toList() const;
    friend bool operator==(const NameColumn& a, const NameColumn& b);

    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = QStringView;
        using difference_type = qsizetype;
        using pointer = void;
        using reference = QStringView;
        const_iterator(const NameColumn* column, qsizetype i) : m_column(column), m_i(i) {}
        QStringView operator*() const { return m_column->at(m_i); }
        const_iterator& operator++() { ++m_i; return *this; }
        bool operator==(const const_iterator& other) const { return m_i == other.m_i; }

    private:
        const NameColumn* m_column;
        qsizetype m_i;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

private:
    // A name is its length followed by its characters, and never spans two blocks.
    static constexpr size_t kBlockUnits = size_t(1) << 16;
    static constexpr size_t kMaxBlocks = size_t(1) << 16;
    struct Data {
        std::vector<std::vector<char16_t>> blocks;  // each reserved once: its characters never move
        size_t current = 0;  // the block names are appended to; those after it are empty, kept by clear()
        // Where each name starts: its block times 2^16 plus its place in the block. In memory of its
        // own: as it doubles while a scan reads, the heap would keep the room it outgrew as holes.
        std::vector<quint32, PageAllocator<quint32>> starts;
    };
    Data& own();  // the data of this column alone, copied first while shared
    char16_t* room(qsizetype units);  // null when the column is full

    // Shared between copies: a list is made once by a scan and then only read, by the checks of
    // every edit among others, which take a copy.
    std::shared_ptr<Data> m_d;
};

}  // namespace names
