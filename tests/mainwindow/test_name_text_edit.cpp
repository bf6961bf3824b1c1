// The name text box: positions in UTF-16 code units of the CR LF text against the editor's own byte
// positions, change reporting, undo, the keys of a plain text box, and names that must stay one line.
#include "WindowTest.h"

#include <QClipboard>
#include <QScrollBar>

#include <functional>

using namespace testsupport;

namespace {

// ASCII, umlauts, an emoji (a surrogate pair, four UTF-8 bytes), a no-break space, CR LF and an empty last line.
const QString kMixed = QStringLiteral("ab\r\nÄöü x\r\n\U0001F600y\u00A0z\r\n");

class Box : public ::testing::Test {
protected:
    long editorPos() const { return box.SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS); }
    void press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(&box, Qt::Key(key), mods); }

    NameTextEdit box;
};

// Canonical positions where a cursor can stand: not inside a surrogate pair, not between CR and LF.
QList<qsizetype> boundaries(const QString& text)
{
    QList<qsizetype> out;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i > 0 && i < text.size() && text.at(i).isLowSurrogate())
            continue;
        if (i > 0 && i < text.size() && text.at(i - 1) == QLatin1Char('\r') && text.at(i) == QLatin1Char('\n'))
            continue;
        out.append(i);
    }
    return out;
}

}  // namespace

TEST_F(Box, CanonicalPositionsMatchTheEditorsBytePositions)
{
    box.setText(kMixed);
    ASSERT_EQ(box.text(), kMixed);
    EXPECT_EQ(box.lineCount(), 4);
    const QList<qsizetype> b = boundaries(kMixed);
    for (qsizetype s : b) {
        box.setSelection(s, 0);
        EXPECT_EQ(box.cursorPosition(), s);
        EXPECT_EQ(editorPos(), kMixed.left(s).toUtf8().size()) << "at " << s;
        // Every selection from here reads back as it was set.
        for (qsizetype e : b) {
            if (e < s)
                continue;
            box.setSelection(s, e - s);
            ASSERT_EQ((QList<qsizetype>{box.selectionStart(), box.selectionLength(), box.cursorPosition()}), (QList<qsizetype>{s, e - s, e}));
            ASSERT_EQ(box.selectedText(), kMixed.mid(s, e - s)) << s << ".." << e;
        }
    }
    // The editor's own moves land on the same positions: right arrow across the whole text.
    box.setSelection(0, 0);
    QList<qsizetype> visited{box.cursorPosition()};
    for (int i = 0; i < 20 && visited.size() < b.size(); ++i) {
        press(Qt::Key_Right);
        visited.append(box.cursorPosition());
    }
    EXPECT_EQ(visited, b);

    // Positions stay right after typing changes the lines before them.
    box.setSelection(0, 0);
    QTest::sendKeyEvent(QTest::Click, &box, Qt::Key_Odiaeresis, QStringLiteral("ö"), Qt::NoModifier);
    press(Qt::Key_Return);
    const QString typed = QStringLiteral("ö\r\n") + kMixed;
    ASSERT_EQ(box.text(), typed);
    box.setSelection(typed.indexOf(u'y'), 1);
    EXPECT_EQ(box.selectedText() + QString::number(editorPos()), "y" + QString::number(typed.left(typed.indexOf(u'y') + 1).toUtf8().size()));
}

TEST_F(Box, PositionsInsideACharacterOrLineEndOrOutsideTheTextAreMovedOutward)
{
    box.setText(kMixed);
    const qsizetype emoji = kMixed.indexOf(QChar(0xD83D));
    // Each selection set, read back as start, length and cursor.
    const struct {
        qsizetype start, length, readStart, readLength, cursor;
    } cases[] = {
        {emoji, 1, emoji, 2, emoji + 2},      // one code unit of the pair selects the whole character
        {emoji + 1, 2, emoji, 3, emoji + 3},  // a start inside it begins before it
        {3, 0, 2, 0, 2},                      // between CR and LF: the end of that line
        {4, -2, 2, 2, 2},                     // a backward selection keeps its anchor at start
        {kMixed.size() + 10, 5, kMixed.size(), 0, kMixed.size()},
        {-3, 1, 0, 0, 0},
    };
    for (const auto& c : cases) {
        box.setSelection(c.start, c.length);
        EXPECT_EQ((QList<qsizetype>{box.selectionStart(), box.selectionLength(), box.cursorPosition()}),
                  (QList<qsizetype>{c.readStart, c.readLength, c.cursor})) << c.start << ", " << c.length;
    }
}

