// The main window for keyboard and screen reader users: Tab through the controls as they are seen, the
// name text that lets Tab go, a list click that cannot cost a name, the controls screen readers name, and
// the note in the list on entries the listing options leave out.
#include "mainwindow/NameTextEdit.h"
#include "settings/WindowPlacement.h"
#include "support/TestSupport.h"
#include "ui/NoteListView.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTest>

#include <algorithm>

namespace {

using namespace testsupport;

class KeyboardAccess : public FormTest {
protected:
    void startShown(const TempTree& dir)
    {
        newForm()->Form_Load(dir.path());
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    QWidget* focused() const { return QApplication::focusWidget(); }
    // Presses Tab (or Shift+Tab) on the focused control until the focus comes back; the controls on the way.
    QStringList walk(bool forward)
    {
        QStringList names;
        const QWidget* start = focused();
        for (int i = 0; i < 200; ++i) {
            QTest::keyClick(focused(), forward ? Qt::Key_Tab : Qt::Key_Backtab, forward ? Qt::NoModifier : Qt::ShiftModifier);
            if (focused() == start)
                break;
            names.append(focused()->objectName());
        }
        return names;
    }
    // The band a control lies in, top to bottom.
    int band(const QString& name) const
    {
        const QWidget* w = child<QWidget>(name.toUtf8().constData());
        for (; w; w = w->parentWidget()) {
            const QString n = w->objectName();
            if (n == "Frame5" || n == "Frame4" || n == "Frame8" || n == "Command18")
                return 0;
            if (n == "ErweiterungsFrame")
                return 1;
            if (n == "Eingabe_Mit" || n == "Original")
                return 2;
            if (n == "ControlsFrame")
                return 3;
        }
        return -1;
    }

    TempTree files{{"a.txt", "b.txt", "c.txt"}};
};

TEST_F(KeyboardAccess, TabAndShiftTabLeaveTheNameTextWithoutTypingATab)
{
    store("Options", "Directorys", "0");
    startShown(files);
    auto* box = child<NameTextEdit>("Eingabe_Mit");
    box->setFocus();
    const QString before = box->text();
    QTest::keyClick(box, Qt::Key_Tab);
    EXPECT_EQ(focused(), child<QWidget>("Original"));
    QTest::keyClick(focused(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(focused(), box);
    QTest::keyClick(box, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_NE(focused(), box);
    EXPECT_EQ(box->text(), before);
}

TEST_F(KeyboardAccess, AListClickPointsOutTheLineButAKeystrokeCannotReplaceTheName)
{
    store("Options", "Directorys", "0");
    startShown(files);
    auto* list = child<QListView>("Original");
    auto* box = child<NameTextEdit>("Eingabe_Mit");
    auto clickRow = [&](int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualRect(list->model()->index(row, 0)).center());
    };
    clickRow(1);
    ASSERT_TRUE(box->hasFocus());
    EXPECT_EQ(box->selectedText(), "b");
    QTest::keyClick(box, Qt::Key_X);
    EXPECT_EQ(box->text(), crlf({"a", "bx", "c"}));
    // A first Delete only lifts the selection; a chosen selection is deleted as always.
    clickRow(2);
    QTest::keyClick(box, Qt::Key_Delete);
    EXPECT_EQ(box->text(), crlf({"a", "bx", "c"}));
    EXPECT_EQ(box->selectionLength(), 0);
    box->setSelection(0, 1);
    QTest::keyClick(box, Qt::Key_Delete);
    EXPECT_EQ(box->text(), crlf({"", "bx", "c"}));
}

TEST_F(KeyboardAccess, TabFollowsTheScreenAndPassesOverWhatCannotBeSeen)
{
    store("Options", "Directorys", "0");
    startShown(files);  // both toolbars shown
    child<QWidget>("Text4")->setFocus();
    const QStringList forward = walk(true);
    ASSERT_FALSE(forward.isEmpty());
    QStringList order = QStringList{"Text4"} + forward;
    // Below the upper toolbar's visible band: never reached.
    EXPECT_FALSE(order.contains("Text9"));
    EXPECT_FALSE(order.contains("Command14"));
    int lastBand = 0;
    for (const QString& name : order) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_TRUE(child<QWidget>(name.toUtf8().constData())->isVisible());
        EXPECT_GE(band(name), lastBand);
        lastBand = band(name);
    }
    EXPECT_EQ(order.indexOf("Original"), order.indexOf("Eingabe_Mit") + 1);
    EXPECT_LT(order.indexOf("Text5"), order.indexOf("Text3"));
    EXPECT_LT(order.indexOf("Text3"), order.indexOf("Text8"));
    // The lower toolbar row by row; the rename buttons wait for a change.
    const QStringList lower = order.mid(order.indexOf("CloseFrame2"));
    EXPECT_EQ(lower, (QStringList{"CloseFrame2", "Command6", "Nummerieren", "Nummern_Entf", "Verzeichnis", "Abbruch", "Label3",
                                  "Label4", "Command5", "Command1", "Command2", "Command4", "WordUcase", "AlwaysOnTop1"}));
    // Shift+Tab walks the same way back.
    QStringList backward = walk(false);
    std::reverse(backward.begin(), backward.end());
    EXPECT_EQ(backward, forward);

    // With the upper toolbar hidden its controls are passed over, and the button that brings it back is reached.
    child<QAction>("MenFrameAUsblenden")->trigger();
    child<QWidget>("Text4")->setFocus();
    const QStringList without = walk(true);
    EXPECT_FALSE(without.contains("Text1"));
    EXPECT_TRUE(without.contains("Command18"));
}

TEST_F(KeyboardAccess, TheOnTopControlIsSwitchedByKeyboard)
{
    store("Options", "Directorys", "0");
    startShown(files);
    QWidget* control = child<QWidget>("AlwaysOnTop1");
    child<QWidget>("WordUcase")->setFocus();
    QTest::keyClick(focused(), Qt::Key_Tab);
    ASSERT_EQ(focused(), control);
    QTest::keyClick(control, Qt::Key_Space);
    EXPECT_TRUE(placement::isStayOnTop(form.get()));
    EXPECT_EQ(setting("AlwaysOnTop", "OnTop"), "True");
    QTest::keyClick(control, Qt::Key_Return);
    EXPECT_FALSE(placement::isStayOnTop(form.get()));
    EXPECT_EQ(setting("AlwaysOnTop", "OnTop"), "False");
}

TEST_F(KeyboardAccess, ScreenReadersHearGermanNamesAndDescriptions)
{
    store("Options", "Directorys", "0");
    startShown(files);
    QStringList names;
    for (const char* name : {"CloseFrame", "CloseFrame2", "ShowControlsDialogButton", "Command18", "Eingabe_Mit", "Eingabe_Ohne",
                             "Original", "AlwaysOnTop1"}) {
        SCOPED_TRACE(name);
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(child<QWidget>(name));
        ASSERT_NE(a, nullptr);
        const QString spoken = a->text(QAccessible::Name);
        EXPECT_FALSE(spoken.isEmpty());
        EXPECT_FALSE(a->text(QAccessible::Description).isEmpty());
        EXPECT_FALSE(names.contains(spoken));
        EXPECT_NE(spoken, "Always on top");
        names.append(spoken);
    }
    // The on-top control is a check box to a screen reader, and one it can switch.
    QAccessibleInterface* onTop = QAccessible::queryAccessibleInterface(child<QWidget>("AlwaysOnTop1"));
    EXPECT_EQ(onTop->role(), QAccessible::CheckBox);
    EXPECT_TRUE(onTop->state().checkable);
    EXPECT_FALSE(onTop->state().checked);
    ASSERT_NE(onTop->actionInterface(), nullptr);
    onTop->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(onTop->state().checked);
    EXPECT_TRUE(placement::isStayOnTop(form.get()));
}

TEST_F(KeyboardAccess, TheListSaysHowManyEntriesTheOptionsHide)
{
    // Without stored options only folders are listed: a folder of music files shows an empty list.
    TempTree music{{"a.mp3", "b.mp3", "c.mp3", "Fotos/"}};
    startShown(music);
    auto* list = qobject_cast<ui::NoteListView*>(child<QListView>("Original"));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(listed(), QStringList{"Fotos"});
    EXPECT_EQ(list->model()->rowCount(), 1);
    EXPECT_EQ(list->note(), "3 Dateien sind ausgeblendet. „Neues Verz >>“ ändert das.");
    EXPECT_EQ(child<QLabel>("Label1")->text(), "Original Namen:  (1 Stück)");
    // Drawn in the list's free room, below its entry.
    const QRect room = list->noteRect();
    ASSERT_FALSE(room.isEmpty());
    EXPECT_GT(room.top(), list->visualRect(list->model()->index(0, 0)).bottom());
    auto inkIn = [&](const QRect& r) {
        const QImage shot = list->viewport()->grab().toImage();
        const QColor paper = list->palette().color(QPalette::Base);
        int ink = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                ink += shot.pixelColor(x, y) != paper;
        return ink;
    };
    EXPECT_GT(inkIn(room), 20);
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(list);
    EXPECT_TRUE(a->text(QAccessible::Description).contains("3 Dateien sind ausgeblendet"));

    // Listing files as well: nothing is hidden, and the note goes.
    store("Options", "OnlyDirectorys", "0");
    open(music);
    EXPECT_EQ(list->model()->rowCount(), 4);
    EXPECT_TRUE(list->note().isEmpty());
    EXPECT_TRUE(list->noteRect().isEmpty());
    const int below = list->visualRect(list->model()->index(3, 0)).bottom() + 1;
    EXPECT_EQ(inkIn(QRect(0, below, list->viewport()->width(), list->viewport()->height() - below)), 0);
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(list)->text(QAccessible::Description).contains("ausgeblendet"));
}

}  // namespace
