// The directory chooser together with the main window it serves: options, confirm, every way out.
#include "chooser/Browser.h"

#include "settings/WindowPlacement.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QListView>
#include <QPushButton>
#include <QFileSystemModel>
#include <QTest>
#include <QTreeView>

#include <functional>

namespace {

using namespace testsupport;

QString option(const char* key) { return setting("Options", key); }

// The option controls: RenDirs checked, NurVerz checked, NurVerz enabled, file list enabled, as "1110".
QString controls(Browser* b)
{
    QString shown;
    for (const bool on : {in<QCheckBox>(b, "RenDirs")->isChecked(), in<QCheckBox>(b, "NurVerz")->isChecked(),
                          in<QCheckBox>(b, "NurVerz")->isEnabled(), in<QListView>(b, "File1")->isEnabled()})
        shown += on ? QLatin1Char('1') : QLatin1Char('0');
    return shown;
}

// The three ways out of the chooser that are not a confirm.
struct WayOut {
    const char* name;
    std::function<void(Browser*)> leave;
};

const WayOut kWaysOut[] = {
    {"Abbruch button", [](Browser* b) { b->findChild<QPushButton*>(QStringLiteral("Command2"))->click(); }},
    {"Escape", [](Browser* b) { QTest::keyClick(b, Qt::Key_Escape); }},
    {"title bar", [](Browser* b) { b->close(); }},
};

class BrowserTest : public FormTest {
protected:
    // A main window started as at program start without argument: the chooser is open.
    Browser* startWithChooser()
    {
        newForm()->Form_Load(QString());
        form->show();
        Browser* b = form->chooser();
        EXPECT_NE(b, nullptr);
        return b;
    }
    // The chooser is gone and the main window, enabled again, shows `dir`; the program goes on.
    void expectClosedOver(const TempTree& dir)
    {
        flushDeletes();
        EXPECT_TRUE(form->chooser() == nullptr && form->isEnabled() && messenger.ends == 0);
        EXPECT_EQ(form->startPfad(), dir.path() + QLatin1Char('/'));
    }

    // The window's flag, the check box and the menu item, as "111" where all say on top.
    QString onTop() const
    {
        return QString::number(placement::isStayOnTop(form.get())) + QString::number(form->alwaysOnTopBox())
               + QString::number(child<QAction>("MenAlwaysOnTop")->isChecked());
    }

    TempTree chosen{{"x.txt", "y.txt", "zdir/"}};
};

TEST_F(BrowserTest, OptionsAreStoredOnEveryClickAndReadWhenLoading)
{
    Browser* b = startWithChooser();
    EXPECT_EQ(controls(b), "1110");
    // Each click is stored at once; whatever NurVerz shows without RenDirs, the file list is usable.
    const std::pair<const char*, const char*> clicks[] = {{"RenDirs", "0/1 0101"}, {"RenDirs", "1/1 1110"},
                                                          {"NurVerz", "1/0 1011"}, {"NurVerz", "1/1 1110"}};
    for (const auto& [box, after] : clicks) {
        in<QCheckBox>(b, box)->click();
        EXPECT_EQ(option("Directorys") + u'/' + option("OnlyDirectorys") + u' ' + controls(b), after) << box;
    }

    // Loading reads them back, and the main window's scan follows them.
    struct Case {
        const char *directorys, *onlyDirectorys, *controls;
        QStringList scan;
    };
    const Case cases[] = {{"0", "0", "0001", {"file.txt"}}, {"0", "1", "0101", {"file.txt"}},
                          {"1", "0", "1011", {"alpha", "beta", "file.txt"}}, {"1", "1", "1110", {"alpha", "beta"}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.directorys) + "/" + c.onlyDirectorys);
        store("Options", "Directorys", c.directorys);
        store("Options", "OnlyDirectorys", c.onlyDirectorys);
        b = startWithChooser();
        EXPECT_EQ(controls(b), c.controls);
        EXPECT_EQ(listed(), c.scan);
        EXPECT_EQ(option("Directorys") + option("OnlyDirectorys"), QString::fromLatin1(c.directorys) + c.onlyDirectorys);
    }
}

// At the first start every way out ends the program; later it rescans and enables the window.
TEST_F(BrowserTest, EveryWayOutEndsTheFirstStartOrRescansAndEnablesTheWindow)
{
    store("Options", "Directorys", "0");
    for (const WayOut& way : kWaysOut) {
        SCOPED_TRACE(way.name);
        messenger.ends = 0;
        messenger.shown.clear();
        Browser* first = startWithChooser();
        ASSERT_TRUE(first->firstStart());
        way.leave(first);
        EXPECT_TRUE(messenger.ends == 1 && messenger.shown.isEmpty());
        messenger.ends = 0;

        newForm()->Form_Load(chosen.path());
        form->show();
        ASSERT_EQ(listed(), QStringList({"x.txt", "y.txt"}));
        const QString fresh = text();
        form->Set_Eingabe_Text(QStringLiteral("edited\r\nnames"));
        ASSERT_TRUE(form->isModified());

        messenger.answerNext(ui::Answer::Yes);
        child<QPushButton>("Verzeichnis")->click();
        Browser* b = form->chooser();
        ASSERT_TRUE(b && !form->isEnabled());
        chosen.add(QStringLiteral("w.txt"));

        way.leave(b);
        expectClosedOver(chosen);
        EXPECT_TRUE(!form->isModified() && form->recoverText() == text());
        EXPECT_EQ(text(), QStringLiteral("w\r\n") + fresh);
        QFile::remove(chosen.file(QStringLiteral("w.txt")));
    }
}

