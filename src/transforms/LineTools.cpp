#include "transforms/LineTools.h"

#include "transforms/CodePoints.h"

#include "transforms/StringOps.h"

#include <QChar>
#include <QStringView>

#include <algorithm>
#include <cstring>
#include <limits>

namespace transforms {

namespace {

constexpr QStringView kCrLf = u"\r\n";




qsizetype skipBlanks(QStringView s, qsizetype i, qsizetype end)
{
    while (i < end && s[i] == u' ')
        ++i;
    return i;
}

void dropTrailingBlanks(QString& s)
{
    qsizetype end = s.size();
    while (end > 0 && s.at(end - 1) == u' ')
        --end;
    s.truncate(end);
}

// Upper-cases the character at unit index i of d[0..n) in place (a whole
// surrogate pair when one starts there), keeping the text's length.
void upperAt(QChar* d, qsizetype n, qsizetype i)
{
    if (i < 0 || i >= n)
        return;
    const char16_t c = d[i].unicode();
    if (c < 0x80) {
        if (c >= u'a' && c <= u'z')
            d[i] = QChar(char16_t(c - 32));
        return;
    }
    if (QChar::isHighSurrogate(c) && i + 1 < n && d[i + 1].isLowSurrogate()) {
        const char32_t cp = QChar::surrogateToUcs4(d[i], d[i + 1]);
        const char32_t up = QChar::toUpper(cp);
        if (up != cp && QChar::requiresSurrogates(up)) {
            d[i] = QChar(QChar::highSurrogate(up));
            d[i + 1] = QChar(QChar::lowSurrogate(up));
        }
        return;
    }
    if (QChar::isSurrogate(c))
        return;
    const char32_t up = QChar::toUpper(char32_t(c));
    if (up != c && !QChar::requiresSurrogates(up) && !QChar::isSurrogate(up))
        d[i] = QChar(char16_t(up));
}

// Upper case of one UTF-16 unit for comparing with ASCII text; surrogates
// stay as they are (no pair has an ASCII upper case).
char16_t folded(QChar ch)
{
    const char16_t c = ch.unicode();
    if (c < 0x80)
        return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c;
    if (QChar::isSurrogate(c))
        return c;
    const char32_t up = QChar::toUpper(char32_t(c));
    return QChar::requiresSurrogates(up) || QChar::isSurrogate(up) ? c : char16_t(up);
}

// The lines of a walk, written one after another into one buffer sized up front: a call per piece costs
// no more than its copy. It grows only when the pieces turn out longer than counted.
class LineWriter {
public:
    explicit LineWriter(qsizetype capacity) : m_text(capacity, Qt::Uninitialized), m_data(m_text.data()) {}

    void append(QStringView part)
    {
        if (part.isEmpty())
            return;  // an empty view may have no data at all
        if (m_text.size() - m_used < part.size()) {
            m_text.resize(std::max(m_text.size() * 2, m_used + part.size()));
            m_data = m_text.data();
        }
        std::memcpy(m_data + m_used, part.data(), size_t(part.size()) * sizeof(QChar));
        m_used += part.size();
    }

