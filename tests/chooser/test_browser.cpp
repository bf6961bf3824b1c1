// The directory chooser together with the main window it serves: options, confirm, every way out.
#include "chooser/Browser.h"

#include "mainwindow/Form1.h"
#include "settings/AppDefOps.h"
#include "settings/WindowPlacement.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <memory>
#include <ostream>

static void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
static void PrintTo(const QStringList& l, std::ostream* os) { *os << '[' << l.join(QStringLiteral("|")).toStdString() << ']'; }

namespace {

using testsupport::TempTree;

QString setting(const char* key)
{
    return AppDefOps::GetAppSetting(QStringLiteral("Options"), QString::fromUtf8(key)).toString();
}

void store(const char* key, const char* value)
{
    AppDefOps::SaveAppSetting(QStringLiteral("Options"), QString::fromUtf8(key), QString::fromUtf8(value));
}

class CurrentDir {
public:
    explicit CurrentDir(const QString& path) : m_old(QDir::currentPath()) { QDir::setCurrent(path); }
    ~CurrentDir() { QDir::setCurrent(m_old); }

private:
    QString m_old;
};

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

class BrowserTest : public ::testing::Test {
protected:
    void TearDown() override { destroyForm(); }

    // A main window started as at program start without argument: the chooser is open.
    Browser* startWithChooser()
    {
        destroyForm();
        form = std::make_unique<Form1>();
        form->Form_Load(QString());
        form->show();
        Browser* b = form->chooser();
        EXPECT_NE(b, nullptr);
        return b;
    }

    void destroyForm()
    {
        if (form) {
            delete form->chooser();
            form.reset();
        }
        flushDeletes();
    }

    static void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    template <class T>
    static T* in(QWidget* w, const char* name)
    {
        T* c = w->findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }

    QStringList listed() const
    {
        QStringList names;
        const QListWidget* list = in<QListWidget>(form.get(), "Original");
        for (int i = 0; list && i < list->count(); ++i)
            names << list->item(i)->text();
        return names;
    }

