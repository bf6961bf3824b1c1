#include "settings/AlwaysOnTop.h"

#include "settings/WindowPlacement.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QEnterEvent>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QTest>

using testsupport::setting;
using Look = AlwaysOnTop::Look;

namespace {

class AlwaysOnTopTest : public ::testing::Test {
protected:
    AlwaysOnTopTest() { host.resize(200, 100); }
    // The one picture that is shown; "" when not exactly one is.
    QString shownPicture(const AlwaysOnTop* c) const
    {
        QStringList shown;
        for (const char* name : {"AOT_Disabled", "AOT_MouseMove", "AOT_Enabled"})
            if (testsupport::in<QLabel>(c, name)->isVisibleTo(c))
                shown.append(QString::fromLatin1(name));
        return shown.size() == 1 ? shown.first() : QString();
    }
    void hover(bool enter)
    {
        QEnterEvent in(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QEvent out(QEvent::Leave);
        QCoreApplication::sendEvent(control, enter ? static_cast<QEvent*>(&in) : &out);
    }

    testsupport::SettingsSandbox sandbox;
    QWidget host;
    AlwaysOnTop* control = new AlwaysOnTop(&host);
};

TEST_F(AlwaysOnTopTest, KeysAndClicksSwitchTheWindowOnceEachAndStoreTheState)
{
    testsupport::store("AlwaysOnTop", "OnTop", "True");
    AlwaysOnTop fresh(&host);  // a new control is normal, whatever is stored
    EXPECT_FALSE(fresh.GetIsOnTop());
    EXPECT_EQ(shownPicture(&fresh), QStringLiteral("AOT_Disabled"));

    EXPECT_TRUE(control->focusPolicy() & Qt::TabFocus);
    host.show();
    host.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    control->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(control->hasFocus());
    EXPECT_EQ(control->look(), Look::Highlighted);  // the focus shows
    QTest::keyClick(control, Qt::Key_Space);
    EXPECT_TRUE(control->GetIsOnTop());
    EXPECT_TRUE(placement::isStayOnTop(&host));
    EXPECT_EQ(setting("AlwaysOnTop", "OnTop"), QStringLiteral("True"));
    // A held key repeats: it still switches once.
    QTest::keyPress(control, Qt::Key_Return);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
    QCoreApplication::sendEvent(control, &repeat);
    EXPECT_FALSE(control->GetIsOnTop());
    EXPECT_FALSE(placement::isStayOnTop(&host));
    EXPECT_EQ(setting("AlwaysOnTop", "OnTop"), QStringLiteral("False"));

    QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(placement::isStayOnTop(&host));
    EXPECT_EQ(shownPicture(control), QStringLiteral("AOT_Enabled"));
    EXPECT_EQ(setting("AlwaysOnTop", "OnTop"), QStringLiteral("True"));
    QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(placement::isStayOnTop(&host));
    EXPECT_EQ(shownPicture(control), QStringLiteral("AOT_MouseMove"));
    EXPECT_EQ(setting("AlwaysOnTop", "OnTop"), QStringLiteral("False"));
}

TEST_F(AlwaysOnTopTest, HoverHighlightsOnlyTheNormalStateAndLoadingAppliesTheStoredOne)
{
    hover(true);
    EXPECT_EQ(shownPicture(control), QStringLiteral("AOT_MouseMove"));
    hover(false);
    EXPECT_EQ(shownPicture(control), QStringLiteral("AOT_Disabled"));
    control->LoadSettings();  // nothing stored: on top
    EXPECT_TRUE(control->GetIsOnTop());
    hover(true);
    hover(false);
    EXPECT_EQ(shownPicture(control), QStringLiteral("AOT_Enabled"));

    testsupport::store("AlwaysOnTop", "OnTop", "garbage");
    control->LoadSettings();
    EXPECT_FALSE(control->GetIsOnTop());
    EXPECT_EQ(control->look(), Look::Highlighted);
    EXPECT_EQ(setting("AlwaysOnTop", "OnTop"), QStringLiteral("False"));
}

TEST_F(AlwaysOnTopTest, KeepsItsSizeAndThreeDistinctPictures)
{
    control->resize(100, 60);
    EXPECT_EQ(control->size(), QSize(21, 20));
    const QImage normal = ui::onTopPicture(Look::Normal).toImage();
    const QImage highlighted = ui::onTopPicture(Look::Highlighted).toImage();
    const QImage active = ui::onTopPicture(Look::Active).toImage();
    EXPECT_EQ(normal.size(), QSize(21, 20));
    // Drawn for the screen's pixel density, not enlarged.
    EXPECT_EQ(ui::onTopPicture(Look::Active, 2.0).toImage().size(), QSize(42, 40));
    EXPECT_NE(normal, highlighted);
    EXPECT_NE(highlighted, active);
    // The normal look lies on the toolbar's own face; the other two draw a face of their own.
    EXPECT_EQ(qAlpha(normal.pixel(10, 0)), 0);
    EXPECT_GT(qAlpha(highlighted.pixel(10, 0)), 0);
    EXPECT_GT(qAlpha(active.pixel(10, 0)), 0);
}

}  // namespace
