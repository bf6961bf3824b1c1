#include "mainwindow/ListSync.h"

#include "support/TestSupport.h"

#include <QFocusEvent>
#include <QListWidget>
#include <QRandomGenerator>

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
        p = found < 0 ? 0 : found + 2;
        n += 1;
        if (p > s)
            return n - 1;
    }
    return n - 1;
}

Span oracleLineSpan(const QString& text, qsizetype k)
{
    const qsizetype L = text.size();
    qsizetype start = k == 0 ? 1 : 0;
    qsizetype end = L;
    qsizetype c = 0;
    for (qsizetype i = 1; i <= L; ++i) {
        if (text.at(i - 1) != QLatin1Char('\r'))
            continue;
        c += 1;
        if (start > 0) {
            end = i - 1;
            break;
        }
        if (k == c)
            start = i + 1;
    }
    if (k == 0)
        start = 0;
    return {start, end - start};
}

TEST(LineModel, AgreesWithTheLiteralScansOnGeneratedTexts)
{
    QRandomGenerator rng(20261207);
    const QStringList pieces{QStringLiteral("a"), QStringLiteral("\u00fc"), QStringLiteral(" "), QStringLiteral("\r\n")};
    for (int round = 0; round < 400; ++round) {
        QString text;  // empty, too; past the last line a line is the whole text
        for (int i = rng.bounded(12); i > 0; --i)
            text += pieces.at(rng.bounded(pieces.size()));
        for (qsizetype s = 0; s <= text.size() + 1; ++s)
            ASSERT_EQ(lineAt(text, s), oracleLineAt(text, s)) << text.toStdString() << " at " << s;
        for (qsizetype k = 0; k <= 6; ++k)
            ASSERT_EQ(lineSpan(text, k), oracleLineSpan(text, k)) << text.toStdString() << " line " << k;
    }
}

// A name text as the sync sees it; the list is a real one.
struct FakeEditor {
    QString text;
    qsizetype cursor = 0;
    Span selection;
    int focusTaken = 0;

    listsync::Editor hooks()
    {
        listsync::Editor e;
        e.cursorPosition = [this] { return cursor; };
        e.text = [this] { return text; };
        e.setSelection = [this](qsizetype start, qsizetype length) {
            selection = {start, length};
            cursor = start + length;
        };
        e.takeFocus = [this] { ++focusTaken; };
        return e;
    }
};

class ListSyncTest : public ::testing::Test {
protected:
    ListSyncTest()
    {
        editor.text = QStringLiteral("ab\r\ncd\r\nsurplus");
        list.addItems({QStringLiteral("ab.txt"), QStringLiteral("cd.txt")});
        sync.watchListFocus(&list);
    }
    void listFocus(QEvent::Type type)
    {
        QFocusEvent e(type, Qt::MouseFocusReason);
        QCoreApplication::sendEvent(&list, &e);
    }
    FakeEditor editor;
    QListWidget list;
    listsync::ListSync sync{editor.hooks(), {[this] { return list.count(); }, [this](int row) { list.setCurrentRow(row); }}};
};

TEST_F(ListSyncTest, ListFollowsTheCursorAndOnlyAFocusedListMovesTheText)
{
    sync.editorFocusIn();
    EXPECT_TRUE(sync.polling());
    sync.textToList();  // the cursor never left 0: nothing to do
    EXPECT_EQ(list.currentRow(), -1);
    // The third line has no entry; switched off, nothing follows.
    for (const qsizetype cursor : {5, 10, 1}) {
        if (cursor == 1)
            sync.setDisabled(true);
        editor.cursor = cursor;
        sync.textToList();
        EXPECT_TRUE(list.currentRow() == 1 && list.selectedItems().size() == 1) << cursor;
    }
    sync.editorFocusOut();
    EXPECT_FALSE(sync.polling());
    sync.setDisabled(false);

    // Only a focused list moves the text.
    sync.listToText(1);  // a selection the program made
    EXPECT_EQ(editor.focusTaken, 0);
    listFocus(QEvent::FocusIn);
    sync.listToText(1);
    EXPECT_TRUE(editor.selection == (Span{4, 2}) && editor.focusTaken == 1);
    // The next poll selects the same entry and leaves the text selection alone.
    list.setCurrentRow(0);
    sync.textToList();
    EXPECT_TRUE(list.currentRow() == 1 && editor.selection == (Span{4, 2}));
    sync.listToText(5);
    EXPECT_EQ(editor.selection, (Span{0, editor.text.size()}));

    sync.setDisabled(true);
    sync.listToText(0);
    sync.setDisabled(false);
    listFocus(QEvent::FocusOut);
    sync.listToText(0);
    EXPECT_EQ(editor.focusTaken, 2);
}

}  // namespace