// Characters that other editors take for line breaks stay in their line; lone CR and LF become CR LF.
TEST_F(Box, TextKeepsEveryCharacterAndTurnsLoneLineBreaksIntoCrLf)
{
    const QString kept = QStringLiteral("a\u00A0b\tc\u2029d\uFDD0\uFDD1\u2028\uFFFC\x0B\x0C");
    const struct {
        QString in, out;
        int lines;
    } cases[] = {{kept + "\r\nnext", kept + "\r\nnext", 2}, {"a\rb\nc\r\n\r", "a\r\nb\r\nc\r\n\r\n", 5}, {"", "", 1}};
    for (const auto& c : cases) {
        box.setText(c.in);
        EXPECT_EQ(box.text() + QString::number(box.lineCount()), c.out + QString::number(c.lines));
    }
    box.setText(kept + "\r\nnext");
    box.setSelection(kept.size() + 2, 0);
    EXPECT_EQ(editorPos(), kept.toUtf8().size() + 2);
}

// A large text goes in slice by slice, the caller turning between; what falls on a slice's edge comes out whole.
TEST_F(Box, ALargeTextGoesInInSlicesExactlyAndStopsWhenTold)
{
    QStringList lines;
    for (int i = 0; i < 40000; ++i)
        lines << QStringLiteral("name %1 \u00E4\U0001F600").arg(i);
    const QString many = lines.join(QStringLiteral("\r\n"));
    const QString longLine = QString(QStringLiteral("x\U0001F600")).repeated(400000);
    int turns = 0;
    for (const QString& text : {many, longLine, QString(many).replace(QStringLiteral("\r\n"), QStringLiteral("\n"))}) {
        turns = 0;
        ASSERT_TRUE(box.loadText(text, [&] { return ++turns > 0; }));
        EXPECT_GE(turns, 1);
        EXPECT_TRUE(box.text() == (text.contains(u'\r') || text == longLine ? text : many) && box.lineCount() == (text == longLine ? 1 : 40000));
    }
    // Told to stop: the box holds a part, the caller learns it.
    QSignalSpy changes(&box, &NameTextEdit::changed);
    EXPECT_FALSE(box.loadText(many, [] { return false; }));
    EXPECT_TRUE(many.startsWith(box.text()) && box.text().size() < many.size() && changes.isEmpty());

    // A list of entries goes in as its name text, made slice by slice; the box knows it holds it.
    QStringList entries = lines;
    for (QString& e : entries)
        e += QStringLiteral(".mp3");
    entries << QStringLiteral(".abc");
    ASSERT_TRUE(box.loadNames(entries, [] { return true; }));
    EXPECT_TRUE(box.text() == many + QStringLiteral("\r\n") && box.holdsNames(entries));
    QStringList other = entries;
    other[20000] = QStringLiteral("x");
    EXPECT_FALSE(box.holdsNames(other) || box.holdsNames(entries.mid(0, 39999)) || box.holdsNames(entries + QStringList{"y"}));
}

TEST_F(Box, OneChangePerEditAndPerSetText)
{
    QSignalSpy spy(&box, &NameTextEdit::changed);
    // Runs a step; the text and the count of changes reported so far.
    auto after = [&](const std::function<void()>& step) {
        step();
        return box.text() + u' ' + QString::number(spy.count());
    };
    EXPECT_EQ(after([&] { box.setText("abc\r\ndef"); }), "abc\r\ndef 1");
    EXPECT_EQ(after([&] { box.setText("abc\r\ndef"); }), "abc\r\ndef 2");  // the same text is still a replacement
    // Typed over a selection: a deletion and an insertion, told as one change.
    EXPECT_EQ(after([&] { box.setSelection(1, 5); QTest::keyClicks(&box, "X"); }), "aXef 3");
    EXPECT_EQ(after([&] { press(Qt::Key_Backspace); }), "aef 4");
    EXPECT_EQ(after([&] { press(Qt::Key_Z, Qt::ControlModifier); }), "aXef 5");
    EXPECT_EQ(after([&] { press(Qt::Key_Left); box.setSelection(0, 2); }), "aXef 5");  // moving the cursor is no change
    // Pasted lines end in CR LF whatever the clipboard held.
    QApplication::clipboard()->setText("p\nq");
    EXPECT_EQ(after([&] { box.setSelection(0, 0); press(Qt::Key_V, Qt::ControlModifier); }), "p\r\nqaXef 6");
    EXPECT_EQ(after([&] { box.loadText("x"); }), "x 7");
}

