// The main window for keyboard and screen reader users, and the list's note on hidden entries.
#include "WindowTest.h"
#include "settings/WindowPlacement.h"
#include "ui/NoteListView.h"

#include <QAccessible>

#include <algorithm>

namespace {

using namespace testsupport;

class KeyboardAccess : public FormTest {
protected:
    void startShown(const TempTree& dir, const char* directorys = nullptr)  // directorys "0": files only
    {
        if (directorys)
            store("Options", "Directorys", directorys);
        newForm()->Form_Load(dir.path());
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    // Presses Tab (or Shift+Tab) until the focus comes back; the controls on the way.
    QStringList walk(bool forward) const
    {
        QStringList names;
        const QWidget* start = QApplication::focusWidget();
        for (int i = 0; i < 200; ++i) {
            QTest::keyClick(QApplication::focusWidget(), forward ? Qt::Key_Tab : Qt::Key_Backtab,
                            forward ? Qt::NoModifier : Qt::ShiftModifier);
            if (QApplication::focusWidget() == start)
                break;
            names.append(QApplication::focusWidget()->objectName());
        }
        return names;
    }
    // The band a control lies in, from the top: fixed row, upper toolbar, work area, lower toolbar.
    int band(const QString& name) const
    {
        static const QStringList bands[] = {{"Frame5", "Frame4", "Frame8", "Command18"}, {"ErweiterungsFrame"},
                                            {"Eingabe_Mit", "Original"}, {"ControlsFrame"}};
        for (const QWidget* w = child<QWidget>(name.toUtf8().constData()); w; w = w->parentWidget())
            for (int b = 0; b < 4; ++b)
                if (bands[b].contains(w->objectName()))
                    return b;
        return -1;
    }

    TempTree files{{"a.txt", "b.txt", "c.txt"}};
};

TEST_F(KeyboardAccess, TabFollowsTheScreenLeavesTheNameTextAndPassesOverWhatCannotBeSeen)
{
    startShown(files, "0");  // both toolbars shown
    child<QWidget>("Text4")->setFocus();
    const QStringList forward = walk(true);
    const QStringList order = QStringList{"Text4"} + forward;
    EXPECT_FALSE(order.contains("Text9") || order.contains("Command14"));  // below the upper toolbar's visible band
    for (qsizetype i = 1; i < order.size(); ++i)
        EXPECT_GE(band(order[i]), band(order[i - 1])) << order[i - 1].toStdString() << " before " << order[i].toStdString();
    // Tab leaves the name text for the list (the list keeps the focus), and types nothing.
    EXPECT_TRUE(order.indexOf("Original") == order.indexOf("Eingabe_Mit") + 1 && text() == crlf({"a", "b", "c"}));
    EXPECT_LT(order.indexOf("Text5"), order.indexOf("Text3"));
    // The lower toolbar row by row; the rename buttons wait for a change.
    EXPECT_EQ(order.mid(order.indexOf("CloseFrame2")),
              (QStringList{"CloseFrame2", "Command6", "Nummerieren", "Nummern_Entf", "Verzeichnis", "Abbruch", "Label3", "Label4",
                           "Command5", "Command1", "Command2", "Command4", "WordUcase", "AlwaysOnTop1"}));
    QStringList backward = walk(false);
    std::reverse(backward.begin(), backward.end());
    EXPECT_EQ(backward, forward);

    // A hidden toolbar's controls are passed over; the button that brings it back is reached.
    child<QAction>("MenFrameAUsblenden")->trigger();
    const QStringList without = walk(true);
    EXPECT_TRUE(!without.contains("Text1") && without.contains("Command18"));
}

// The box's focus starts and stops the poll that moves the list after the cursor.
TEST_F(KeyboardAccess, ListAndCursorPointOutEachOtherButAKeystrokeCannotReplaceTheName)
{
    startShown(files, "0");
    auto* list = child<QListView>("Original");
    auto* box = child<NameTextEdit>("Eingabe_Mit");
    auto* poll = form->findChild<QTimer*>("Timer1");
    ASSERT_TRUE(poll);
    auto clickRow = [&](int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualRect(list->model()->index(row, 0)).center());
        QCoreApplication::processEvents();
    };
    clickRow(1);
    ASSERT_TRUE(box->hasFocus() && poll->isActive());
    box->setSelection(0, 0);
    clickRow(1);  // the current entry again
    EXPECT_EQ(box->selectedText(), "b");
    QTest::keyClick(box, Qt::Key_X);
    EXPECT_EQ(text(), crlf({"a", "bx", "c"}));

