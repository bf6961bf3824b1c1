#include "oracle.h"

#include "transforms/StringOps.h"

namespace oracle {
namespace {

QString U(const QString& s) { return transforms::upperSameLength(s); }

// T[a .. b], empty when the range is empty or outside the text.
QString mid(const QString& t, qsizetype a, qsizetype b)
{
    a = std::max<qsizetype>(a, 1);
    b = std::min<qsizetype>(b, t.size());
    return b < a ? QString() : t.mid(a - 1, b - a + 1);
}

QString from(const QString& t, qsizetype a) { return mid(t, a, t.size()); }
QString ch(const QString& t, qsizetype i) { return mid(t, i, i); }

// Position of needle in hay from start, 0 when none; an empty needle is
// found at start while start lies inside the text.
qsizetype inStr(qsizetype start, const QString& hay, const QString& needle)
{
    if (start < 1 || start > hay.size())
        return 0;
    if (needle.isEmpty())
        return start;
    return hay.indexOf(needle, start - 1) + 1;
}

QString trim(const QString& s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && s[b] == u' ')
        ++b;
    while (e > b && s[e - 1] == u' ')
        --e;
    return s.mid(b, e - b);
}

QString numberText(qint64 k, qint64 c)
{
    QString s = QString::number(k) + u'-';
    if (k < 10)
        s = u'0' + s;
    if (k < 100 && c > 99)
        s = u'0' + s;
    return s;
}

}  // namespace

QString replaceText(QString t, QString find, const QString& repl, bool matchCase)
{
    if (!matchCase)
        find = U(find);
    QString v = matchCase ? t : U(t);
    qsizetype pos = inStr(1, v, find);
    if (pos == 0)
        return t;
    for (;;) {
        t = mid(t, 1, pos - 1) + repl + from(t, pos + find.size());
        v = matchCase ? t : U(t);
        pos = pos + repl.size() + 1;
        if (pos > t.size() || inStr(pos, v, find) == 0)
            return t;
        pos = inStr(pos, v, find);
    }
}

Plain plainReplace(const QString& text, const QString& s, const QString& r, bool matchCase, bool abandonOnRepeat)
{
    Plain res;
    QString w = text;
    const qint64 limit = qint64(w.size()) * std::max(s.size(), r.size());
    qint64 searches = 0;
    qsizetype last = 0, pos = 1;
    for (;;) {
        if (searches > limit) {
            res.guardHit = true;
            break;
        }
        ++searches;
        pos = inStr(pos, matchCase ? w : U(w), matchCase ? s : U(s));
        if (pos == 0)
            break;
        if (pos == last && abandonOnRepeat) {
            res.abandoned = true;
            res.text = text;
            return res;
        }
        last = pos;
        ++res.count;
        w = mid(w, 1, pos - 1) + r + from(w, pos + s.size());
        pos += r.size();
    }
    res.text = w;
    return res;
}

QString expandMarks(const QString& box)
{
    QString s = box;
    if (box.contains(QLatin1String("^P")))
        s = replaceText(box, QStringLiteral("^P"), QStringLiteral("\r\n"), false);
    if (box.contains(QLatin1String("^p")))
        s = replaceText(box, QStringLiteral("^p"), QStringLiteral("\r\n"), false);
    return s;
}

QString matchSegment(const QString& g, const QString& s, const QString& r, const QString& ph, const QString& h,
                     bool matchCase)
{
    const QString gu = matchCase ? g : U(g);
    const qsizetype n = r.size();
    QString out;
    for (qsizetype i = 1; i <= g.size(); ++i) {
        if (ch(s, i) != ph && ch(s, i) != ch(gu, i))
            return g + h;
        if (i <= n)
            out += ch(r, i) == ph ? ch(g, i) : ch(r, i);
    }
    if (out.size() >= n)
        return out + h;
    QString ext;
    qsizetype taken = 0;
    const qsizetype lo = out.size();
    for (qsizetype p = 1; p <= n - lo; ++p) {
        const QString c = ch(r, lo + p);
        if (c != ph) {
            ext += c;
        } else {
            ext += ch(h, p);
            ++taken;
        }
    }
    if (taken < h.size())
        ext += from(h, taken + 1);
    return out + replaceText(ext, ph, QString(), false);
}

QString replaceWithPlaceholder(QString t, QString s, const QString& r, const QString& ph, bool matchCase)
{
    if (!matchCase)
        s = U(s);
    QString v = matchCase ? t : U(t);
    const qsizetype m = s.size(), n = r.size();
    qsizetype k = 0;
    while (k < m && ch(s, k + 1) == ph)
        ++k;
    QString a;
    if (k == m)
        k = 0;
    else
        for (qsizetype i = k + 1; i <= m && ch(s, i) != ph; ++i)
            a += ch(s, i);
    const qsizetype q = n >= m ? n - m + 1 : 0;
    qsizetype pos = k + 1;
    for (;;) {
        pos = inStr(pos, v, a);
        if (pos == 0)
            return t;
        const qsizetype start = pos - k;
        const QString g = mid(t, start, start + m - 1);
        const QString h = mid(t, start + g.size(), start + g.size() + q - 1);
        const QString res = matchSegment(g, s, r, ph, h, matchCase);
        t = mid(t, 1, start - 1) + res + from(t, start + m + h.size());
        v = matchCase ? t : U(t);
        pos = pos + res.size() + 1;
        if (pos > t.size())
            return t;
    }
}