    QString take()
    {
        m_text.truncate(m_used);
        return std::move(m_text);
    }

private:
    QString m_text;
    QChar* m_data;
    qsizetype m_used = 0;
};

// The shared line walk: a line ends at a CR, and the character after the CR
// (normally the LF) is skipped. The last character of the text always ends
// the last line, so a text ending in CR LF has a further, empty line, and a
// text ending in a lone CR keeps that CR in its last line. Lines are joined
// with CR LF. The skipped character is still looked at, so "\r\r" yields an
// empty line in between. A surrogate pair after a lone CR is skipped whole.
template <typename LineFn>
QString walkLines(const QString& text, qsizetype extra, LineFn&& lineFn)
{
    const QStringView t(text);
    const qsizetype n = t.size();
    if (n == 0)
        return text;
    LineWriter out(n + extra);
    qsizetype start = 0;
    qsizetype scan = 0;
    for (bool first = true;; first = false) {
        const qsizetype cr = t.indexOf(u'\r', scan);
        const qsizetype at = cr < 0 ? n - 1 : cr;
        if (!first)
            out.append(kCrLf);
        if (at == n - 1) {
            lineFn(out, t.mid(std::min(start, n)));
            break;
        }
        lineFn(out, start < at ? t.mid(start, at - start) : QStringView());
        start = at + (codepoints::pairAt(t, at + 1) ? 3 : 2);
        scan = at + 1;
    }
    return out.take();
}

void appendNumberText(QString& out, qint64 k, qint64 c)
{
    // Two digits, or three when the list has 100 entries or more; larger numbers are not padded.
    if (k < 100 && numberWidth(c) == 4)
        out.append(u'0');
    if (k < 10)
        out.append(u'0');
    char16_t digits[24];
    int len = 0;
    quint64 v = k < 0 ? quint64(0) - quint64(k) : quint64(k);
    do {
        digits[len++] = char16_t(u'0' + v % 10);
        v /= 10;
    } while (v != 0);
    if (k < 0)
        out.append(u'-');
    while (len > 0)
        out.append(QChar(digits[--len]));
    out.append(u'-');
}

}  // namespace

qsizetype numberWidth(qint64 c)
{
    constexpr qint64 kThreeDigitsFrom = 100;
    return c >= kThreeDigitsFrom ? 4 : 3;
}

QString appendToLines(const QString& text, const QString& add, bool left)
{
    if (add.isEmpty())
        return text;
    const qsizetype lines = text.count(u'\r') + 1;
    return walkLines(text, lines * (add.size() + 2), [&](LineWriter& out, QStringView line) {
        if (left) {
            out.append(add);
            out.append(line);
        } else {
            out.append(line);
            out.append(add);
        }
    });
}

std::optional<qint64> parseCutCount(const QString& s)
{
    const QString t = s.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+'))
        negative = t[i++] == u'-';
    qint64 whole = 0;
    bool anyDigit = false;
    for (; i < t.size() && t[i].isDigit() && t[i].unicode() < 0x80; ++i) {
        anyDigit = true;
        const int d = t[i].unicode() - u'0';
        whole = whole > (std::numeric_limits<qint64>::max() - d) / 10 ? std::numeric_limits<qint64>::max()
                                                                       : whole * 10 + d;
    }
    // Either separator is taken, whatever the locale: users type both.
    if (i < t.size() && (t[i] == u',' || t[i] == u'.')) {
        for (++i; i < t.size() && t[i].isDigit() && t[i].unicode() < 0x80; ++i)
            anyDigit = true;
    }
    if (!anyDigit || i != t.size() || negative || whole < 1)
        return std::nullopt;
    return whole;  // the fraction is dropped: rounded down
}

QString cutLines(const QString& text, qint64 n, bool fromLeft)
{
    if (n <= 0)
        return text;
    return walkLines(text, 0, [&](LineWriter& out, QStringView line) {
        if (line.size() <= n) {
            out.append(line);
        } else if (fromLeft) {
            const qsizetype cut = codepoints::advance(line, 0, n);
            out.append(cut == line.size() ? line : line.mid(cut));
        } else {
            const qsizetype keep = codepoints::retreat(line, line.size(), n);
            out.append(keep == 0 ? line : line.left(keep));
        }
    });
}

QString trimLineBlanks(const QString& text)
{
    return walkLines(text, 0, [](LineWriter& out, QStringView line) {
        qsizetype b = 0;
        qsizetype e = line.size();
        while (b < e && line[b] == u' ')
            ++b;
        while (e > b && line[e - 1] == u' ')
            --e;
        out.append(line.mid(b, e - b));
    });
}

QString numberText(qint64 k, qint64 c)
{
    QString s;
    appendNumberText(s, k, c);
    return s;
}

QString numberLines(const QString& text, qint64 c, const std::function<void(qint64, qint64)>& progress)
{
    const QStringView t(text);
    const qint64 lines = std::min<qint64>(std::max<qint64>(c, 1), text.count(u'\n') + 1);
    QString out;
    out.reserve(text.size() + lines * (numberWidth(c) + 2));
    appendNumberText(out, 1, c);

    qsizetype lineEnd = c > 1 ? t.indexOf(kCrLf) : -1;
    if (lineEnd < 0) {
        out.append(t);
        return out;
    }
    out.append(t.left(lineEnd));
    qsizetype rest = 0;
    for (qint64 k = 2;; ++k) {
        if (progress)
            progress(k - 1, c);
        out.append(kCrLf);
        appendNumberText(out, k, c);
        const qsizetype lineStart = skipBlanks(t, lineEnd + 2, t.size());
        const qsizetype next = k < c ? t.indexOf(kCrLf, lineStart) : -1;
        if (next < 0) {
            // Line c, or the last line when there are fewer: the rest stays.
            rest = lineStart;
            break;
        }
        out.append(t.mid(lineStart, next - lineStart));
        lineEnd = next;
    }
    out.append(t.mid(rest));
    dropTrailingBlanks(out);
    return out;
}

bool numberingLooksRight(const QString& text, qint64 c)
{
    const QStringView t(text);
    const qsizetype width = numberWidth(c);
    qsizetype from = 0;
    for (qint64 k = 2; k <= c; ++k) {
        const qsizetype cr = t.indexOf(kCrLf, from);
        if (cr < 0)
            return true;
        const qsizetype dash = cr + 1 + width;
        if (dash >= t.size() || t[dash] != u'-')
            return false;
        // The next line break is looked for right behind this one, so a line
        // holding nothing but its number does not hide the next line.
        from = cr + 2;
    }
    return true;
}

QString removeNumbers(const QString& text, qint64 c, const std::function<void(qint64, qint64)>& progress)
{
    const QStringView t(text);
    const qsizetype width = numberWidth(c);
    const qsizetype firstBreak = t.indexOf(kCrLf);
    const qsizetype line1End = firstBreak < 0 ? t.size() : firstBreak;
    // Never more than the line's own characters, so no line break is eaten.
    qsizetype from = codepoints::advance(t.left(line1End), 0, width);
    if (c <= 1 || firstBreak < 0)
        return t.mid(from).toString();

    QString out;
    out.reserve(text.size());
    from = skipBlanks(t, from, line1End);
    out.append(t.mid(from, line1End - from));
    qsizetype lineEnd = line1End;
    qsizetype rest = 0;
    for (qint64 k = 2;; ++k) {
        if (progress)
            progress(k - 1, c);
        out.append(kCrLf);
        const qsizetype lineStart = lineEnd + 2;
        const qsizetype next = t.indexOf(kCrLf, lineStart);
        const qsizetype own = next < 0 ? t.size() : next;
        qsizetype cut = lineStart + codepoints::advance(t.mid(lineStart, own - lineStart), 0, width);
        cut = skipBlanks(t, cut, own);
        out.append(t.mid(cut, own - cut));
        if (k == c || next < 0) {
            rest = own;
            break;
        }
        lineEnd = next;
    }
    out.append(t.mid(rest));
    dropTrailingBlanks(out);
    return out;
}

CapitaliseResult capitaliseWords(const QString& text)
{
    QString t = text;
    const qsizetype n = t.size();
    QChar* d = t.data();
    upperAt(d, n, 0);

    // Each separator is searched for in a loop that may run at most
    // length-of-text times; it runs once per occurrence plus once more. So
    // only an empty text, "\r" alone (a CR's search steps over the next
    // character) or a text made of one other separator repeated overflow.
    auto isSeparator = [](char16_t c) {
        switch (c) {
        case u' ': case u'.': case u'-': case u'_': case u'[': case u'<':
        case u';': case u'=': case u'(': case u'&': case u'#':
            return true;
        default:
            return false;
        }
    };
    const bool oneSeparatorOnly =
        n > 0 && isSeparator(t.at(0).unicode()) && std::all_of(t.cbegin(), t.cend(), [&](QChar c) { return c == t.at(0); });
    if (n == 0 || t == QLatin1String("\r") || oneSeparatorOnly)
        return {t, true};

    // Fix-ups that ignore case, each as the replace-all procedure does it:
    // the character after a fixed occurrence is not looked at.
    struct Fix {
        QStringView upper;
        qsizetype nextFrom = 0;
    };
    Fix fixes[] = {{u"\r\nCD"}, {u"\r\n[HB]"}, {u"\r\n[HS]"}, {u"MP3"}, {u"DVD"}};
    auto applyFixes = [&](qsizetype i, char16_t first) {
        for (Fix& fix : fixes) {
            const qsizetype len = fix.upper.size();
            if (fix.upper[0] != first || i < fix.nextFrom || i + len > n)
                continue;
            qsizetype j = 1;
            while (j < len && folded(d[i + j]) == fix.upper[j])
                ++j;
            if (j == len) {
                std::copy(fix.upper.begin(), fix.upper.end(), d + i);
                fix.nextFrom = i + len + 1;
            }
        }
    };

    // One pass does what a pass per separator followed by the fix-ups does:
    // upper-casing never makes or changes a separator, upper-casing twice
    // gives what upper-casing once gives, and every fix-up writes the upper
    // case of what it finds, so the upper-case form of the text, which the
    // fix-ups search, never changes and the order of the writes is free.
    qsizetype nextCr = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = d[i].unicode();
        if (c == u'\r') {
            // After CR the LF is stepped over; a CR right behind is not seen.
            if (i >= nextCr) {
                upperAt(d, n, i + 2);
                nextCr = i + 2;
            }
            applyFixes(i, u'\r');
        } else if (isSeparator(c)) {
            upperAt(d, n, i + 1);
        } else if ((c | 0x20) == u'm' || (c | 0x20) == u'd') {
            applyFixes(i, char16_t(c & ~0x20));
        }
    }
    return {t, false};
}

