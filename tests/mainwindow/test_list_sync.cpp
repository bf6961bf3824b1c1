#include "mainwindow/ListSync.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFocusEvent>
#include <QListWidget>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <vector>

using listsync::lineAt;
using listsync::lineSpan;
using listsync::Span;

namespace listsync {
static void PrintTo(const Span& s, std::ostream* os) { *os << '{' << s.start << ',' << s.length << '}'; }
}  // namespace listsync

namespace {

// Literal transcriptions of the two scans, 1-based positions and all, as the reference.
qsizetype oracleLineAt(const QString& text, qsizetype s)
{
    qsizetype p = 1;
    qsizetype n = 0;
    while (p > 0) {
        const qsizetype found = text.indexOf(QLatin1Char('\r'), p - 1);
        p = found < 0 ? 0 : found + 1;
        if (p != 0)
            p += 1;
        n += 1;
        if (p > s)
            return n - 1;
    }
    return n - 1;
}

Span oracleLineSpan(const QString& text, qsizetype k)
{
    const qsizetype L = text.size();
    qsizetype start = 0;
    qsizetype end = L;
    qsizetype c = 0;
    if (k == 0)
        start = 1;
    for (qsizetype i = 1; i <= L; ++i) {
        if (text.at(i - 1) == QLatin1Char('\r')) {
            c += 1;
            if (start > 0) {
                end = i - 1;
                break;
            }
            if (k == c)
                start = i + 1;
        }
    }
    if (k == 0)
        start = 0;
    return {start, end - start};
}

TEST(LineAt, CursorAroundALineEnd)
{
    const QString text = QStringLiteral("ab\r\ncd");
    EXPECT_EQ(lineAt(text, 0), 0);
    EXPECT_EQ(lineAt(text, 1), 0);
    EXPECT_EQ(lineAt(text, 2), 0);  // directly before the CR
    EXPECT_EQ(lineAt(text, 3), 0);  // between CR and LF
    EXPECT_EQ(lineAt(text, 4), 1);  // directly after the LF
    EXPECT_EQ(lineAt(text, 6), 1);  // end of the last line
    EXPECT_EQ(lineAt(text, 99), 1);
    EXPECT_EQ(lineAt(QString(), 0), 0);
    EXPECT_EQ(lineAt(QStringLiteral("\r\n\r\n"), 4), 2);  // empty last line
    EXPECT_EQ(lineAt(QStringLiteral("\r\n\r\n"), 2), 1);
}

TEST(LineSpan, SelectsTheLineWithoutItsEnd)
{
    const QString text = QStringLiteral("ab\r\ncd\r\nef");
    EXPECT_EQ(lineSpan(text, 0), (Span{0, 2}));
    EXPECT_EQ(lineSpan(text, 1), (Span{4, 2}));
    EXPECT_EQ(lineSpan(text, 2), (Span{8, 2}));
    EXPECT_EQ(lineSpan(text, 3), (Span{0, 10}));  // past the last line: the whole text
    EXPECT_EQ(lineSpan(QStringLiteral("single"), 0), (Span{0, 6}));
    EXPECT_EQ(lineSpan(QString(), 0), (Span{0, 0}));
    EXPECT_EQ(lineSpan(QStringLiteral("ab\r\n"), 1), (Span{4, 0}));
}

TEST(LineModel, AgreesWithTheLiteralScansOnGeneratedTexts)
{
    QRandomGenerator rng(20261207);
    const QStringList pieces{QStringLiteral("a"), QStringLiteral("\u00fc"), QStringLiteral(" "), QStringLiteral("\r\n")};
    for (int round = 0; round < 400; ++round) {
        QString text;
        const int length = rng.bounded(12);
        for (int i = 0; i < length; ++i)
            text += pieces.at(rng.bounded(pieces.size()));
        for (qsizetype s = 0; s <= text.size() + 1; ++s)
            ASSERT_EQ(lineAt(text, s), oracleLineAt(text, s)) << text.toStdString() << " at " << s;
        for (qsizetype k = 0; k <= 6; ++k)
            ASSERT_EQ(lineSpan(text, k), oracleLineSpan(text, k)) << text.toStdString() << " line " << k;
    }
}

// A name text and a list, as the sync sees them.
struct Fakes {
    QString text;
    qsizetype cursor = 0;
    Span selection;
    int focusTaken = 0;
    std::vector<qsizetype> lineStarts;  // set for the editor's own line index
    int rows = 0;
    int selectedRow = -1;
    int rowSelections = 0;