    testsupport::SettingsSandbox sandbox;
    testsupport::ScriptedMessenger messenger;
    TempTree cwdTree{{"alpha/", "start.txt"}};
    CurrentDir cwd{cwdTree.path()};
    TempTree chosen{{"x.txt", "y.txt", "zdir/"}};
    std::unique_ptr<Form1> form;
};

TEST_F(BrowserTest, OptionsAreStoredOnEveryClickAndReadWhenLoading)
{
    Browser* b = startWithChooser();
    EXPECT_EQ(b->windowTitle(), QStringLiteral("Verzeichnis wählen..") + QString(17, QLatin1Char(' ')) + QStringLiteral("Quillet 2.04"));
    QCheckBox* renDirs = in<QCheckBox>(b, "RenDirs");
    QCheckBox* nurVerz = in<QCheckBox>(b, "NurVerz");
    QListView* file1 = in<QListView>(b, "File1");
    EXPECT_TRUE(renDirs->isChecked());
    EXPECT_TRUE(nurVerz->isChecked());
    EXPECT_TRUE(nurVerz->isEnabled());
    EXPECT_FALSE(file1->isEnabled());
    EXPECT_FALSE(in<QCheckBox>(b, "SetToStandard")->isChecked());
    EXPECT_FALSE(in<QCheckBox>(b, "FirstStart")->isVisible());

    renDirs->click();
    EXPECT_EQ(setting("Directorys"), "0");
    EXPECT_FALSE(nurVerz->isEnabled());
    EXPECT_TRUE(nurVerz->isChecked());  // whatever it shows, the file list is usable
    EXPECT_TRUE(file1->isEnabled());

    renDirs->click();
    EXPECT_EQ(setting("Directorys"), "1");
    EXPECT_TRUE(nurVerz->isEnabled());
    EXPECT_FALSE(file1->isEnabled());

    nurVerz->click();
    EXPECT_EQ(setting("OnlyDirectorys"), "0");
    EXPECT_TRUE(file1->isEnabled());
    nurVerz->click();
    EXPECT_EQ(setting("OnlyDirectorys"), "1");
    EXPECT_FALSE(file1->isEnabled());

    // Loading reads them back, and the main window's scan follows them.
    struct Case {
        const char* directorys;
        const char* onlyDirectorys;
        bool renDirs, nurVerz, nurVerzEnabled, file1Enabled;
        QStringList scan;
    };
    const Case cases[] = {
        {"0", "0", false, false, false, true, {"start.txt"}},
        {"0", "1", false, true, false, true, {"start.txt"}},
        {"1", "0", true, false, true, true, {"alpha", "start.txt"}},
        {"1", "1", true, true, true, false, {"alpha"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.directorys) + "/" + c.onlyDirectorys);
        store("Directorys", c.directorys);
        store("OnlyDirectorys", c.onlyDirectorys);
        b = startWithChooser();
        EXPECT_EQ(in<QCheckBox>(b, "RenDirs")->isChecked(), c.renDirs);
        EXPECT_EQ(in<QCheckBox>(b, "NurVerz")->isChecked(), c.nurVerz);
        EXPECT_EQ(in<QCheckBox>(b, "NurVerz")->isEnabled(), c.nurVerzEnabled);
        EXPECT_EQ(in<QListView>(b, "File1")->isEnabled(), c.file1Enabled);
        EXPECT_EQ(listed(), c.scan);
        EXPECT_EQ(setting("Directorys"), c.directorys);
        EXPECT_EQ(setting("OnlyDirectorys"), c.onlyDirectorys);
    }
}

TEST_F(BrowserTest, EveryWayOutAtFirstStartEndsTheProgram)
{
    for (const WayOut& way : kWaysOut) {
        SCOPED_TRACE(way.name);
        messenger.ends = 0;
        Browser* b = startWithChooser();
        ASSERT_TRUE(b->firstStart());
        way.leave(b);
        EXPECT_EQ(messenger.ends, 1);
        EXPECT_TRUE(messenger.shown.isEmpty());
    }
}

TEST_F(BrowserTest, EveryWayOutOfALaterChooserRescansAndEnablesTheWindow)
{
    store("Directorys", "0");
    for (const WayOut& way : kWaysOut) {
        SCOPED_TRACE(way.name);
        destroyForm();
        form = std::make_unique<Form1>();
        form->Form_Load(chosen.path());
        form->show();
        ASSERT_EQ(listed(), QStringList({"x.txt", "y.txt"}));
        const QString fresh = form->Get_Eingabe_Text();
        form->Set_Eingabe_Text(QStringLiteral("edited\r\nnames"));
        ASSERT_TRUE(form->isModified());

        messenger.answerNext(ui::Answer::Yes);
        in<QPushButton>(form.get(), "Verzeichnis")->click();
        Browser* b = form->chooser();
        ASSERT_NE(b, nullptr);
        ASSERT_FALSE(form->isEnabled());
        chosen.add(QStringLiteral("w.txt"));

        way.leave(b);
        flushDeletes();
        EXPECT_EQ(messenger.ends, 0);
        EXPECT_EQ(form->chooser(), nullptr);
        EXPECT_TRUE(form->isEnabled());
        EXPECT_EQ(form->startPfad(), chosen.path() + QLatin1Char('/'));
        EXPECT_EQ(listed(), QStringList({"w.txt", "x.txt", "y.txt"}));
        EXPECT_FALSE(form->isModified());
        EXPECT_EQ(form->Get_Eingabe_Text(), QStringLiteral("w\r\n") + fresh);
        EXPECT_EQ(form->recoverText(), form->Get_Eingabe_Text());
        QFile::remove(chosen.file(QStringLiteral("w.txt")));
    }
}

TEST_F(BrowserTest, ConfirmScansTheChosenDirectoryIntoTheMainWindow)
{
    store("Directorys", "0");
    Browser* b = startWithChooser();
    ASSERT_FALSE(form->isEnabled());
    // While it scans, the chooser says so and neither of its buttons can be pressed.
    struct Seen {
        QString caption;
        bool ok, cancel;
    };
    QList<Seen> duringScan;
    QObject::connect(form.get(), &QWidget::windowTitleChanged, b, [&] {
        duringScan.append({b->windowTitle(), in<QPushButton>(b, "Ok")->isEnabled(), in<QPushButton>(b, "Command2")->isEnabled()});
    });
    const QString caption = b->windowTitle();

    b->setCurrentDirectory(chosen.path());
    in<QPushButton>(b, "Ok")->click();
    ASSERT_FALSE(duringScan.isEmpty());
    for (const Seen& s : duringScan) {
        EXPECT_EQ(s.caption, QStringLiteral("Verzeichnis wird eingelesen.  Bitte Warten..."));
        EXPECT_FALSE(s.ok);
        EXPECT_FALSE(s.cancel);
    }
    EXPECT_EQ(b->windowTitle(), caption);

    flushDeletes();
    EXPECT_EQ(form->chooser(), nullptr);
    EXPECT_TRUE(form->isEnabled());
    EXPECT_EQ(form->startPfad(), chosen.path() + QLatin1Char('/'));
    EXPECT_EQ(form->windowTitle(), QDir::toNativeSeparators(chosen.path() + QLatin1Char('/')));
    EXPECT_EQ(listed(), QStringList({"x.txt", "y.txt"}));
    EXPECT_EQ(messenger.ends, 0);
    EXPECT_TRUE(messenger.shown.isEmpty());
    // The process's current directory is not the chooser's business.
    EXPECT_EQ(QDir::currentPath(), cwdTree.path());
}

TEST_F(BrowserTest, FileClickLoadsTheDirectoryAndEndsTheFirstStart)
{
    store("Directorys", "0");
    Browser* b = startWithChooser();
    b->setCurrentDirectory(chosen.path());
    b->File1_Click();
    EXPECT_TRUE(b->isVisible());
    EXPECT_FALSE(b->firstStart());
    EXPECT_TRUE(form->isEnabled());
    EXPECT_EQ(listed(), QStringList({"x.txt", "y.txt"}));

    // The chooser stays; leaving it now is an ordinary cancel, not the end of the program.
    b->close();
    flushDeletes();
    EXPECT_EQ(messenger.ends, 0);
    EXPECT_EQ(form->chooser(), nullptr);
    EXPECT_TRUE(form->isEnabled());
    EXPECT_EQ(form->startPfad(), chosen.path() + QLatin1Char('/'));
}

TEST_F(BrowserTest, ChooserStaysUsableOverTheDisabledMainWindow)
{
    store("Directorys", "0");
    store("OnlyDirectorys", "0");
    Browser* b = startWithChooser();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(b));
    EXPECT_FALSE(form->isEnabled());
    EXPECT_TRUE(b->isEnabled());
    QCheckBox* renDirs = in<QCheckBox>(b, "RenDirs");
    EXPECT_TRUE(renDirs->isEnabled());

