#include "names/NameColumn.h"

#include "names/Permute.h"

namespace names {

NameColumn::NameColumn(const QStringList& names)
{
    for (const QString& name : names)
        append(name);
}

NameColumn::Data& NameColumn::own()
{
    if (!m_d) {
        m_d = std::make_shared<Data>();
    } else if (m_d.use_count() > 1) {
        auto copy = std::make_shared<Data>();
        copy->starts = m_d->starts;
        for (size_t b = 0; b < m_d->blocks.size() && b <= m_d->current; ++b) {
            copy->blocks.emplace_back();
            copy->blocks.back().reserve(kBlockUnits);
            copy->blocks.back().assign(m_d->blocks[b].begin(), m_d->blocks[b].end());
        }
        copy->current = m_d->current;
        m_d = std::move(copy);
    }
    return *m_d;
}

char16_t* NameColumn::room(qsizetype units)
{
    Data& d = own();
    auto addBlock = [&d] {
        d.blocks.emplace_back();
        d.blocks.back().reserve(kBlockUnits);
    };
    if (d.blocks.empty()) {
        addBlock();
    } else if (d.blocks[d.current].size() + 1 + size_t(units) > kBlockUnits) {
        if (d.current + 1 == d.blocks.size()) {
            if (d.blocks.size() == kMaxBlocks)
                return nullptr;
            addBlock();
        }
        ++d.current;
    }
    std::vector<char16_t>& block = d.blocks[d.current];
    const size_t offset = block.size();
    block.resize(offset + 1 + size_t(units));
    block[offset] = char16_t(units);
    d.starts.push_back(quint32(d.current << 16 | offset));
    return block.data() + offset + 1;
}

bool NameColumn::append(QStringView name)
{
    char16_t* out = name.size() <= kMaxNameUnits ? room(name.size()) : nullptr;
    if (!out)
        return false;
    std::copy(name.utf16(), name.utf16() + name.size(), out);
    return true;
}

bool NameColumn::appendLatin1(QLatin1StringView name)
{
    char16_t* out = name.size() <= kMaxNameUnits ? room(name.size()) : nullptr;
    if (!out)
        return false;
    for (const char c : name)
        *out++ = char16_t(static_cast<unsigned char>(c));
    return true;
}

void NameColumn::reorder(std::vector<qsizetype> order)
{
    if (m_d)
        permute(own().starts, std::move(order));
}

void NameColumn::clear()
{
    if (!m_d || m_d.use_count() > 1) {
        m_d.reset();
        return;
    }
    m_d->starts.clear();
    for (std::vector<char16_t>& block : m_d->blocks)
        block.clear();
    m_d->current = 0;
}

QStringList NameColumn::toList() const
{
    QStringList list;
    list.reserve(size());
    for (QStringView name : *this)
        list.append(name.toString());
    return list;
}

bool operator==(const NameColumn& a, const NameColumn& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a.at(i) != b.at(i))
            return false;
    return true;
}

}  // namespace names
