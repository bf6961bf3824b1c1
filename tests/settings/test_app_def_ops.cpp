#include "settings/AppDefOps.h"

#include "support/TestSupport.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>

static void PrintTo(const QPoint& p, std::ostream* os) { *os << p.x() << ',' << p.y(); }
static void PrintTo(const QVariant& v, std::ostream* os) { *os << (v.isValid() ? v.typeName() : "invalid") << " " << v.toString().toStdString(); }

using AppDefOps::GetAppSetting;
using AppDefOps::SaveAppSetting;
using testsupport::setting;

namespace {

const QString kPos = QStringLiteral("Form1\\Pos\\");

const QStringList kPosKeys = {"Height", "Width", "Top", "Left"};

void storePos(const QStringList& values)
{
    for (qsizetype i = 0; i < kPosKeys.size(); ++i)
        SaveAppSetting(kPos, kPosKeys[i], values[i]);
}

// Twips of the primary screen's width, the limit of the lost-window rule.
int screenWidthTwips()
{
    return (QGuiApplication::primaryScreen()->virtualGeometry().right() + 1) * 15;
}

class AppDefOpsTest : public ::testing::Test {
protected:
    // A top-level window of the name the main window has, created hidden as the main window is when it loads.
    QWidget* makeWindow(const QRect& geometry = QRect(30, 40, 500, 200))
    {
        window = std::make_unique<QWidget>();
        window->setObjectName(QStringLiteral("Form1"));
        window->setGeometry(geometry);
        return window.get();
    }