TEST_F(Box, UndoTakesBackAWholeReplacementInOneStep)
{
    auto undo = [&](Qt::Key key = Qt::Key_Z) {
        press(key, Qt::ControlModifier);
        return box.text();
    };
    box.setText("first\r\nlist");
    box.setText("second\r\nlist\r\nlonger");
    EXPECT_EQ(undo(), "first\r\nlist");
    EXPECT_EQ(undo(Qt::Key_Y), "second\r\nlist\r\nlonger");
    // Typing after a replacement is a step of its own.
    box.setSelection(0, 0);
    QTest::keyClicks(&box, "ab");
    EXPECT_EQ(undo(), "second\r\nlist\r\nlonger");
    // After forgetting, and after a load, there is nothing to undo.
    box.setText("kept");
    box.forgetUndoHistory();
    EXPECT_EQ(undo(), "kept");
    box.loadText("loaded");
    EXPECT_EQ(undo(), "loaded");
}

TEST_F(Box, KeysOfAPlainTextBox)
{
    box.setText(QStringLiteral("  one\r\ntwo"));
    box.setSelection(4, 0);
    // Code-editor commands are gone: line duplicate, transpose, cut and delete line, case change.
    for (int key : {Qt::Key_D, Qt::Key_T, Qt::Key_L, Qt::Key_U})
        press(key, Qt::ControlModifier);
    for (int key : {Qt::Key_L, Qt::Key_U})
        press(key, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(box.text(), QStringLiteral("  one\r\ntwo"));

    // Home goes to the very start of the line, past the leading blanks.
    press(Qt::Key_Home);
    press(Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(box.selectedText(), QStringLiteral("  one"));

    // Enter, also with Shift, breaks the line with CR LF.
    box.setSelection(2, 0);
    for (const Qt::KeyboardModifier mods : {Qt::NoModifier, Qt::ShiftModifier})
        press(Qt::Key_Return, mods);
    EXPECT_EQ(box.text(), QStringLiteral("  \r\n\r\none\r\ntwo"));

    // Tab, also over a selection of several lines, neither indents nor types: names hold no tabs.
    box.setSelection(2, 7);
    for (const Qt::KeyboardModifier mods : {Qt::NoModifier, Qt::ControlModifier})
        press(Qt::Key_Tab, mods);
    EXPECT_EQ(box.text(), QStringLiteral("  \r\n\r\none\r\ntwo"));

    // Backspace takes the one character before the caret, a pair of halves whole; at a line start the break.
    box.setText(QStringLiteral("aä😀b\r\nc"));
    box.setSelection(4, 0);
    for (const QString& left : {QStringLiteral("aäb\r\nc"), QStringLiteral("ab\r\nc")}) {
        press(Qt::Key_Backspace);
        EXPECT_EQ(box.text(), left);
    }
    box.setSelection(4, 0);
    press(Qt::Key_Backspace);
    EXPECT_EQ(box.text(), QStringLiteral("abc"));
    // In a column selected across lines (Alt and the mouse), each line gives its character.
    box.setText(QStringLiteral("ab\r\ncd"));
    box.SendScintilla(QsciScintillaBase::SCI_SETRECTANGULARSELECTIONANCHOR, 1UL);
    box.SendScintilla(QsciScintillaBase::SCI_SETRECTANGULARSELECTIONCARET, 5UL);
    press(Qt::Key_Backspace);
    EXPECT_EQ(box.text(), QStringLiteral("b\r\nd"));
}

// A line of many names (all lines joined, say) is measured in short runs of two styles that look alike; a
// character that shapes with the one before it keeps that one's style. Lines of one name keep one style.
TEST_F(Box, ALongLineIsMeasuredInShortRunsThatLookLikeTheText)
{
    const QString name = QStringLiteral("Tra\u0308ck \u65E5\u672C x|");  // a + combining diaeresis, two CJK characters
    box.setText(QStringLiteral("short line\r\n") + name.repeated(400));
    auto styleAt = [&](long pos) { return box.SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT, pos); };
    // Styles change only before an ASCII character; a run holds three, up to six where an edit's runs meet old ones.
    auto checkRuns = [&](long from) {
        const QByteArray bytes = box.text().toUtf8();
        const long to = box.SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
        int asciiInRun = 0;
        for (long i = from; i < to; ++i) {
            const bool ascii = static_cast<unsigned char>(bytes.at(i)) < 0x80;
            if (i > from && styleAt(i) != styleAt(i - 1)) {
                ASSERT_TRUE(ascii) << "byte " << i;
                asciiInRun = 0;
            }
            asciiInRun += ascii ? 1 : 0;
            ASSERT_LE(asciiInRun, 6) << "byte " << i;
        }
    };
    const long longStart = box.SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, 1L);
    for (long i = 0; i < longStart; ++i)
        EXPECT_EQ(styleAt(i), 0) << i;
    checkRuns(longStart);

    // Typed into the long line, or brought back by undo and redo: new characters join the runs before the layout.
    box.setSelection(box.text().size(), 0);
    QTest::keyClicks(&box, QStringLiteral("abcdefghij"));
    box.setSelection(box.text().size() / 2, 0);
    QTest::keyClicks(&box, QStringLiteral("klmnopqrst"));
    QTest::keyClick(&box, Qt::Key_Backspace);
    checkRuns(longStart);
    box.setText(QStringLiteral("x"));
    for (const int message : {QsciScintillaBase::SCI_UNDO, QsciScintillaBase::SCI_REDO, QsciScintillaBase::SCI_UNDO})
        box.SendScintilla(static_cast<unsigned>(message));
    ASSERT_GT(box.lineCount(), 1);
    checkRuns(longStart);

    // Two short lines joined into a long one by deleting the line break between them.
    const QString half = QString(QStringLiteral("abcdefghijklmno ")).repeated(150);
    box.setText(half + QStringLiteral("\r\n") + half);
    EXPECT_EQ(styleAt(1), styleAt(0));
    box.setSelection(half.size(), 2);
    QTest::keyClick(&box, Qt::Key_Delete);
    ASSERT_EQ(box.lineCount(), 1);
    checkRuns(0);

    // Both styles follow the widget's palette and font.
    QPalette p = box.palette();
    p.setColor(QPalette::Base, QColor(250, 240, 200));
    p.setColor(QPalette::Text, QColor(10, 20, 30));
    box.setPalette(p);
    EXPECT_EQ(box.paper().name() + box.color().name(), "#faf0c8#0a141e");
    QFont f = box.font();
    f.setPointSize(19);
    f.setItalic(true);
    static_cast<QWidget&>(box).setFont(f);
    for (unsigned get : {QsciScintillaBase::SCI_STYLEGETFORE, QsciScintillaBase::SCI_STYLEGETBACK,
                         QsciScintillaBase::SCI_STYLEGETSIZEFRACTIONAL, QsciScintillaBase::SCI_STYLEGETITALIC,
                         QsciScintillaBase::SCI_STYLEGETWEIGHT})
        EXPECT_EQ(box.SendScintilla(get, 1UL), box.SendScintilla(get, 0UL)) << get;
    EXPECT_EQ(box.SendScintilla(QsciScintillaBase::SCI_STYLEGETSIZE, 1UL), 19);
}

TEST(BoxScrollBars, ALongLineCanBeScrolledToAndABoxWithoutBarsStaysSo)
{
    NameTextEdit wide;
    NameTextEdit bare;
    bare.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    bare.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (NameTextEdit* box : {&wide, &bare}) {
        box->resize(300, 200);
        box->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(box));
        EXPECT_FALSE(box->horizontalScrollBar()->isVisible());
        box->setText(QStringList(50, QString(300, QLatin1Char('x'))).join(QStringLiteral("\r\n")));
        box->viewport()->repaint();
        QCoreApplication::processEvents();
    }
    EXPECT_TRUE(wide.horizontalScrollBar()->isVisible() && wide.horizontalScrollBar()->maximum() > 0);
    EXPECT_FALSE(bare.horizontalScrollBar()->isVisible() || bare.verticalScrollBar()->isVisible());
}