const QList<QPair<QString, QString>>& umlautTable()
{
    static const QList<QPair<QString, QString>> table{
        {QStringLiteral("ä"), QStringLiteral("ae")}, {QStringLiteral("ö"), QStringLiteral("oe")},
        {QStringLiteral("ü"), QStringLiteral("ue")}, {QStringLiteral("ß"), QStringLiteral("ss")},
        {QStringLiteral("Ä"), QStringLiteral("Ae")}, {QStringLiteral("Ö"), QStringLiteral("Oe")},
        {QStringLiteral("Ü"), QStringLiteral("Ue")}, {QStringLiteral("?"), QString()},
        {QStringLiteral("!"), QString()},            {QStringLiteral(","), QStringLiteral("-")},
        {QStringLiteral("#"), QString()},            {QStringLiteral("--"), QStringLiteral("-")},
        {QStringLiteral("__"), QStringLiteral("_")},
    };
    return table;
}

QString addCdPrefix(const QString& boxText, const QStringList& comboEntries, const QString& comboText)
{
    if (boxText.isEmpty())
        return comboText;
    for (const QString& entry : comboEntries) {
        if (!entry.isEmpty() && boxText.contains(entry, Qt::CaseSensitive))
            return ReplaceText(boxText, entry, comboText, false);
    }
    return comboText + boxText;
}

}  // namespace transforms
