// The marks in the name text: each kind on a real window over a real directory, following edits, with
// their reasons in tooltips and the F8 command.
#include "TestSupport.h"
#include "mainwindow/NameMarks.h"
#include "mainwindow/NameTextEdit.h"

#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

using namespace testsupport;

namespace {

const QString kRenameTip = QStringLiteral("Hier werden die geänderten Namen gesetzt!");

class NameMarksTest : public FormTest {
protected:
    void SetUp() override
    {
        store("Options", "Directorys", "0");  // files only
        newForm();
        form->show();
    }
    NameMarks* marks() const { return form->nameMarks(); }
    NameTextEdit* box() const { return form->nameBox(); }
    // Waits for the marks of the text as it is now.
    void settle() const
    {
        QSignalSpy shown(marks(), &NameMarks::marksShown);
        if (marks()->pending()) {
            ASSERT_TRUE(shown.wait(5000));
        }
    }
    // The reason of every line; each one is drawn in the box, and only those.
    QStringList reasons() const
    {
        QStringList out;
        for (qsizetype line = 0; line < box()->lineCount(); ++line) {
            out << marks()->reasonOfLine(line);
            EXPECT_EQ(drawn(line), !out.last().isEmpty()) << line;
        }
        return out;
    }
    bool drawn(qsizetype line) const
    {
        if (box()->SendScintilla(QsciScintillaBase::SCI_MARKERGET, long(line)) != 0)
            return true;
        const long end = box()->SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION, long(line));
        for (long pos = box()->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, long(line)); pos <= end; ++pos)
            if (box()->SendScintilla(QsciScintillaBase::SCI_INDICATORALLONFOR, static_cast<unsigned long>(pos)) != 0)
                return true;
        return false;
    }
    QString hover(qsizetype line) const
    {
        QWidget* viewport = box()->viewport();
        const QPoint at = box()->pointBelowLine(line) - QPoint(-2, 3);
        QHelpEvent help(QEvent::ToolTip, at, viewport->mapToGlobal(at));
        QApplication::sendEvent(viewport, &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    }
};

}  // namespace

TEST_F(NameMarksTest, EachKindOfProblemIsMarkedWithItsGermanReason)
{
    TempTree dir({"a.mp3", "b.mp3", "c.mp3", "d.mp3", "e.mp3", "f.mp3", "g.mp3", "h.txt"});
    dir.add("cover.jpg/");
    open(dir);
    settle();
    EXPECT_EQ(marks()->markedLineCount(), 0);
    const QString tooLong = QString(148, QChar(0xE4));  // 296 bytes, and ".mp3" comes back
    const QString text = crlf({"cover.jpg", ".b", tooLong, "wh?", "dup", " dup ", "h.txt", "h"});
    form->Set_Eingabe_Text(text);
    settle();
    EXPECT_EQ(reasons(), QStringList({"Der Name ist schon vergeben: „cover.jpg“ (nicht in der Liste)",
                                      "Dieser Name würde den Eintrag aus der Liste verbergen",
                                      "Zu lang für das Dateisystem (300 Bytes, höchstens 255)",
                                      "Ungültiges Zeichen „?“",
                                      "Gleich wie Zeile 6",
                                      "Gleich wie Zeile 5",
                                      "Der Name ist schon vergeben: „h.txt“ (Zeile 8 behält ihn)",
                                      ""}));
    EXPECT_EQ(hover(3), "Ungültiges Zeichen „?“");
    EXPECT_EQ(hover(0), "Der Name ist schon vergeben: „cover.jpg“ (nicht in der Liste)");
    // The marks are no part of the text, and the count shows where the user looks before renaming.
    EXPECT_EQ(form->Get_Eingabe_Text(), text);
    const QString note = "7 Zeilen sind markiert: Sie würden nicht umbenannt oder halten die Umbenennung auf "
                         "(F8: zur nächsten Markierung).";
    EXPECT_EQ(child<QPushButton>("Setzen")->toolTip(), kRenameTip + "\n\n" + note);
    EXPECT_EQ(child<QLabel>("Label2")->toolTip(), note);

    // One line more: only the extra line is marked, beside what the lines themselves hold; the label keeps its text.
    form->Set_Eingabe_Text(crlf({"a", "b", "c", "d", "e", "f", "g", "h", ""}));
    settle();
    EXPECT_EQ(reasons().last(), "Zu dieser Zeile gibt es keinen Eintrag (die Liste hat 8 Einträge)");
    EXPECT_EQ(marks()->markedLineCount(), 1);
    EXPECT_EQ(child<QLabel>("Label2")->text(), "Modifizierte Namen  (ohne Dateiendung): 9   Anzahl stimmt nicht! ");
}