    listsync::Editor editor()
    {
        listsync::Editor e;
        e.cursorPosition = [this] { return cursor; };
        if (!lineStarts.empty())
            e.lineOfPosition = [this](qsizetype position) {
                // The line whose start is the last one at or before the position.
                return qsizetype(std::upper_bound(lineStarts.begin(), lineStarts.end(), position) - lineStarts.begin()) - 1;
            };
        e.text = [this] { return text; };
        e.setSelection = [this](qsizetype start, qsizetype length) {
            selection = {start, length};
            cursor = start + length;
        };
        e.takeFocus = [this] { ++focusTaken; };
        return e;
    }
    listsync::List list()
    {
        return {[this] { return rows; }, [this](int row) {
                    selectedRow = row;
                    ++rowSelections;
                }};
    }
};

void sendFocus(QObject* target, QEvent::Type type)
{
    QFocusEvent e(type, Qt::MouseFocusReason);
    QCoreApplication::sendEvent(target, &e);
}

TEST(ListSync, ListFollowsTheCursorOnlyWhenItMoved)
{
    Fakes f;
    f.text = QStringLiteral("ab\r\ncd\r\nef");
    f.rows = 3;
    listsync::ListSync sync(f.editor(), f.list());

    sync.textToList();  // cursor still at 0, where the last step left it
    EXPECT_EQ(f.rowSelections, 0);
    f.cursor = 5;
    sync.textToList();
    EXPECT_EQ(f.selectedRow, 1);
    sync.textToList();
    EXPECT_EQ(f.rowSelections, 1);
    f.cursor = 0;
    sync.textToList();
    EXPECT_EQ(f.selectedRow, 0);

    sync.setDisabled(true);
    f.cursor = 9;
    sync.textToList();
    EXPECT_EQ(f.selectedRow, 0);
}

TEST(ListSync, SurplusLineKeepsTheListSelection)
{
    QListWidget list;
    list.addItems({QStringLiteral("a.txt"), QStringLiteral("b.txt")});
    list.setCurrentRow(1);
    Fakes f;
    f.text = QStringLiteral("a\r\nb\r\nsurplus");
    listsync::ListSync sync(f.editor(), {[&] { return list.count(); }, [&](int row) { list.setCurrentRow(row); }});

    f.cursor = 7;  // on the third line; the list has two entries
    sync.textToList();
    EXPECT_EQ(list.currentRow(), 1);
    EXPECT_EQ(list.selectedItems().size(), 1);
    f.cursor = 1;
    sync.textToList();
    EXPECT_EQ(list.currentRow(), 0);

    list.clear();
    f.cursor = 4;
    sync.textToList();  // an empty list is left alone as well
    EXPECT_EQ(list.currentRow(), -1);
}

TEST(ListSync, PollRunsWhileTheNameTextHasTheFocus)
{
    Fakes f;
    f.text = QStringLiteral("ab\r\ncd");
    f.rows = 2;
    listsync::ListSync sync(f.editor(), f.list());
    EXPECT_FALSE(sync.polling());
    sync.editorFocusIn();
    EXPECT_TRUE(sync.polling());
    f.cursor = 4;
    QTRY_COMPARE_WITH_TIMEOUT(f.selectedRow, 1, 3 * listsync::ListSync::kPollMs);
    sync.editorFocusOut();
    EXPECT_FALSE(sync.polling());
    f.cursor = 1;
    QTest::qWait(listsync::ListSync::kPollMs + 100);
    EXPECT_EQ(f.selectedRow, 1);
    EXPECT_EQ(sync.lastSelStart(), 4);  // kept while stopped
}

TEST(ListSync, ChoosingAnEntrySelectsItsLineOnlyFromAFocusedList)
{
    QObject list;
    Fakes f;
    f.text = QStringLiteral("ab\r\ncd\r\nef");
    f.rows = 3;
    listsync::ListSync sync(f.editor(), f.list());
    sync.watchListFocus(&list);

    sync.listToText(1);  // the program's own selection: the list does not have the focus
    EXPECT_EQ(f.focusTaken, 0);

    sendFocus(&list, QEvent::FocusIn);
    EXPECT_TRUE(sync.listFocused());
    sync.listToText(1);
    EXPECT_EQ(f.selection, (Span{4, 2}));
    EXPECT_EQ(f.focusTaken, 1);
    // The next poll selects the same entry again and leaves the text selection as it is.
    sync.textToList();
    EXPECT_EQ(f.selectedRow, 1);
    EXPECT_EQ(f.selection, (Span{4, 2}));

    sync.listToText(7);
    EXPECT_EQ(f.selection, (Span{0, 10}));

    sync.setDisabled(true);
    sync.listToText(0);
    EXPECT_EQ(f.selection, (Span{0, 10}));

    sync.setDisabled(false);
    sendFocus(&list, QEvent::FocusOut);
    sync.listToText(0);
    EXPECT_EQ(f.focusTaken, 2);
}

TEST(ListSync, StepStaysUnderAMillisecondAt100000Lines)
{
    constexpr int kLines = 100000;
    Fakes f;
    QStringList lines;
    for (int i = 0; i < kLines; ++i)
        lines.append(QStringLiteral("Track %1 - some title.mp3").arg(i, 6, 10, QLatin1Char('0')));
    // Line starts as the editor's own index reports them.
    qsizetype at = 0;
    for (const QString& line : lines) {
        f.lineStarts.push_back(at);
        at += line.size() + 2;
    }
    f.text = lines.join(QStringLiteral("\r\n"));
    f.rows = kLines;
    listsync::ListSync sync(f.editor(), f.list());

    constexpr int kSteps = 2000;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < kSteps; ++i) {
        f.cursor = f.lineStarts[size_t((i * 7919) % kLines)] + 3;
        sync.textToList();
    }
    const double perStepMs = double(clock.nsecsElapsed()) / 1e6 / kSteps;
    EXPECT_LT(perStepMs, 1.0);
    EXPECT_EQ(f.rowSelections, kSteps);
    EXPECT_EQ(f.selectedRow, ((kSteps - 1) * 7919) % kLines);
    RecordProperty("microseconds_per_step", int(perStepMs * 1000));
}

TEST(DisableSyncSetting, StoresOneWhenSynchronisationIsOff)
{
    testsupport::SettingsSandbox sandbox;
    EXPECT_FALSE(listsync::loadDisableSync());  // nothing stored
    listsync::storeDisableSync(true);
    EXPECT_EQ(testsupport::setting("SyncListBoxen", "Enabled"), QStringLiteral("1"));
    EXPECT_TRUE(listsync::loadDisableSync());
    listsync::storeDisableSync(false);
    EXPECT_EQ(testsupport::setting("SyncListBoxen", "Enabled"), QStringLiteral("0"));
    EXPECT_FALSE(listsync::loadDisableSync());
    testsupport::store("SyncListBoxen", "Enabled", "yes");
    EXPECT_TRUE(listsync::loadDisableSync());
}

}  // namespace
