#include "transforms/StringOps.h"

#include "transforms/CodePoints.h"

#include <QChar>

#include <algorithm>
#include <vector>

namespace codepoints = transforms::codepoints;

namespace {

// Stands for "no placeholder": never equal to a code point.
constexpr char32_t kNoCodePoint = 0xFFFFFFFFu;


// Code point at unit index i; `units` receives 1 or 2. A lone surrogate is
// its own code point, so every text round-trips unchanged.
char32_t codePointAt(QStringView s, qsizetype i, qsizetype* units)
{
    if (codepoints::pairAt(s, i)) {
        *units = 2;
        return QChar::surrogateToUcs4(s[i], s[i + 1]);
    }
    *units = 1;
    return s[i].unicode();
}



void appendCodePoint(QString& out, char32_t cp)
{
    if (QChar::requiresSurrogates(cp)) {
        out.append(QChar(QChar::highSurrogate(cp)));
        out.append(QChar(QChar::lowSurrogate(cp)));
    } else {
        out.append(QChar(char16_t(cp)));
    }
}

// A case mapping is taken only when it keeps the number of UTF-16 units, so
// positions in a text and its mapped copy always agree.
template <typename Map>
char32_t mapKeepingUnits(char32_t cp, Map map)
{
    if (QChar::isSurrogate(cp))
        return cp;
    const char32_t m = map(cp);
    if (QChar::isSurrogate(m) || QChar::requiresSurrogates(m) != QChar::requiresSurrogates(cp))
        return cp;
    return m;
}

char32_t upperCodePoint(char32_t cp)
{
    if (cp < 0x80)
        return (cp >= 'a' && cp <= 'z') ? cp - 32 : cp;
    return mapKeepingUnits(cp, [](char32_t c) { return QChar::toUpper(c); });
}

char32_t lowerCodePoint(char32_t cp)
{
    if (cp < 0x80)
        return (cp >= 'A' && cp <= 'Z') ? cp + 32 : cp;
    return mapKeepingUnits(cp, [](char32_t c) { return QChar::toLower(c); });
}

template <typename Map>
QString mapSameLength(QStringView s, Map map)
{
    QString out(s.size(), Qt::Uninitialized);
    QChar* d = out.data();
    const qsizetype n = s.size();
    for (qsizetype i = 0; i < n;) {
        qsizetype units = 0;
        const char32_t m = map(codePointAt(s, i, &units));
        if (units == 2) {
            d[i] = QChar(QChar::highSurrogate(m));
            d[i + 1] = QChar(QChar::lowSurrogate(m));
        } else {
            d[i] = QChar(char16_t(m));
        }
        i += units;
    }
    return out;
}

std::vector<char32_t> codePoints(QStringView s)
{
    std::vector<char32_t> cps;
    cps.reserve(size_t(s.size()));
    for (qsizetype i = 0; i < s.size();) {
        qsizetype units = 0;
        cps.push_back(codePointAt(s, i, &units));
        i += units;
    }
    return cps;
}

// Search text, replacement and placeholder of one placeholder run, as code points.
struct Pattern {
    std::vector<char32_t> find;
    std::vector<char32_t> repl;
    char32_t placeholder = kNoCodePoint;
    QString placeholderText;

