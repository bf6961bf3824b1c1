#pragma once
// Slow, step-by-step transcriptions of the name text procedures (1-based positions, the whole text rebuilt
// at every step), the fast code's reference on generated texts (UTF-16 units, BMP input).
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <random>

namespace oracle {

inline const QString kEmoji = QString::fromUcs4(U"\U0001F600");

// Fixed seed everywhere, so a failure repeats.
inline std::mt19937& rng()
{
    static std::mt19937 gen(20240611u);
    return gen;
}

inline int pick(int lo, int hi)
{
    return std::uniform_int_distribution<int>(lo, hi)(rng());
}

// No half of a surrogate pair anywhere.
inline bool wellFormed(const QString& s)
{
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i].isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate())
            ++i;
        else if (s[i].isSurrogate())
            return false;
    }
    return true;
}

// Up to maxTokens tokens drawn from `tokens`.
inline QString randomText(const QStringList& tokens, int maxTokens)
{
    QString s;
    for (int i = pick(0, maxTokens); i > 0; --i)
        s += tokens[pick(0, int(tokens.size()) - 1)];
    return s;
}

QString replaceText(QString text, QString find, const QString& repl, bool matchCase);

struct Plain {
    QString text;
    qint64 count = 0;
    bool abandoned = false;  // same position found twice: run dropped
    bool guardHit = false;   // loop limit exceeded
};
// The command's replace loop; `abandonOnRepeat` false leaves out that rule.
Plain plainReplace(const QString& text, const QString& find, const QString& repl, bool matchCase,
                   bool abandonOnRepeat);

QString expandMarks(const QString& box);
QString matchSegment(const QString& g, const QString& s, const QString& r, const QString& ph, const QString& h,
                     bool matchCase);
QString replaceWithPlaceholder(QString text, QString s, const QString& r, const QString& ph, bool matchCase);

QString lineWalk(const QString& text, const std::function<QString(const QString&)>& change);
// The three tools that walk the lines with lineWalk.
QString appendToLines(const QString& text, const QString& add, bool left);
QString cutLines(const QString& text, qint64 n, bool left);
QString trimLineBlanks(const QString& text);

struct Mends {
    bool stopAtLastLine = true;
    bool capCut = true;            // cut no more than the line has
    bool searchFromLineStart = true;
    bool followTrimmedStart = true;  // positions follow the blanks Trim took off line 1
};
QString numberLines(const QString& text, qint64 c, bool stopAtLastLine);
bool checkNumbering(const QString& text, qint64 c, Mends mends);
QString removeNumbers(const QString& text, qint64 c, Mends mends);

// nullopt: overflow.
std::optional<QString> capitalise(const QString& text);

}  // namespace oracle