    testsupport::SettingsSandbox sandbox;
    testsupport::ScriptedMessenger messenger;
    std::unique_ptr<QWidget> window;
};

TEST_F(AppDefOpsTest, ValuesAreStoredInTheirTextFormUnderTheirSectionAndDefaultsKeepTheirType)
{
    SaveAppSetting(QStringLiteral("Options"), QStringLiteral("Text"), QStringLiteral("ä b\\c"));
    SaveAppSetting(QStringLiteral("Options"), QStringLiteral("Yes"), true);
    SaveAppSetting(QStringLiteral("Options"), QStringLiteral("No"), false);
    SaveAppSetting(QStringLiteral("Options"), QStringLiteral("Negative"), -20000);
    testsupport::store("Frame", "Text", "other");  // the same key under another section is another setting
    EXPECT_EQ(QStringList({setting("Options", "Text"), setting("Options", "Yes"), setting("Options", "No"), setting("Options", "Negative")}),
              QStringList({"ä b\\c", "True", "False", "-20000"}));
    EXPECT_TRUE(AppDefOps::toBool(GetAppSetting("Options", "Yes", false)) && !AppDefOps::toBool(GetAppSetting("Options", "No", true)));

    // A trailing backslash is no part of the section; the empty section is a place of its own.
    testsupport::store("Options\\", "A", "1");
    testsupport::store("", "Top", "4");
    testsupport::store("Form1\\Pos", "Top", "3");
    EXPECT_EQ(QStringList({setting("Options", "A"), setting("Form1\\Pos\\", "Top"), setting("Options\\", "Text"), setting("", "Top"),
                           setting("Pos", "Top")}),
              QStringList({"1", "3", "ä b\\c", "4", ""}));
    EXPECT_TRUE(messenger.shown.isEmpty());

    testsupport::store("Options", "Messageboxen", "");
    EXPECT_EQ(QStringList({GetAppSetting("Options", "Messageboxen", QStringLiteral("0")).toString(),
                           GetAppSetting("Options", "Messageboxen").toString(), GetAppSetting("Options", "NeverStored", QStringLiteral("1")).toString()}),
              QStringList({"0", "", "1"}));
    EXPECT_EQ(QVariantList({GetAppSetting("Frame", "Visible", true), GetAppSetting("Frame", "Visible", false)}), QVariantList({true, false}));
    EXPECT_EQ(GetAppSetting("Options", "NeverStored", 7).toInt(), 7);
    SaveAppSetting(QStringLiteral("Frame"), QStringLiteral("Visible"), false);  // something stored wins
    EXPECT_EQ(GetAppSetting("Frame", "Visible", true).toString(), "False");
}

TEST_F(AppDefOpsTest, ALostWindowComesBackAtOneHundredTwipsAndWhatIsNoNumberStaysAsDesigned)
{
    // Nothing stored leaves the window as designed.
    makeWindow(QRect(37, 41, 333, 222));
    AppDefOps::LoadWindowPos(QStringLiteral("Form1"));
    EXPECT_EQ(window->geometry(), QRect(37, 41, 333, 222));
    EXPECT_FALSE(window->isVisible());

    const int sw = screenWidthTwips();
    struct Case {
        QString height, width, top, left;
        bool lost;
    };
    const Case cases[] = {
        {"5000", "9950", "3000", "-20000", true},                   // far left of the screen
        {"5000", "9950", "3000", "-9950", false},                   // right edge exactly at 0
        {"5000", "9950", "3000", "-9951", true},
        {"3000", "9950", "-3000", "600", false},                    // bottom edge exactly at 0
        {"3000", "9950", "-3001", "600", true},
        {"3000", "3000", "1500", QString::number(sw), false},       // left edge exactly at the screen's width
        {"3000", "3000", "1500", QString::number(sw + 1), true},
        {"3000", "3000", "1000000", "600", false},                  // far below: the height of the screen is not checked
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(qPrintable(QStringLiteral("H %1 W %2 T %3 L %4").arg(c.height, c.width, c.top, c.left)));
        storePos({c.height, c.width, c.top, c.left});
        QWidget* w = makeWindow();
        AppDefOps::LoadWindowPos(QStringLiteral("Form1"));
        const QPoint stored(c.left.toInt() / 15, c.top.toInt() / 15);
        EXPECT_EQ(w->frameGeometry().topLeft(), c.lost ? QPoint(100 / 15, 100 / 15) : stored);
        EXPECT_EQ(w->isVisible(), c.lost);  // a lost window is shown at once
    }

    // No number leaves that property as designed.
    storePos({"4500", "abc", "600", "450"});
    QWidget* designed = makeWindow(QRect(10, 10, 500, 200));
    AppDefOps::LoadWindowPos(QStringLiteral("Form1"));
    EXPECT_EQ(designed->frameGeometry(), QRect(30, 40, 500, 300));
    storePos({"x1", "6000", "", "450"});  // an empty value is as good as none
    designed = makeWindow(QRect(10, 20, 500, 200));
    AppDefOps::LoadWindowPos(QStringLiteral("Form1"));
    EXPECT_EQ(designed->frameGeometry(), QRect(30, 20, 400, 200));
}

TEST_F(AppDefOpsTest, AMinimisedWindowKeepsThePreviousRecordAndAnUnknownNameIsReportedAndChangesNothing)
{
    storePos({"4500", "6000", "600", "450"});
    QWidget* w = makeWindow(QRect(100, 120, 300, 250));
    w->showMinimized();
    ASSERT_TRUE(w->isMinimized());
    AppDefOps::SaveWindowPos(QStringLiteral("Form1"));
    QStringList kept;
    for (const QString& key : kPosKeys)
        kept << AppDefOps::GetAppSetting(kPos, key).toString();
    EXPECT_EQ(kept, QStringList({"4500", "6000", "600", "450"}));

    w = makeWindow(QRect(11, 12, 313, 214));
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));

    AppDefOps::SaveWindowPos(QStringLiteral("form1"));  // the name's case counts
    AppDefOps::LoadWindowPos(QStringLiteral("NoSuchWindow"));

    const testsupport::ShownMessage notFound{"FormName not found\r(AppDefOps.LoadWindowPos)", "Quillet"};
    EXPECT_EQ(messenger.shown, QList<testsupport::ShownMessage>({notFound, notFound}));
    EXPECT_EQ(QStringList({setting("Form1\\Pos\\", "Left"), setting("form1\\Pos\\", "Left"), setting("NoSuchWindow\\Pos\\", "Left")}),
              QStringList({"450", "", ""}));
    EXPECT_EQ(w->geometry(), QRect(11, 12, 313, 214));
    EXPECT_EQ(messenger.ends, 0);
}

}  // namespace
