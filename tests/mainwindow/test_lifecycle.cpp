// Start-up, choosing a directory, leaving the program and the options of the view menu, driven through
// the window's object names as a user would.
#include "mainwindow/Form1.h"

#include "chooser/Browser.h"
#include "mainwindow/NameTextEdit.h"
#include "settings/AppDefOps.h"
#include "settings/WindowPlacement.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <memory>
#include <ostream>

static void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
static void PrintTo(const QStringList& l, std::ostream* os) { *os << '[' << l.join(QStringLiteral("|")).toStdString() << ']'; }

namespace {

using testsupport::TempTree;

QString setting(const char* section, const char* key)
{
    return AppDefOps::GetAppSetting(QString::fromUtf8(section), QString::fromUtf8(key)).toString();
}

void store(const char* section, const char* key, const char* value)
{
    AppDefOps::SaveAppSetting(QString::fromUtf8(section), QString::fromUtf8(key), QString::fromUtf8(value));
}

// The process's current directory is the start path of a start without argument; every test gets its own.
class CurrentDir {
public:
    explicit CurrentDir(const QString& path) : m_old(QDir::currentPath()) { QDir::setCurrent(path); }
    ~CurrentDir() { QDir::setCurrent(m_old); }

private:
    QString m_old;
};

class LifecycleTest : public ::testing::Test {
protected:
    void TearDown() override { destroyForm(); }

    Form1* newForm()
    {
        destroyForm();
        form = std::make_unique<Form1>();
        return form.get();
    }