    poll->setInterval(10);  // its pace is not what this test is about
    QSignalSpy polled(poll, &QTimer::timeout);  // connected after the poll: it has run when this records
    box->setSelection(7, 0);
    EXPECT_TRUE(polled.wait(5000) && list->currentIndex().row() == 2);

    // A selection is no request to delete for the rename; for a first Delete neither where a click made it,
    // while one of the user's own goes as always.
    box->setSelection(3, 1);
    click("Setzen");
    EXPECT_EQ(files.entries(), QStringList({"a.txt", "bx.txt", "c.txt"}));
    clickRow(2);
    QTest::keyClick(box, Qt::Key_Delete);
    EXPECT_EQ(text(), crlf({"a", "bx", "c"}));
    box->setSelection(0, 1);
    QTest::keyClick(box, Qt::Key_Delete);
    EXPECT_EQ(text(), crlf({"", "bx", "c"}));

    // Switched off: clicks leave the text alone; the list's focus stops the poll.
    child<QAction>("DisableSync")->trigger();
    box->setSelection(0, 0);
    clickRow(0);
    EXPECT_TRUE(box->selectionLength() == 0 && list->hasFocus() && !poll->isActive());
}

TEST_F(KeyboardAccess, ScreenReadersHearGermanNamesAndTheOnTopControlAsACheckBox)
{
    startShown(files, "0");
    QStringList heard;  // every name and description said, and no name twice
    for (const char* name : {"CloseFrame", "CloseFrame2", "ShowControlsDialogButton", "Command18", "Eingabe_Mit", "Eingabe_Ohne",
                             "Original", "AlwaysOnTop1"}) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(child<QWidget>(name));
        ASSERT_NE(a, nullptr) << name;
        EXPECT_FALSE(a->text(QAccessible::Name).isEmpty() || a->text(QAccessible::Description).isEmpty()) << name;
        heard.append(a->text(QAccessible::Name));
    }
    heard.removeDuplicates();
    EXPECT_EQ(heard.size(), 8);
    QAccessibleInterface* onTop = QAccessible::queryAccessibleInterface(child<QWidget>("AlwaysOnTop1"));
    ASSERT_TRUE(onTop->role() == QAccessible::CheckBox && !onTop->state().checked && onTop->actionInterface());
    onTop->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(onTop->state().checked && placement::isStayOnTop(form.get()));
}

// The list's note and its caption's tip say how many entries the listing options hide.
TEST_F(KeyboardAccess, TheListSaysHowManyEntriesTheOptionsHide)
{
    // Without stored options only folders are listed: a folder of music files shows little.
    TempTree music{{"a.mp3", "b.mp3", "c.mp3", "Fotos/"}};
    startShown(music);
    auto* list = qobject_cast<ui::NoteListView*>(child<QListView>("Original"));
    ASSERT_NE(list, nullptr);
    auto inkBelowTheEntries = [&] {
        const int below = list->visualRect(list->model()->index(list->model()->rowCount() - 1, 0)).bottom() + 1;
        const QImage shot = list->viewport()->grab().toImage();
        int ink = 0;
        for (int y = below; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                ink += shot.pixelColor(x, y) != list->palette().color(QPalette::Base);
        return ink;
    };
    EXPECT_EQ(listed().join(u'|') + u'|' + list->note(), "Fotos|3 Dateien sind ausgeblendet. „Neues Verz >>“ ändert das.");
    EXPECT_GT(inkBelowTheEntries(), 20);
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(list)->text(QAccessible::Description).contains(list->note()));
    const QString tip = child<QLabel>("Label1")->toolTip();
    EXPECT_TRUE(tip.startsWith("3 Dateien dieses Verzeichnisses sind nicht aufgeführt") && tip.contains("„Neues Verz >>“"))
        << tip.toStdString();

    // Listing files as well: nothing is hidden, and the note goes.
    store("Options", "OnlyDirectorys", "0");
    open(music);
    EXPECT_TRUE(list->model()->rowCount() == 4 && list->note().isEmpty() && child<QLabel>("Label1")->toolTip().isEmpty());
    EXPECT_EQ(inkBelowTheEntries(), 0);
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(list)->text(QAccessible::Description).contains("ausgeblendet"));
    store("Options", "Directorys", "0");  // files only: the folder is left out
    open(music);
    EXPECT_TRUE(child<QLabel>("Label1")->toolTip().startsWith("1 Verzeichnis dieses Verzeichnisses ist nicht"));
}

}  // namespace
