// Start-up, choosing a directory, leaving the program and the options of the view menu, as a user would.
#include "WindowTest.h"
#include "names/DirectoryScan.h"

#include <fcntl.h>
#include <unistd.h>

namespace {

using namespace testsupport;

class LifecycleTest : public FormTest {
protected:
    void press(Qt::Key key)
    {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : form.get();
        QTest::keyClick(target, key, Qt::ControlModifier);
        QCoreApplication::processEvents();
    }

    QString storedBands() const
    {
        return setting("Frame", "Visible") + u'/' + setting("ControlsFrame", "Visible") + u'/' + setting("SyncListBoxen", "Enabled");
    }
    bool chooserOverDisabledWindow() const
    {
        return form->chooser() && form->chooser()->isVisible() && in<QPushButton>(form->chooser(), "Ok")->isEnabled()
               && form->isVisible() && !form->isEnabled();
    }

    TempTree files{{"a.txt", "b.txt", "sub/"}};
};

TEST_F(LifecycleTest, FirstStartWithoutSettingsOpensTheChooserOverTheDisabledWindow)
{
    newForm()->Form_Load(QString());
    EXPECT_TRUE(child<QAction>("ShowMessageBox")->isChecked() && !child<QAction>("DisableSync")->isChecked());
    // The current directory is scanned; with the default options only its directories are listed.
    EXPECT_EQ(form->windowTitle() + u' ' + listed().join(u' '), QDir::toNativeSeparators(QDir::currentPath() + "/") + " alpha beta");
    EXPECT_EQ(shownBands(form.get()), "0110");  // nothing stored: the upper toolbar hidden

    EXPECT_TRUE(chooserOverDisabledWindow() && form->chooser()->firstStart() && messenger.shown.isEmpty());
}

TEST_F(LifecycleTest, StoredOptionsAreAppliedAtStartAndTheMessageOptionIsStored)
{
    store("Frame", "Visible", "True");
    store("ControlsFrame", "Visible", "False");
    store("SyncListBoxen", "Enabled", "1");
    const std::pair<const char*, bool> cases[] = {{"1", false}, {"7", false}, {"0", true}, {"", true}};
    for (const auto& [messageboxen, lessBoxes] : cases) {
        SCOPED_TRACE(messageboxen);
        store("Options", "Messageboxen", messageboxen);
        newForm()->Form_Load(QString());
        EXPECT_EQ(child<QAction>("ShowMessageBox")->isChecked(), lessBoxes);
    }
    EXPECT_EQ(shownBands(form.get()) + QString::number(child<QAction>("DisableSync")->isChecked()), "11011");

    // "Fewer message boxes" survives a restart.
    for (const bool expected : {false, true, false}) {
        child<QAction>("ShowMessageBox")->trigger();
        ASSERT_EQ(child<QAction>("ShowMessageBox")->isChecked(), expected);
        newForm()->Form_Load(files.path());
        EXPECT_EQ(child<QAction>("ShowMessageBox")->isChecked(), expected);
    }
}

TEST_F(LifecycleTest, PathArgumentOpensItsDirectoryOrTheChooser)
{
    store("Options", "Directorys", "0");
    files.add(QStringLiteral("sub/inner.txt"));
    // The start opens the directory a path names (test_dropped_path.cpp): a file's, and the current one.
    const std::pair<QString, QString> cases[] = {{files.file("sub/inner.txt"), files.file("sub") + "/ inner.txt"},
                                                 {".", QDir::currentPath() + "/ file.txt"}};
    for (const auto& [argument, opened] : cases) {
        newForm()->Form_Load(argument);
        EXPECT_EQ(form->startPfad() + u' ' + listed().join(u' '), opened);
        EXPECT_TRUE(form->chooser() == nullptr && form->isVisible() && form->isEnabled());
    }
    EXPECT_TRUE(messenger.shown.isEmpty());

    // A path that cannot be opened shows the chooser over the visible, disabled window.
    newForm()->Form_Load(files.path() + QStringLiteral("/missing/nothing.txt"));
    EXPECT_TRUE(chooserOverDisabledWindow());
}

TEST_F(LifecycleTest, NewDirectoryAsksBeforeDiscardingChanges)
{
    store("Options", "Directorys", "0");
    newForm()->Form_Load(files.path());

    QTest::keyClicks(child<NameTextEdit>("Eingabe_Mit"), QStringLiteral("zz"));
    ASSERT_TRUE(form->isModified());
    const QString edited = text();
    const QString recover = form->recoverText();

    messenger.answerNext(ui::Answer::No);
    click("Verzeichnis");
    EXPECT_EQ(messenger.shown, QList<ShownMessage>({{"Achtung die Änderungen und die Recover-Möglichkeit (Original Namen) "
                                                     "werden dadurch verworfen! Möchten sie trotzdem fortfahren?",
                                                     "Änderungen verwerfen?", ui::Buttons::YesNo}}));
    EXPECT_TRUE(form->chooser() == nullptr && form->isEnabled() && child<QPushButton>("OrigNamen")->isEnabled());
    EXPECT_EQ(text() + form->recoverText(), edited + recover);

    // Yes (through the menu's Ctrl+N item): the chooser opens over the disabled window, not as a first start.
    child<QPushButton>("Nummerieren")->setText(QStringLiteral("Nr. set&zen"));
    child<QAction>("MenNeuesVerzeichnis")->trigger();
    ASSERT_TRUE(messenger.shown.size() == 2 && form->chooser());
    EXPECT_FALSE(form->chooser()->firstStart() || form->isEnabled());
    EXPECT_EQ(child<QPushButton>("Nummerieren")->text(), "Nummerieren");
}

TEST_F(LifecycleTest, ExitStoresTheWindowStateAndEndsWithoutAQuestion)
{
    newForm()->Form_Load(files.path());
    form->setGeometry(45, 60, 700, 500);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    const QRect outer = form->frameGeometry();
    child<QAction>("MenFrameAUsblenden")->trigger();
    child<QAction>("DisableSync")->setChecked(true);
    editEveryLine(QStringLiteral("x"));
    ASSERT_TRUE(child<QPushButton>("Setzen")->isEnabled());

    child<QPushButton>("Abbruch")->click();
    EXPECT_TRUE(messenger.shown.isEmpty() && messenger.ends == 1);
    for (const auto& [key, value] : {std::pair{"Left", outer.left()}, {"Top", outer.top()}, {"Width", outer.width()}, {"Height", outer.height()}})
        EXPECT_EQ(setting("Form1\\Pos\\", key), QString::number(value * 15)) << key;
    EXPECT_EQ(storedBands(), "False/True/1");

    // Ending the program closes the window; that close must not ask either.
    EXPECT_TRUE(form->close() && messenger.shown.isEmpty());

    // The menu's "&Beenden" is the same; the next start restores the window's place and the sync option.
    newForm()->Form_Load(files.path());
    EXPECT_TRUE(form->frameGeometry() == outer && child<QAction>("DisableSync")->isChecked());
    child<QAction>("DisableSync")->trigger();
    child<QAction>("MenuUntereToolleisteAusblenden")->trigger();
    child<QAction>("MenAbbruch_Click")->trigger();
    EXPECT_TRUE(messenger.ends == 2 && messenger.shown.isEmpty());
    EXPECT_EQ(storedBands(), "True/False/0");
}

TEST_F(LifecycleTest, ClosingByTheWindowSystemAsksWhileNamesAreNotSet)
{
    store("Options", "Directorys", "0");
    newForm()->Form_Load(files.path());
    form->show();
    editEveryLine(QStringLiteral("x"));
    ASSERT_TRUE(child<QPushButton>("Setzen")->isEnabled());
    const ShownMessage question{"Sie haben die Namen noch nicht gesetzt! Möchten sie trotzdem Beenden?",
                                "Noch nicht gespeichert!", ui::Buttons::YesNo, ui::Icon::Information};

    messenger.answerNext(ui::Answer::No);
    EXPECT_TRUE(!form->close() && form->isVisible() && messenger.shown == QList<ShownMessage>{question});
    EXPECT_EQ(setting("Frame", "Visible"), "True");  // stored before asking

    // With the chooser open over the disabled window it still asks, and Yes closes both.
    messenger.answerNext(ui::Answer::Yes);  // discard the changes? yes
    child<QPushButton>("Verzeichnis")->click();
    ASSERT_TRUE(form->chooser() && !form->isEnabled());
    messenger.answerNext(ui::Answer::No);
    EXPECT_TRUE(!form->close() && messenger.shown.value(2) == question);
    EXPECT_TRUE(form->close() && messenger.shown.size() == 4);
    flushDeletes();
    EXPECT_TRUE(form->chooser() == nullptr && messenger.ends == 0);
    // Only Exit keeps the position and the synchronisation option.
    EXPECT_EQ(setting("Form1\\Pos\\", "Left") + setting("SyncListBoxen", "Enabled"), "");

    // Names not changed: no question.
    newForm()->Form_Load(files.path());
    form->show();
    EXPECT_TRUE(form->close() && messenger.shown.size() == 4);
}

TEST_F(LifecycleTest, ALargeFolderShowsItsProgressWhileLoadingAndCanBeClosedMeanwhile)
{
    store("Options", "Directorys", "0");
    TempTree big;
    const qsizetype count = 2 * names::kScanProgressEntries + 1;
    for (qsizetype i = 0; i < count; ++i)
        ::close(::open(QFile::encodeName(big.file(QStringLiteral("f%1.txt").arg(i))).constData(), O_CREAT | O_WRONLY, 0644));
    newForm()->show();
    form->set_Startpfad(big.path());
    QStringList titles;
    QObject::connect(form.get(), &QWidget::windowTitleChanged, [&](const QString& t) { titles << t; });
    int turns = 0;  // the event loop turns while the folder is read
    QTimer heartbeat;
    QObject::connect(&heartbeat, &QTimer::timeout, [&] { ++turns; });
    heartbeat.start(0);

    form->InitializeMe();
    EXPECT_GE(turns, 2);
    EXPECT_EQ(titles.value(0), "Verzeichnis wird gelesen: 4.096 Einträge");
    EXPECT_EQ(form->windowTitle(), QDir::toNativeSeparators(big.path() + "/"));
    EXPECT_EQ(listed().size() + form->LineCount(), 2 * count);

    // Closed by the window system while reading: no question, the load stops, the window goes.
    newForm()->show();
    form->set_Startpfad(big.path());
    QTimer::singleShot(0, form.get(), [this] { form->close(); });
    form->InitializeMe();
    EXPECT_TRUE(!form->isVisible() && form->originalNames().isEmpty() && messenger.shown.isEmpty());
}

TEST_F(LifecycleTest, CtrlKeysFollowTheirItemsEnabledState)
{
    store("Options", "Directorys", "0");
    newForm()->Form_Load(files.path());
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QAction* restoreItem = child<QAction>("MEnuOriginalHerstellen");
    QAction* renameItem = child<QAction>("MenuNamenSetzen");

    // Right after a scan both items are disabled and their keys do nothing.
    ASSERT_FALSE(renameItem->isEnabled() || restoreItem->isEnabled());
    QSignalSpy restoreRuns(restoreItem, &QAction::triggered);
    press(Qt::Key_S);
    press(Qt::Key_O);
    EXPECT_EQ(messenger.beeps + restoreRuns.count(), 0);
    EXPECT_EQ(files.entries(), QStringList({"a.txt", "b.txt", "sub"}));

    // Changed names: Ctrl+O brings the originals back, Ctrl+S renames.
    const QString original = text();
    editEveryLine(QStringLiteral("x"));
    press(Qt::Key_O);
    EXPECT_EQ(text(), original);
    EXPECT_FALSE(renameItem->isEnabled() || restoreItem->isEnabled());
    editEveryLine(QStringLiteral("n_"));
    press(Qt::Key_S);
    EXPECT_TRUE(files.entries() == QStringList({"n_a.txt", "n_b.txt", "sub"}) && messenger.beeps >= 1);

    // Ctrl+N opens the chooser (the names are set, so without a question).
    press(Qt::Key_N);
    EXPECT_TRUE(form->chooser() && !form->isEnabled() && messenger.shown.isEmpty());
}

}  // namespace