    Pattern(QStringView f, QStringView r, const QString& ph)
        : find(codePoints(f)), repl(codePoints(r)), placeholderText(ph)
    {
        // Only a single character can stand for one character.
        if (!ph.isEmpty()) {
            qsizetype units = 0;
            const char32_t c = codePointAt(ph, 0, &units);
            if (units == ph.size())
                placeholder = c;
        }
    }
};

// The part of a replacement that reaches past the segment, then the rest of
// `following`, handed character by character to `sink`.
template <typename Sink>
void appendExtension(QStringView following, const Pattern& p, size_t kept, Sink&& sink)
{
    qsizetype taken = 0;
    qsizetype h = 0;
    for (size_t idx = kept; idx < p.repl.size(); ++idx) {
        qsizetype units = 0;
        const bool haveFollowing = h < following.size();
        const char32_t fc = haveFollowing ? codePointAt(following, h, &units) : 0;
        if (p.repl[idx] != p.placeholder) {
            sink(p.repl[idx]);
        } else {
            if (haveFollowing)
                sink(fc);
            ++taken;
        }
        if (haveFollowing)
            h += units;
    }
    for (qsizetype i = codepoints::advance(following, 0, taken); i < following.size();) {
        qsizetype units = 0;
        sink(codePointAt(following, i, &units));
        i += units;
    }
}

// Appends the result of one candidate segment to `out` (see MatchSegment).
void matchSegmentInto(QString& out, QStringView seg, QStringView following, const Pattern& p, bool matchCase)
{
    const size_t m = p.find.size();
    const size_t n = p.repl.size();

    size_t segLen = 0;
    for (qsizetype i = 0; i < seg.size(); ++segLen) {
        qsizetype units = 0;
        char32_t c = codePointAt(seg, i, &units);
        if (!matchCase)
            c = upperCodePoint(c);
        if (segLen >= m || (p.find[segLen] != p.placeholder && p.find[segLen] != c)) {
            out.append(seg);
            out.append(following);
            return;
        }
        i += units;
    }

    // Matched: position by position, the replacement's character or, where
    // it has a placeholder, the segment's own one. Characters beyond the
    // replacement's length are dropped.
    const size_t kept = std::min(segLen, n);
    qsizetype i = 0;
    for (size_t idx = 0; idx < kept; ++idx) {
        qsizetype units = 0;
        const char32_t c = codePointAt(seg, i, &units);
        appendCodePoint(out, p.repl[idx] == p.placeholder ? c : p.repl[idx]);
        i += units;
    }
    if (kept == n) {
        out.append(following);
        return;
    }

    // The replacement reaches past the segment: its placeholders take the
    // following characters by position, and whatever of `following` has not
    // been taken by that count is put back behind. Placeholder characters
    // that came from the text are then dropped the way the replace-all
    // procedure drops them: the character after a dropped one stays.
    if (p.placeholder == kNoCodePoint) {
        QString ext;
        appendExtension(following, p, kept, [&ext](char32_t c) { appendCodePoint(ext, c); });
        out.append(ReplaceText(ext, p.placeholderText, QString(), false));
        return;
    }
    const char32_t dropped = upperCodePoint(p.placeholder);
    bool keepNext = false;
    appendExtension(following, p, kept, [&](char32_t c) {
        if (!keepNext && upperCodePoint(c) == dropped) {
            keepNext = true;
            return;
        }
        keepNext = false;
        appendCodePoint(out, c);
    });
}

// First occurrence of `needle` in `hay` from `from` that starts on a code point.
qsizetype findOnCodePoint(QStringView hay, QStringView needle, qsizetype from)
{
    for (;;) {
        const qsizetype at = hay.indexOf(needle, from);
        if (at <= 0 || !(hay[at].isLowSurrogate() && hay[at - 1].isHighSurrogate()))
            return at;
        from = at + 1;
    }
}

}  // namespace

namespace {

// Replaces every occurrence of find; after each replacement the search resumes `skip` characters behind it.
QString replaceAll(const QString& text, const QString& find, const QString& replacement, bool matchCase, qsizetype skip,
                   qint64* count)
{
    if (find.isEmpty() || text.isEmpty())
        return text;
    const QString needle = matchCase ? find : transforms::upperSameLength(find);
    const QString folded = matchCase ? QString() : transforms::upperSameLength(text);
    const QStringView hay = matchCase ? QStringView(text) : QStringView(folded);

    qsizetype at = hay.indexOf(needle);
    if (at < 0)
        return text;

    const QStringView src(text);
    QString out;
    out.reserve(text.size() + std::max<qsizetype>(0, replacement.size() - find.size()) * 16);
    qsizetype copied = 0;
    while (at >= 0) {
        out.append(src.mid(copied, at - copied));
        out.append(replacement);
        ++*count;
        copied = at + needle.size();
        const qsizetype from = copied + skip;
        if (from >= src.size())
            break;
        at = hay.indexOf(needle, from);
    }
    out.append(src.mid(copied));
    return out;
}

}  // namespace