TEST_F(BrowserTest, ConfirmScansTheChosenDirectoryIntoTheMainWindow)
{
    store("Options", "Directorys", "0");
    store("Options", "OnlyDirectorys", "0");
    Browser* b = startWithChooser();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(b) && !form->isEnabled());
    // The chooser stays usable over the disabled main window: real mouse clicks reach it.
    QCheckBox* renDirs = in<QCheckBox>(b, "RenDirs");
    QTest::mouseClick(renDirs, Qt::LeftButton);
    EXPECT_TRUE(renDirs->isChecked() && option("Directorys") == "1");

    // While it scans, the chooser says so and neither of its buttons can be pressed.
    QStringList duringScan;  // caption, then whether Ok and Abbruch can be pressed
    QObject::connect(form.get(), &QWidget::windowTitleChanged, b, [&] {
        duringScan << b->windowTitle() + u' ' + QString::number(in<QPushButton>(b, "Ok")->isEnabled())
                          + QString::number(in<QPushButton>(b, "Command2")->isEnabled());
    });
    const QString caption = b->windowTitle();
    b->setCurrentDirectory(chosen.path());
    QTest::mouseClick(in<QPushButton>(b, "Ok"), Qt::LeftButton);
    ASSERT_FALSE(duringScan.isEmpty());
    EXPECT_EQ(duringScan, QStringList(duringScan.size(), QStringLiteral("Verzeichnis wird eingelesen.  Bitte Warten... 00")));
    EXPECT_EQ(b->windowTitle(), caption);  // given back after the scan

    expectClosedOver(chosen);
    EXPECT_TRUE(listed() == QStringList({"x.txt", "y.txt", "zdir"}) && messenger.shown.isEmpty());
    // The process's current directory is not the chooser's business.
    EXPECT_EQ(QDir::currentPath(), cwdTree.path());
}

TEST_F(BrowserTest, FileClickLoadsTheDirectoryAndEndsTheFirstStart)
{
    store("Options", "Directorys", "0");
    Browser* b = startWithChooser();
    b->setCurrentDirectory(chosen.path());
    b->File1_Click();
    EXPECT_TRUE(b->isVisible() && !b->firstStart() && form->isEnabled() && listed() == QStringList({"x.txt", "y.txt"}));

    // The chooser stays; leaving it now is an ordinary cancel, not the end of the program.
    b->close();
    expectClosedOver(chosen);
}

TEST_F(BrowserTest, StoredOnTopPutsTheWindowOnTopOnConfirm)
{
    for (const char* value : {"1", "0", "True"}) {
        SCOPED_TRACE(value);
        store("Options", "OnTop", value);
        Browser* b = startWithChooser();
        ASSERT_FALSE(placement::isStayOnTop(form.get()));
        in<QPushButton>(b, "Ok")->click();
        EXPECT_EQ(onTop() + option("OnTop"), (QByteArray(value) == "1" ? "111" : "000") + QString::fromLatin1(value));
        EXPECT_TRUE(form->isVisible());
    }
}

TEST_F(BrowserTest, StandardValuesResetTheMainWindow)
{
    Browser* b = startWithChooser();
    form->setGeometry(200, 150, 500, 400);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    const QRect before = form->geometry();
    for (const bool on : {true, false, true}) {  // each switch is stored and leaves the window in place
        child<QAction>("MenAlwaysOnTop")->trigger();
        EXPECT_EQ(onTop() + option("OnTop") + (form->geometry() == before ? "" : " moved"), on ? "1111" : "0000");
    }

    in<QCheckBox>(b, "SetToStandard")->click();
    in<QPushButton>(b, "Ok")->click();
    EXPECT_EQ(form->frameGeometry(), QRect(100 / 15, 100 / 15, 9950 / 15, 5830 / 15));
    EXPECT_TRUE(onTop() + option("OnTop") == "0000" && form->isEnabled());

    // The reset is not an option that persists.
    flushDeletes();
    child<QPushButton>("Verzeichnis")->click();
    ASSERT_NE(form->chooser(), nullptr);
    EXPECT_FALSE(in<QCheckBox>(form->chooser(), "SetToStandard")->isChecked());
}

}  // namespace

TEST_F(BrowserTest, EnterInTheFolderTreeOpensTheFolderWithoutConfirming)
{
    Browser* b = startWithChooser();
    b->setCurrentDirectory(chosen.path());
    auto* tree = in<QTreeView>(b, "Dir1");
    auto* model = static_cast<QFileSystemModel*>(tree->model());
    const QModelIndex sub = model->index(chosen.file("zdir"));
    ASSERT_TRUE(sub.isValid());
    tree->setCurrentIndex(sub);
    QTest::keyClick(tree, Qt::Key_Return);
    EXPECT_TRUE(form->chooser() == b && b->isVisible() && !form->isEnabled() && b->currentDirectory() == chosen.file("zdir"));
}