TEST_F(NameMarksTest, MarksFollowTypingUndoAndRedoAndClearWhenMended)
{
    TempTree dir({"a.mp3", "b.mp3", "c.mp3"});
    open(dir);
    settle();
    box()->setFocus();
    box()->setSelection(1, 0);  // the end of line 1
    QTest::keyClicks(box(), "?");
    settle();
    EXPECT_EQ(reasons(), QStringList({"Ungültiges Zeichen „?“", "", ""}));
    box()->undo();
    settle();
    EXPECT_EQ(marks()->markedLineCount(), 0);
    EXPECT_EQ(text(), crlf({"a", "b", "c"}));  // the marks left the history as it was
    EXPECT_EQ(child<QPushButton>("Setzen")->toolTip(), kRenameTip);
    box()->redo();
    settle();
    EXPECT_EQ(marks()->markedLineCount(), 1);

    // Line 3 becomes equal to line 1: both are marked; mending line 3 clears both.
    box()->setSelection(text().size(), 0);
    QTest::keyClick(box(), Qt::Key_Backspace);
    QTest::keyClicks(box(), "a?");
    settle();
    EXPECT_EQ(reasons(), QStringList({"Ungültiges Zeichen „?“\nGleich wie Zeile 3", "", "Ungültiges Zeichen „?“\nGleich wie Zeile 1"}));
    QTest::keyClick(box(), Qt::Key_Backspace);
    QTest::keyClick(box(), Qt::Key_Backspace);
    QTest::keyClicks(box(), "z");
    box()->setSelection(1, 1);
    QTest::keyClick(box(), Qt::Key_Delete);
    settle();
    EXPECT_EQ(text(), crlf({"a", "b", "z"}));
    EXPECT_EQ(marks()->markedLineCount(), 0);

    // A text of more than 250,000 lines is not checked while edited (the rename still checks it), and says so.
    box()->setText(QString(QStringLiteral("a?\r\n")).repeated(250000) + QStringLiteral("a?"));
    settle();
    EXPECT_EQ(marks()->markedLineCount(), 0);
    EXPECT_EQ(child<QPushButton>("Setzen")->toolTip(),
              kRenameTip + "\n\nMehr als 250.000 Zeilen: Probleme werden nicht beim Schreiben markiert, sondern beim "
                           "Umbenennen gemeldet.");
    box()->setText(crlf({"a?", "b", "c"}));
    settle();
    EXPECT_EQ(marks()->markedLineCount(), 1);

    // Paused while a rename runs, the check waits; resumed (the rename stopped), it goes on to the end.
    box()->setText(crlf({"a?", "b?", "c"}));
    marks()->pause();
    QCoreApplication::processEvents();
    EXPECT_FALSE(marks()->pending());
    EXPECT_EQ(marks()->markedLineCount(), 1);
    marks()->resume();
    settle();
    EXPECT_EQ(marks()->markedLineCount(), 2);
}

TEST_F(NameMarksTest, F8AndShiftF8GoToTheMarkedLinesAndShowTheirReasons)
{
    TempTree dir({"a.mp3", "b.mp3", "c.mp3", "d.mp3", "e.mp3"});
    open(dir);
    form->Set_Eingabe_Text(crlf({"a", "b*", "c", ".d", "e"}));
    box()->setFocus();
    box()->setSelection(0, 0);
    const auto lineOfCursor = [this] { return box()->cursorLine(); };
    QTest::keyClick(box(), Qt::Key_F8);
    EXPECT_EQ(lineOfCursor(), 1);
    EXPECT_EQ(QToolTip::text(), "Ungültiges Zeichen „*“");
    QTest::keyClick(box(), Qt::Key_F8);
    EXPECT_EQ(lineOfCursor(), 3);
    EXPECT_EQ(QToolTip::text(), "Dieser Name würde den Eintrag aus der Liste verbergen");
    QTest::keyClick(box(), Qt::Key_F8);  // round to the first again
    EXPECT_EQ(lineOfCursor(), 1);
    QTest::keyClick(box(), Qt::Key_F8, Qt::ShiftModifier);
    EXPECT_EQ(lineOfCursor(), 3);
    EXPECT_EQ(text(), crlf({"a", "b*", "c", ".d", "e"}));
}

TEST(NameTextCopy, PiecesCutAnywhereGiveTheTextExactly)
{
    NameTextEdit box;
    // A byte order mark first, umlauts and a character outside the BMP: pieces of 1 to 5 bytes cut through all.
    const QString text = QStringLiteral("\uFEFFa\u00e4\u00df\r\n\U0001F600x\r\n\r\n\u20ac");
    box.setText(text);
    NameTextEdit::TextCopy copy;
    for (qsizetype piece = 1; piece <= 5; ++piece) {
        copy.start(&box);
        while (!copy.advance(piece)) {
        }
        EXPECT_EQ(copy.text(), box.text()) << piece;
    }
    EXPECT_EQ(box.text(), text);
    // A text replaced while the copy is under way: the copy follows it, never reading past its end.
    copy.start(&box);
    copy.advance(3);
    box.loadText(QStringLiteral("b"));
    while (!copy.advance(2)) {
    }
    EXPECT_EQ(copy.text(), u"b");
    box.setText(QString());
    copy.start(&box);
    EXPECT_TRUE(copy.advance(1));
    EXPECT_TRUE(copy.text().isEmpty());
}