    void destroyForm()
    {
        if (form) {
            delete form->chooser();
            form.reset();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    template <class T>
    T* child(const char* name) const
    {
        T* c = form->findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    template <class T>
    static T* chooserChild(Browser* b, const char* name)
    {
        T* c = b->findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }

    QStringList listed() const
    {
        QStringList names;
        const QListWidget* list = child<QListWidget>("Original");
        for (int i = 0; list && i < list->count(); ++i)
            names << list->item(i)->text();
        return names;
    }

    // Every line of the name text gets a prefix: a change that keeps the line count.
    void editEveryLine(const QString& prefix)
    {
        QStringList lines = form->Get_Eingabe_Text().split(QStringLiteral("\r\n"));
        for (QString& line : lines)
            line.prepend(prefix);
        form->Set_Eingabe_Text(lines.join(QStringLiteral("\r\n")));
    }

    void showActive()
    {
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    void press(Qt::Key key)
    {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : form.get();
        QTest::keyClick(target, key, Qt::ControlModifier);
        QCoreApplication::processEvents();
    }

    testsupport::SettingsSandbox sandbox;
    testsupport::ScriptedMessenger messenger;
    TempTree cwdTree{{"alpha/", "beta/", "file.txt"}};
    CurrentDir cwd{cwdTree.path()};
    TempTree files{{"a.txt", "b.txt", "sub/"}};
    std::unique_ptr<Form1> form;
};

TEST_F(LifecycleTest, FirstStartWithoutSettingsOpensTheChooserOverTheDisabledWindow)
{
    newForm()->Form_Load(QString());

    EXPECT_EQ(child<QLabel>("MenuVersion")->text(), "Version: 2.04");
    EXPECT_TRUE(child<QAction>("ShowMessageBox")->isChecked());
    EXPECT_FALSE(child<QAction>("DisableSync")->isChecked());
    // The current directory is scanned; with the default options only its directories are listed.
    EXPECT_EQ(form->startPfad(), QDir::currentPath() + QLatin1Char('/'));
    EXPECT_EQ(form->windowTitle(), QDir::toNativeSeparators(QDir::currentPath() + QLatin1Char('/')));
    EXPECT_EQ(listed(), QStringList({"alpha", "beta"}));
    for (const char* name : {"Setzen", "OrigNamen"})
        EXPECT_FALSE(child<QPushButton>(name)->isEnabledTo(form.get())) << name;
    EXPECT_FALSE(child<QAction>("MenuNamenSetzen")->isEnabled());
    EXPECT_FALSE(child<QAction>("MEnuOriginalHerstellen")->isEnabled());

    // Toolbars: the upper one hidden (nothing stored), the lower one shown.
    EXPECT_FALSE(child<QFrame>("ErweiterungsFrame")->isVisibleTo(form.get()));
    EXPECT_TRUE(child<QToolButton>("Command18")->isVisibleTo(form.get()));
    EXPECT_TRUE(child<QGroupBox>("ControlsFrame")->isVisibleTo(form.get()));
    EXPECT_FALSE(child<QToolButton>("ShowControlsDialogButton")->isVisibleTo(form.get()));

    Browser* b = form->chooser();
    ASSERT_NE(b, nullptr);
    EXPECT_TRUE(b->isVisible());
    EXPECT_TRUE(chooserChild<QCheckBox>(b, "RenDirs")->isChecked());
    EXPECT_TRUE(chooserChild<QCheckBox>(b, "NurVerz")->isChecked());
    EXPECT_TRUE(b->firstStart());
    EXPECT_FALSE(form->isEnabled());
    EXPECT_TRUE(b->isEnabled());
    EXPECT_TRUE(chooserChild<QPushButton>(b, "Ok")->isEnabled());
    EXPECT_TRUE(messenger.shown.isEmpty());
}

TEST_F(LifecycleTest, StoredOptionsAreAppliedAtStart)
{
    struct Case {
        const char* messageboxen;
        bool lessBoxes;
    };
    for (const Case c : {Case{"1", false}, Case{"7", false}, Case{"0", true}, Case{"", true}}) {
        SCOPED_TRACE(c.messageboxen);
        store("Options", "Messageboxen", c.messageboxen);
        store("Frame", "Visible", "True");
        store("ControlsFrame", "Visible", "False");
        store("SyncListBoxen", "Enabled", "1");
        newForm()->Form_Load(QString());
        EXPECT_EQ(child<QAction>("ShowMessageBox")->isChecked(), c.lessBoxes);
        EXPECT_EQ(form->lessMessageBoxes(), c.lessBoxes);
        EXPECT_TRUE(child<QFrame>("ErweiterungsFrame")->isVisibleTo(form.get()));
        EXPECT_FALSE(child<QGroupBox>("ControlsFrame")->isVisibleTo(form.get()));
        EXPECT_TRUE(child<QToolButton>("ShowControlsDialogButton")->isVisibleTo(form.get()));
        EXPECT_TRUE(child<QAction>("DisableSync")->isChecked());
    }
}

TEST_F(LifecycleTest, PathArgumentOpensItsDirectoryWithoutTheChooser)
{
    store("Options", "Directorys", "0");
    files.add(QStringLiteral("sub/inner.txt"));
    struct Case {
        QString argument;
        QString opened;
        QStringList names;
    };
    const Case cases[] = {
        {files.path(), files.path(), {"a.txt", "b.txt"}},
        {files.path() + QLatin1Char('/'), files.path(), {"a.txt", "b.txt"}},
        {files.file("b.txt"), files.path(), {"a.txt", "b.txt"}},
        {files.file("sub/inner.txt"), files.file("sub"), {"inner.txt"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.argument.toStdString());
        newForm()->Form_Load(c.argument);
        EXPECT_EQ(form->chooser(), nullptr);
        EXPECT_EQ(form->startPfad(), c.opened + QLatin1Char('/'));
        EXPECT_EQ(listed(), c.names);
        EXPECT_TRUE(form->isVisible());
        EXPECT_TRUE(form->isEnabled());
        EXPECT_FALSE(child<QPushButton>("Setzen")->isEnabled());
        EXPECT_FALSE(child<QPushButton>("OrigNamen")->isEnabled());
        EXPECT_FALSE(child<QAction>("MEnuOriginalHerstellen")->isEnabled());
    }
    EXPECT_TRUE(messenger.shown.isEmpty());
}

TEST_F(LifecycleTest, RelativePathArgumentIsTakenFromTheCurrentDirectory)
{
    store("Options", "Directorys", "0");
    for (const QString& argument : {QStringLiteral("file.txt"), QStringLiteral(".")}) {
        SCOPED_TRACE(argument.toStdString());
        newForm()->Form_Load(argument);
        EXPECT_EQ(form->chooser(), nullptr);
        EXPECT_EQ(form->startPfad(), QDir::currentPath() + QLatin1Char('/'));
        EXPECT_EQ(listed(), QStringList({"file.txt"}));
    }
}

TEST_F(LifecycleTest, PathThatCannotBeOpenedShowsTheChooserOverAVisibleWindow)
{
    newForm()->Form_Load(files.path() + QStringLiteral("/missing/nothing.txt"));
    EXPECT_TRUE(form->isVisible());
    Browser* b = form->chooser();
    ASSERT_NE(b, nullptr);
    EXPECT_TRUE(b->isVisible());
    EXPECT_TRUE(chooserChild<QPushButton>(b, "Ok")->isEnabled());
    EXPECT_FALSE(form->isEnabled());
}

TEST_F(LifecycleTest, NewDirectoryAsksBeforeDiscardingChanges)
{
    store("Options", "Directorys", "0");
    newForm()->Form_Load(files.path());
    QPushButton* verzeichnis = child<QPushButton>("Verzeichnis");
    EXPECT_EQ(verzeichnis->text(), "&Neues Verz >>");

    // Unchanged names: no question.
    verzeichnis->click();
    EXPECT_TRUE(messenger.shown.isEmpty());
    ASSERT_NE(form->chooser(), nullptr);
    chooserChild<QPushButton>(form->chooser(), "Command2")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(form->chooser(), nullptr);
    ASSERT_TRUE(form->isEnabled());

    QTest::keyClicks(child<NameTextEdit>("Eingabe_Mit"), QStringLiteral("zz"));
    ASSERT_TRUE(form->isModified());
    const QString edited = form->Get_Eingabe_Text();
    const QString recover = form->recoverText();
    ASSERT_NE(edited, recover);

    messenger.answerNext(ui::Answer::No);
    verzeichnis->click();
    ASSERT_EQ(messenger.shown.size(), 1);
    EXPECT_EQ(messenger.shown[0].title, QStringLiteral("Änderungen verwerfen?"));
    EXPECT_EQ(messenger.shown[0].text, QStringLiteral("Achtung die Änderungen und die Recover-Möglichkeit (Original Namen) "
                                                      "werden dadurch verworfen! Möchten sie trotzdem fortfahren?"));
    EXPECT_EQ(messenger.shown[0].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(form->chooser(), nullptr);
    EXPECT_TRUE(form->isEnabled());
    EXPECT_EQ(form->Get_Eingabe_Text(), edited);
    EXPECT_EQ(form->recoverText(), recover);
    EXPECT_TRUE(child<QPushButton>("OrigNamen")->isEnabled());

    // Yes (through the menu's Ctrl+N item): the chooser opens over the disabled window, not as a first start.
    child<QPushButton>("Nummerieren")->setText(QStringLiteral("Nr. set&zen"));
    child<QAction>("MenNeuesVerzeichnis")->trigger();
    EXPECT_EQ(messenger.shown.size(), 2);
    ASSERT_NE(form->chooser(), nullptr);
    EXPECT_FALSE(form->chooser()->firstStart());
    EXPECT_FALSE(form->isEnabled());
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
    child<QAction>("DisableSync")->trigger();
    ASSERT_TRUE(child<QAction>("DisableSync")->isChecked());
    editEveryLine(QStringLiteral("x"));
    ASSERT_TRUE(child<QPushButton>("Setzen")->isEnabled());

    child<QPushButton>("Abbruch")->click();
    EXPECT_TRUE(messenger.shown.isEmpty());
    EXPECT_EQ(messenger.ends, 1);
    EXPECT_EQ(setting("Form1\\Pos\\", "Left"), QString::number(outer.left() * 15));
    EXPECT_EQ(setting("Form1\\Pos\\", "Top"), QString::number(outer.top() * 15));
    EXPECT_EQ(setting("Form1\\Pos\\", "Width"), QString::number(outer.width() * 15));
    EXPECT_EQ(setting("Form1\\Pos\\", "Height"), QString::number(outer.height() * 15));
    EXPECT_EQ(setting("Frame", "Visible"), "False");
    EXPECT_EQ(setting("ControlsFrame", "Visible"), "True");
    EXPECT_EQ(setting("SyncListBoxen", "Enabled"), "1");

    // Ending the program closes the window; that close must not ask either.
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(messenger.shown.isEmpty());

    // The menu's "&Beenden" is the same command, and the next start restores the window's place.
    newForm()->Form_Load(files.path());
    EXPECT_EQ(form->frameGeometry(), outer);
    child<QAction>("MenuUntereToolleisteAusblenden")->trigger();
    child<QAction>("MenAbbruch_Click")->trigger();
    EXPECT_EQ(messenger.ends, 2);
    EXPECT_EQ(setting("SyncListBoxen", "Enabled"), "0");
    EXPECT_EQ(setting("Frame", "Visible"), "True");
    EXPECT_EQ(setting("ControlsFrame", "Visible"), "False");
    EXPECT_TRUE(messenger.shown.isEmpty());
}

TEST_F(LifecycleTest, ClosingByTheWindowSystemAsksWhileNamesAreNotSet)
{
    store("Options", "Directorys", "0");
    newForm()->Form_Load(files.path());
    form->show();
    editEveryLine(QStringLiteral("x"));
    ASSERT_TRUE(child<QPushButton>("Setzen")->isEnabled());

    messenger.answerNext(ui::Answer::No);
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    ASSERT_EQ(messenger.shown.size(), 1);
    EXPECT_EQ(messenger.shown[0].text, QStringLiteral("Sie haben die Namen noch nicht gesetzt! Möchten sie trotzdem Beenden?"));
    EXPECT_EQ(messenger.shown[0].title, QStringLiteral("Noch nicht gespeichert!"));
    EXPECT_EQ(messenger.shown[0].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(messenger.shown[0].icon, ui::Icon::Information);
    EXPECT_EQ(setting("Frame", "Visible"), "True");  // stored before asking
    EXPECT_EQ(messenger.ends, 0);

    messenger.answerNext(ui::Answer::Yes);
    EXPECT_TRUE(form->close());
    EXPECT_EQ(messenger.shown.size(), 2);
    // Only Exit keeps the position and the synchronisation option.
    EXPECT_EQ(setting("Form1\\Pos\\", "Left"), "");
    EXPECT_EQ(setting("SyncListBoxen", "Enabled"), "");

    // Names not changed: no question.
    newForm()->Form_Load(files.path());
    form->show();
    EXPECT_TRUE(form->close());
    EXPECT_EQ(messenger.shown.size(), 2);
}

TEST_F(LifecycleTest, ClosingWhileTheChooserIsOpenStillAsksAndClosesTheChooser)
{
    store("Options", "Directorys", "0");
    newForm()->Form_Load(files.path());
    form->show();
    editEveryLine(QStringLiteral("x"));
    messenger.answerNext(ui::Answer::Yes);  // discard? yes, and the chooser opens over the disabled window
    child<QPushButton>("Verzeichnis")->click();
    ASSERT_NE(form->chooser(), nullptr);
    ASSERT_FALSE(form->isEnabled());

    messenger.answerNext(ui::Answer::No);
    EXPECT_FALSE(form->close());
    ASSERT_EQ(messenger.shown.size(), 2);
    EXPECT_EQ(messenger.shown[1].title, QStringLiteral("Noch nicht gespeichert!"));

    EXPECT_TRUE(form->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(form->chooser(), nullptr);
    EXPECT_EQ(messenger.ends, 0);
}

TEST_F(LifecycleTest, CtrlKeysFollowTheirItemsEnabledState)
{
    store("Options", "Directorys", "0");
    newForm()->Form_Load(files.path());
    showActive();
    QAction* restoreItem = child<QAction>("MEnuOriginalHerstellen");
    QAction* renameItem = child<QAction>("MenuNamenSetzen");
    EXPECT_EQ(restoreItem->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_EQ(renameItem->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(child<QAction>("MenNeuesVerzeichnis")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));

    // Right after a scan both items are disabled and their keys do nothing.
    ASSERT_FALSE(renameItem->isEnabled());
    ASSERT_FALSE(restoreItem->isEnabled());
    QSignalSpy restoreRuns(restoreItem, &QAction::triggered);
    press(Qt::Key_S);
    press(Qt::Key_O);
    EXPECT_EQ(messenger.beeps, 0);
    EXPECT_EQ(restoreRuns.count(), 0);
    EXPECT_EQ(files.entries(), QStringList({"a.txt", "b.txt", "sub"}));

    // Changed names: Ctrl+O brings the originals back.
    const QString original = form->Get_Eingabe_Text();
    editEveryLine(QStringLiteral("x"));
    ASSERT_TRUE(restoreItem->isEnabled());
    press(Qt::Key_O);
    EXPECT_EQ(form->Get_Eingabe_Text(), original);
    EXPECT_FALSE(restoreItem->isEnabled());
    EXPECT_FALSE(renameItem->isEnabled());

    // Ctrl+S renames.
    editEveryLine(QStringLiteral("n_"));
    ASSERT_TRUE(renameItem->isEnabled());
    press(Qt::Key_S);
    EXPECT_EQ(files.entries(), QStringList({"n_a.txt", "n_b.txt", "sub"}));
    EXPECT_GE(messenger.beeps, 1);

    // Ctrl+N opens the chooser (the names are set, so without a question).
    ASSERT_EQ(form->chooser(), nullptr);
    press(Qt::Key_N);
    EXPECT_NE(form->chooser(), nullptr);
    EXPECT_FALSE(form->isEnabled());
    EXPECT_TRUE(messenger.shown.isEmpty());
}

TEST_F(LifecycleTest, FewerMessageBoxesSurvivesARestart)
{
    newForm()->Form_Load(files.path());
    ASSERT_TRUE(child<QAction>("ShowMessageBox")->isChecked());
    for (const bool expected : {false, true, false}) {
        child<QAction>("ShowMessageBox")->trigger();
        ASSERT_EQ(child<QAction>("ShowMessageBox")->isChecked(), expected);
        newForm()->Form_Load(files.path());
        EXPECT_EQ(child<QAction>("ShowMessageBox")->isChecked(), expected);
        EXPECT_EQ(form->lessMessageBoxes(), expected);
    }
}

TEST_F(LifecycleTest, AlwaysOnTopItemStoresAndSwitchesTheWindow)
{
    newForm()->Form_Load(files.path());
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    const QRect before = form->geometry();
    QAction* item = child<QAction>("MenAlwaysOnTop");
    QCheckBox* box = child<QCheckBox>("AlwaysOnTop");
    EXPECT_FALSE(box->isVisibleTo(form.get()));

    // Setting the hidden box to what it holds runs nothing.
    form->setAlwaysOnTopBox(false);
    EXPECT_EQ(setting("Options", "OnTop"), "");

    item->trigger();
    EXPECT_EQ(setting("Options", "OnTop"), "1");
    EXPECT_TRUE(placement::isStayOnTop(form.get()));
    EXPECT_TRUE(box->isChecked());
    EXPECT_TRUE(item->isChecked());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->geometry(), before);

    item->trigger();
    EXPECT_EQ(setting("Options", "OnTop"), "0");
    EXPECT_FALSE(placement::isStayOnTop(form.get()));
    EXPECT_FALSE(box->isChecked());
    EXPECT_FALSE(item->isChecked());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->geometry(), before);
}

TEST_F(LifecycleTest, TipsMessage)
{
    newForm()->Form_Load(files.path());
    child<QAction>("MenTip")->trigger();
    ASSERT_EQ(messenger.shown.size(), 1);
    const testsupport::ShownMessage& m = messenger.shown[0];
    EXPECT_EQ(m.title, "Tips..");
    EXPECT_EQ(m.icon, ui::Icon::Information);
    EXPECT_EQ(m.buttons, ui::Buttons::Ok);
    EXPECT_EQ(m.text.count(QLatin1Char('\r')), 4);
    EXPECT_FALSE(m.text.contains(QLatin1Char('\n')));
    EXPECT_EQ(m.text.split(QLatin1Char('\r')),
              QStringList({"'^P' kann (wie in Winword) beim Ersetzen benutzt werden um Zeilenumbrüche zu ersetzen / einzufügen",
                           "Die CD-Combo-Box wird bei jedem Umbennen eins hochgezählt",
                           "Unter Optionen können die Meldungen (Messageboxen) reduziert werden", "",
                           "NEU: '*' kann beim Suchen & Ersetzen als Platzhalter benutzt werden!"}));
}

}  // namespace