QString ReplaceText(const QString& text, const QString& find, const QString& replacement, bool matchCase)
{
    // The character right behind a replacement is never the start of the next occurrence; the tools
    // depend on that skip.
    qint64 count = 0;
    return replaceAll(text, find, replacement, matchCase, 1, &count);
}

QString ReplaceWithPlaceholder(const QString& text, const QString& find, const QString& replacement,
                               const QString& placeholder, bool matchCase)
{
    const Pattern pat(matchCase ? find : transforms::upperSameLength(find), replacement, placeholder);
    const qsizetype m = qsizetype(pat.find.size());
    const qsizetype n = qsizetype(pat.repl.size());

    // The anchor is the first run of plain characters; `lead` placeholders
    // come before it. A search text of placeholders only has no anchor and
    // then every position is a candidate.
    qsizetype lead = 0;
    while (lead < m && pat.find[size_t(lead)] == pat.placeholder)
        ++lead;
    QString anchor;
    if (lead == m) {
        lead = 0;
    } else {
        for (qsizetype i = lead; i < m && pat.find[size_t(i)] != pat.placeholder; ++i)
            appendCodePoint(anchor, pat.find[size_t(i)]);
    }
    const qsizetype following = n >= m ? n - m + 1 : 0;

    const QString folded = matchCase ? QString() : transforms::upperSameLength(text);
    const QStringView src(text);
    const QStringView hay = matchCase ? src : QStringView(folded);

    QString out;
    out.reserve(text.size() + 16);
    qsizetype emitted = 0;
    qsizetype cur = codepoints::advance(src, 0, lead);
    while (cur < src.size()) {
        const qsizetype at = anchor.isEmpty() ? cur : findOnCodePoint(hay, anchor, cur);
        if (at < 0)
            break;
        const qsizetype start = std::max(emitted, codepoints::retreat(src, at, lead));
        const qsizetype segEnd = codepoints::advance(src, start, m);
        const qsizetype followEnd = codepoints::advance(src, segEnd, following);
        out.append(src.mid(emitted, start - emitted));
        matchSegmentInto(out, src.mid(start, segEnd - start), src.mid(segEnd, followEnd - segEnd), pat, matchCase);
        emitted = followEnd;
        // Whether or not the segment matched, the next search starts one
        // character behind the point the anchor's offset reaches past the
        // rewritten stretch, so nothing inserted is ever searched again.
        cur = codepoints::advance(src, followEnd, lead + 1);
    }
    out.append(src.mid(emitted));
    return out;
}

QString MatchSegment(const QString& segment, const QString& find, const QString& replacement,
                     const QString& placeholder, const QString& following, bool matchCase)
{
    QString out;
    matchSegmentInto(out, segment, following, Pattern(find, replacement, placeholder), matchCase);
    return out;
}

namespace transforms {

QString upperSameLength(QStringView s)
{
    return mapSameLength(s, upperCodePoint);
}

QString lowerSameLength(QStringView s)
{
    return mapSameLength(s, lowerCodePoint);
}

QString expandLineBreakMarks(const QString& boxText)
{
    // Both spellings are checked, but the replace ignores case, so either
    // pass converts both; the second would start again from the box text.
    if (boxText.contains(QLatin1String("^P")) || boxText.contains(QLatin1String("^p")))
        return ReplaceText(boxText, QStringLiteral("^P"), QStringLiteral("\r\n"), false);
    return boxText;
}

PlainReplaceResult replaceAllPlain(const QString& text, const QString& find, const QString& replacement,
                                   bool matchCase)
{
    PlainReplaceResult result;
    result.text = replaceAll(text, find, replacement, matchCase, 0, &result.count);
    return result;
}

}  // namespace transforms
