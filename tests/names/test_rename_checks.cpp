// The checks of each line against the rename that they foretell.
#include "names/NameList.h"
#include "names/RenameChecks.h"

#include "support/TestSupport.h"

#include <QRandomGenerator>
#include <QSet>

#include <gtest/gtest.h>

using namespace names;
using testsupport::TempTree;
using testsupport::crlf;

namespace {

constexpr ListingOptions kFiles{false, false};

QSet<int> refusedLines(const QList<LineMark>& marks)
{
    QSet<int> lines;
    for (const LineMark& m : marks)
        if (isRefusal(m))
            lines.insert(int(m.line + 1));
    return lines;
}

QStringList described(const QList<LineMark>& marks)
{
    QStringList out;
    for (const LineMark& m : marks)
        out << QStringLiteral("%1 %2 %3 %4 %5 %6")
                   .arg(m.line)
                   .arg(int(m.issue))
                   .arg(m.column)
                   .arg(m.otherLine)
                   .arg(m.count)
                   .arg(int(m.refusal.reason));
    return out;
}

}  // namespace

// Generated name texts over a real directory: every entry the rename leaves as it is was marked as
// refused beforehand, and every line marked so was left as it is.
TEST(RenameChecks, TheRenameRefusesExactlyTheLinesMarkedAsRefused)
{
    const QStringList files = {"a.mp3", "b.mp3", "c.txt", "d", "e.jpeg", "f.mp3", "g.wav", "h.mp3"};
    const QString longName = QString(130, QChar(0xE4));  // 260 bytes
    const QStringList pool = {"a", "b", "c", "c.txt", "d", "x", "x.mp3", "y", "Cover.jpg", "Cover", ".hid", "peldra.exe",
                              longName, "", "   ", " x ", "f", "g.wav", "h.mp3", "e.jpeg", "A"};
    QRandomGenerator random(20261207);
    int refusedSeen = 0;
    for (int round = 0; round < 60; ++round) {
        TempTree dir(files);
        dir.add("Cover.jpg/");  // a folder the list of files leaves out
        dir.add(".hidden");
        const TempTree journals;
        NameList list(journals.path());
        list.setStartPath(dir.path());
        list.scan(kFiles);
        list.setModified(true);
        QStringList lines;
        for (qsizetype i = 0; i < files.size(); ++i)
            lines << pool.at(random.bounded(int(pool.size())));
        const QString text = crlf(lines);
        const QSet<int> marked = refusedLines(checkLines(list.renameContext(), text));

        const RenameOutcome outcome = list.rename(text, kFiles);
        ASSERT_EQ(outcome.stopped, RenameStop::None);
        QSet<int> refused;
        for (const RenameProblem& p : outcome.failed)
            refused.insert(p.line);
        EXPECT_EQ(refused, marked) << lines.join(QLatin1Char('|')).toStdString();
        refusedSeen += int(refused.size());
    }
    EXPECT_GT(refusedSeen, 60);  // the texts did reach the refusals
}

TEST(RenameChecks, SlicesFindWhatOneRunFinds)
{
    RenameContext context;
    QStringList lines;
    for (int i = 0; i < 5000; ++i) {
        context.names.append(QStringLiteral("n%1.mp3").arg(i));
        lines << (i % 97 == 0 ? QStringLiteral("dup") : i % 89 == 0 ? QStringLiteral("n%1").arg(i + 1)
                              : i % 83 == 0 ? QStringLiteral("bad?") : QStringLiteral("m%1").arg(i));
    }
    context.otherNames = {QStringLiteral("m7.mp3")};
    const QString text = crlf(lines);
    const QList<LineMark> whole = checkLines(context, text);

    // One checker serves check after check, finished or dropped midway: nothing of one may leak into the next.
    NameTextChecker checker(context);
    const QString reversed = crlf(QStringList(lines.crbegin(), lines.crend()));
    checker.start(reversed);
    checker.advance();
    EXPECT_NE(described(checker.marks()), described(whole));
    const QString shorter = crlf(lines.mid(0, 4000));
    checker.start(shorter);
    checker.advance(QDeadlineTimer(0));
    checker.start(text);
    int slices = 1;
    while (!checker.advance(QDeadlineTimer(0)))
        ++slices;
    EXPECT_GT(slices, 5);
    EXPECT_EQ(described(checker.marks()), described(whole));
    EXPECT_GT(whole.size(), 100);
}

TEST(RenameChecks, LineCountsThatDifferMarkTheLinesBeyondOrTheLastLine)
{
    RenameContext context;
    context.names = {"a.mp3", "b.mp3"};
    // With the pairing broken no entry is refused; the other checks still mark.
    QList<LineMark> marks = checkLines(context, crlf({"a", ".x", "a", ""}));
    ASSERT_EQ(marks.size(), 4);
    EXPECT_EQ(marks[0].issue, LineIssue::DuplicateLine);
    EXPECT_EQ(marks[0].otherLine, 2);
    EXPECT_EQ(marks[1].line, 2);
    EXPECT_EQ(marks[2].issue, LineIssue::ExtraLine);
    EXPECT_EQ(marks[3].line, 3);
    EXPECT_EQ(marks[3].count, 2);

    marks = checkLines(context, QStringLiteral("a"));
    ASSERT_EQ(marks.size(), 1);
    EXPECT_EQ(marks[0].issue, LineIssue::MissingLines);
    EXPECT_EQ(marks[0].count, 1);
}

TEST(RenameChecks, LinesSplitAsTheRenameSplitsThem)
{
    // Lone CRs and LFs, "\r\r\n", a CR at the end: the marks fall on the lines the rename reads.
    QRandomGenerator random(7);
    const QString alphabet = QStringLiteral("a?\r\n");
    for (int round = 0; round < 2000; ++round) {
        QString text;
        for (int n = int(random.bounded(12)); n > 0; --n)
            text += alphabet.at(random.bounded(alphabet.size()));
        QStringList expected;
        const QList<QStringView> lines = splitNameLineViews(text, lineCount(text));
        for (qsizetype line = 0; line < lines.size(); ++line) {
            for (qsizetype c = 0; c < lines[line].size(); ++c)
                if (lines[line][c] == QLatin1Char('?'))
                    expected << QStringLiteral("%1:%2").arg(line).arg(c);
            expected << QStringLiteral("%1:extra").arg(line);
        }
        QStringList found;
        for (const LineMark& m : checkLines(RenameContext{}, text)) {
            if (m.issue == LineIssue::InvalidCharacter)
                found << QStringLiteral("%1:%2").arg(m.line).arg(m.column);
            else if (m.issue == LineIssue::ExtraLine)
                found << QStringLiteral("%1:extra").arg(m.line);
        }
        ASSERT_EQ(found, expected) << text.toStdString();
    }
}
