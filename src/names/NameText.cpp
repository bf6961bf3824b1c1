#include "names/NameText.h"

#include "names/NameRules.h"

#include "names/NameTable.h"

#include <array>

namespace names {

qsizetype lineCount(QStringView text)
{
    return 1 + text.count(kCrLf);
}

QString buildNameText(const NameColumn& entryNames)
{
    // One exact allocation and no temporary strings.
    qsizetype total = entryNames.isEmpty() ? 0 : kCrLf.size() * (entryNames.size() - 1);
    for (QStringView n : entryNames)
        total += displayName(n).size();
    QString text;
    text.reserve(total);
    for (qsizetype i = 0; i < entryNames.size(); ++i) {
        if (i > 0)
            text.append(kCrLf);
        text.append(displayName(entryNames.at(i)));
    }
    return text;
}

NameTextPieces::NameTextPieces(const NameColumn& entryNames, qsizetype units)
    : m_names(entryNames), m_units(units)
{
    m_piece.reserve(units + 512);
}

QStringView NameTextPieces::next()
{
    m_piece.resize(0);  // keeps its room
    while (m_next < m_names.size() && m_piece.size() < m_units) {
        m_piece.append(displayName(m_names.at(m_next)));
        if (++m_next < m_names.size())
            m_piece.append(kCrLf);
    }
    return m_piece;
}

bool isNameText(const NameColumn& entryNames, QStringView text)
{
    constexpr qsizetype kPieceUnits = qsizetype(1) << 16;
    NameTextPieces pieces(entryNames, kPieceUnits);
    qsizetype at = 0;
    for (QStringView piece = pieces.next(); !piece.isEmpty(); piece = pieces.next()) {
        if (text.size() - at < piece.size() || text.sliced(at, piece.size()) != piece)
            return false;
        at += piece.size();
    }
    return at == text.size();
}

std::optional<QString> replaceWholeLine(const QString& text, QStringView line, QStringView replacement)
{
    for (qsizetype start = 0; start <= text.size();) {
        qsizetype end = text.indexOf(kCrLf, start);
        if (end < 0)
            end = text.size();
        if (QStringView(text).mid(start, end - start) == line) {
            QString replaced = text.left(start);
            replaced += replacement;
            replaced += QStringView(text).mid(end);
            return replaced;
        }
        start = end + kCrLf.size();
    }
    return std::nullopt;
}

QString lineAround(QStringView text, qsizetype pos)
{
    qsizetype start = pos;
    while (start > 0 && text.at(start - 1) != QLatin1Char('\r') && text.at(start - 1) != QLatin1Char('\n'))
        --start;
    qsizetype end = pos;
    while (end < text.size() && text.at(end) != QLatin1Char('\r') && text.at(end) != QLatin1Char('\n'))
        ++end;
    return text.mid(start, end - start).toString();
}

bool isInvalidNameCharacter(QChar c)
{
    // All eight are ASCII: a bit each in a mask of the first 128 characters, as every character of every
    // line is asked while the user types.
    static constexpr auto kMask = [] {
        std::array<quint64, 2> mask{};
        for (char16_t invalid : kInvalidNameCharacters)
            mask[invalid / 64] |= quint64(1) << (invalid % 64);
        return mask;
    }();
    const char16_t u = c.unicode();
    return u < 128 && (kMask[u / 64] >> (u % 64) & 1) != 0;
}

InvalidCharacter firstInvalidCharacter(QStringView text)
{
    InvalidCharacter found;
    for (char16_t c : kInvalidNameCharacters) {
        const qsizetype pos = text.indexOf(QChar(c));
        if (pos >= 0) {
            found.line = text.left(pos).count(kCrLf);
            found.lineText = lineAround(text, pos);
            break;
        }
    }
    return found;
}

QStringView duplicateKey(QStringView line)
{
    while (!line.isEmpty() && line.front() == QLatin1Char(' '))
        line = line.mid(1);
    while (!line.isEmpty() && line.back() == QLatin1Char(' '))
        line.chop(1);
    return line;
}

namespace {

// Lines as the duplicate check sees them: split at CR (the character after it skipped), trimmed, blanks dropped.
QList<QStringView> trimmedNonBlankLines(QStringView text)
{
    QList<QStringView> lines;
    qsizetype start = 0;
    auto take = [&](qsizetype end) {
        const QStringView line = duplicateKey(text.mid(start, end - start));
        if (!line.isEmpty())
            lines.append(line);
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('\r')) {
            take(i);
            start = i + 2;
            ++i;
        }
    }
    if (start < text.size())
        take(text.size());
    return lines;
}

}  // namespace

QStringList duplicateCheckLines(QStringView text)
{
    QStringList compared;
    for (QStringView line : trimmedNonBlankLines(text))
        compared.append(line.toString());
    return compared;
}

DuplicateLines findDuplicateLines(QStringView text)
{
    const QList<QStringView> lines = trimmedNonBlankLines(text);
    // The answer is the first line that has an equal line after it, with its first such later line.
    NameTable<Qt::CaseSensitive> firstSeen(lines.size(), [&lines](int k) { return lines.at(k); });
    DuplicateLines found;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const qsizetype first = firstSeen.insert(lines.at(i), int(i));
        if (first != i && (found.first < 0 || first < found.first)) {
            // Only the second occurrence of a line can set the pair: the first k wins, then the first m.
            found.first = first;
            found.second = i;
        }
    }
    if (found.first >= 0)
        found.line = lines.at(found.first).toString();
    return found;
}

}  // namespace names