    // Real mouse clicks reach it.
    QTest::mouseClick(renDirs, Qt::LeftButton);
    EXPECT_TRUE(renDirs->isChecked());
    EXPECT_EQ(setting("Directorys"), "1");
    b->setCurrentDirectory(chosen.path());
    QTest::mouseClick(in<QPushButton>(b, "Ok"), Qt::LeftButton);
    flushDeletes();
    EXPECT_EQ(form->chooser(), nullptr);
    EXPECT_TRUE(form->isEnabled());
    EXPECT_EQ(listed(), QStringList({"x.txt", "y.txt", "zdir"}));
}

TEST_F(BrowserTest, StoredOnTopPutsTheWindowOnTopOnConfirm)
{
    for (const char* value : {"1", "0", "True"}) {
        SCOPED_TRACE(value);
        store("OnTop", value);
        Browser* b = startWithChooser();
        ASSERT_FALSE(placement::isStayOnTop(form.get()));
        in<QPushButton>(b, "Ok")->click();
        const bool onTop = QByteArray(value) == "1";
        EXPECT_EQ(placement::isStayOnTop(form.get()), onTop);
        EXPECT_EQ(form->alwaysOnTopBox(), onTop);
        EXPECT_EQ(in<QAction>(form.get(), "MenAlwaysOnTop")->isChecked(), onTop);
        EXPECT_EQ(setting("OnTop"), value);
        EXPECT_TRUE(form->isVisible());
    }
}

TEST_F(BrowserTest, StandardValuesResetTheMainWindow)
{
    Browser* b = startWithChooser();
    form->setGeometry(200, 150, 500, 400);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    form->setAlwaysOnTopBox(true);
    ASSERT_TRUE(placement::isStayOnTop(form.get()));
    ASSERT_EQ(setting("OnTop"), "1");

    in<QCheckBox>(b, "SetToStandard")->click();
    in<QPushButton>(b, "Ok")->click();
    EXPECT_EQ(form->frameGeometry(), QRect(100 / 15, 100 / 15, 9950 / 15, 5830 / 15));
    EXPECT_FALSE(placement::isStayOnTop(form.get()));
    EXPECT_FALSE(form->alwaysOnTopBox());
    EXPECT_FALSE(in<QAction>(form.get(), "MenAlwaysOnTop")->isChecked());
    EXPECT_EQ(setting("OnTop"), "0");
    EXPECT_TRUE(form->isEnabled());

    // The reset is not an option that persists.
    flushDeletes();
    in<QPushButton>(form.get(), "Verzeichnis")->click();
    ASSERT_NE(form->chooser(), nullptr);
    EXPECT_FALSE(in<QCheckBox>(form->chooser(), "SetToStandard")->isChecked());
}

}  // namespace