QString lineWalk(const QString& t, const std::function<QString(const QString&)>& change)
{
    QString r;
    qsizetype start = 0;
    for (qsizetype i = 1; i <= t.size(); ++i) {
        if (ch(t, i) == QLatin1String("\r") || i == t.size()) {
            QString line = mid(t, start + 1, i - 1);
            if (i == t.size())
                line = from(t, start + 1);
            r += change(line) + QLatin1String("\r\n");
            start = i + 1;
        }
    }
    return mid(r, 1, r.size() - 2);
}

QString appendToLines(const QString& text, const QString& add, bool left)
{
    return lineWalk(text, [&](const QString& l) { return left ? add + l : l + add; });
}

QString cutLines(const QString& text, qint64 n, bool left)
{
    return lineWalk(text, [&](const QString& l) { return l.size() <= n ? l : left ? l.mid(n) : l.left(l.size() - n); });
}

QString trimLineBlanks(const QString& text)
{
    return lineWalk(text, [](QString l) {
        while (l.startsWith(u' '))
            l.remove(0, 1);
        while (l.endsWith(u' '))
            l.chop(1);
        return l;
    });
}

QString numberLines(const QString& text, qint64 c, bool stopAtLastLine)
{
    QString t = QLatin1String("01-") + text;
    if (c > 99)
        t = u'0' + t;
    qsizetype pos = 1;
    for (qint64 i = 1; i <= c - 1; ++i) {
        pos = inStr(pos, t, QStringLiteral("\r\n"));
        if (pos == 0 && stopAtLastLine)
            break;
        t = trim(mid(t, 1, pos + 1)) + numberText(i + 1, c) + trim(from(t, pos + 2));
        pos += 2;
    }
    return t;
}

bool checkNumbering(const QString& t, qint64 c, Mends mends)
{
    const qsizetype n = c > 99 ? 4 : 3;
    qsizetype pos = 1;
    for (qint64 i = 1; i <= c - 1; ++i) {
        pos = inStr(pos, t, QStringLiteral("\r\n"));
        if (pos == 0 && mends.stopAtLastLine)
            return true;
        if (ch(t, pos + 1 + n) != QLatin1String("-"))
            return false;
        pos += mends.searchFromLineStart ? 2 : 6;
    }
    return true;
}

QString removeNumbers(const QString& text, qint64 c, Mends mends)
{
    const qsizetype n = c > 99 ? 4 : 3;
    auto cutAt = [&](const QString& t, qsizetype lineStart) {
        if (!mends.capCut)
            return lineStart + n;
        qsizetype end = inStr(lineStart, t, QStringLiteral("\r\n"));
        if (end == 0)
            end = t.size() + 1;
        return lineStart + std::min(n, end - lineStart);
    };
    QString t = from(text, cutAt(text, 1));
    qsizetype pos = 1;
    for (qint64 i = 1; i <= c - 1; ++i) {
        pos = inStr(pos, t, QStringLiteral("\r\n"));
        if (pos == 0 && mends.stopAtLastLine)
            break;
        const QString head = mid(t, 1, pos + 1), trimmedHead = trim(head);
        t = trimmedHead + trim(from(t, cutAt(t, pos + 2)));
        if (mends.followTrimmedStart)
            pos -= head.size() - trimmedHead.size();
        pos += mends.searchFromLineStart ? 2 : 3;
    }
    return t;
}

std::optional<QString> capitalise(const QString& text)
{
    QString t = text;
    if (!t.isEmpty())
        t = U(ch(t, 1)) + from(t, 2);
    const char* seps[] = {"\r", " ", ".", "-", "_", "[", "<", ";", "=", "(", "&", "<", "#", "\r"};
    for (const char* sep : seps) {
        const QString c = QLatin1String(sep);
        qsizetype p = 1;
        for (qsizetype k = 1;; ++k) {
            if (k > t.size())
                return std::nullopt;
            qsizetype f = inStr(p, t, c);
            if (f == 0)
                break;
            if (c == QLatin1String("\r"))
                ++f;
            p = f + 1;
            t = mid(t, 1, f) + U(ch(t, f + 1)) + from(t, f + 2);
        }
    }
    t = replaceText(t, QStringLiteral("\r\nCd"), QStringLiteral("\r\nCD"), false);
    t = replaceText(t, QStringLiteral("\r\n[Hb]"), QStringLiteral("\r\n[HB]"), false);
    t = replaceText(t, QStringLiteral("\r\n[Hs]"), QStringLiteral("\r\n[HS]"), false);
    t = replaceText(t, QStringLiteral("Mp3"), QStringLiteral("MP3"), false);
    return replaceText(t, QStringLiteral("Dvd"), QStringLiteral("DVD"), false);
}

}  // namespace oracle
