#include "settings/AlwaysOnTop.h"

#include "settings/WindowPlacement.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QEnterEvent>
#include <QImage>
#include <QLabel>
#include <QTest>

#include <memory>

using testsupport::setting;
using Look = AlwaysOnTop::Look;

namespace {

class AlwaysOnTopTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host = std::make_unique<QWidget>();
        host->resize(200, 100);
        control = new AlwaysOnTop(host.get());
        control->move(20, 30);
    }
    // Names of the pictures that are shown.
    QStringList shownPictures(const AlwaysOnTop* of = nullptr) const
    {
        const AlwaysOnTop* c = of ? of : control;
        QStringList shown;
        for (const char* name : {"AOT_Disabled", "AOT_MouseMove", "AOT_Enabled"})
            if (testsupport::in<QLabel>(c, name)->isVisibleTo(c))
                shown.append(QString::fromLatin1(name));
        return shown;
    }
    void hover(bool enter)
    {
        if (enter) {
            QEnterEvent e(QPointF(5, 5), QPointF(5, 5), QPointF(25, 35));
            QCoreApplication::sendEvent(control, &e);
        } else {
            QEvent e(QEvent::Leave);
            QCoreApplication::sendEvent(control, &e);
        }
    }

    testsupport::SettingsSandbox sandbox;
    std::unique_ptr<QWidget> host;
    AlwaysOnTop* control = nullptr;
};

TEST_F(AlwaysOnTopTest, NewControlIsNormalWhateverIsStored)
{
    testsupport::store("AlwaysOnTop", "OnTop", "True");
    AlwaysOnTop fresh(host.get());
    EXPECT_FALSE(fresh.GetIsOnTop());
    EXPECT_EQ(fresh.look(), Look::Normal);
    EXPECT_EQ(shownPictures(&fresh), QStringList{QStringLiteral("AOT_Disabled")});
    EXPECT_EQ(testsupport::in<QLabel>(&fresh, "AOT_Enabled")->toolTip(), QStringLiteral("Always on top"));
}

TEST_F(AlwaysOnTopTest, ClicksSwitchTheWindowAndStoreTheState)
{
    host->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
    QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(control->GetIsOnTop());
    EXPECT_TRUE(placement::isStayOnTop(host.get()));
    EXPECT_EQ(shownPictures(), QStringList{QStringLiteral("AOT_Enabled")});
    EXPECT_EQ(setting("AlwaysOnTop", "OnTop"), QStringLiteral("True"));

    QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(control->GetIsOnTop());
    EXPECT_FALSE(placement::isStayOnTop(host.get()));
    EXPECT_EQ(shownPictures(), QStringList{QStringLiteral("AOT_MouseMove")});
    EXPECT_EQ(setting("AlwaysOnTop", "OnTop"), QStringLiteral("False"));

    QTest::mouseClick(control, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_FALSE(control->GetIsOnTop());
}

TEST_F(AlwaysOnTopTest, HoverHighlightsOnlyTheNormalState)
{
    hover(true);
    EXPECT_EQ(shownPictures(), QStringList{QStringLiteral("AOT_MouseMove")});
    hover(false);
    EXPECT_EQ(shownPictures(), QStringList{QStringLiteral("AOT_Disabled")});
    control->SetToTop();
    hover(true);
    hover(false);
    EXPECT_EQ(shownPictures(), QStringList{QStringLiteral("AOT_Enabled")});
}

TEST_F(AlwaysOnTopTest, LoadSettingsAppliesTheStoredState)
{
    control->LoadSettings();  // nothing stored: on top
    EXPECT_TRUE(control->GetIsOnTop());
    EXPECT_EQ(setting("AlwaysOnTop", "OnTop"), QStringLiteral("True"));

    testsupport::store("AlwaysOnTop", "OnTop", "False");
    control->LoadSettings();
    EXPECT_FALSE(control->GetIsOnTop());
    EXPECT_EQ(control->look(), Look::Highlighted);

    control->SetToTop();
    testsupport::store("AlwaysOnTop", "OnTop", "garbage");
    control->LoadSettings();
    EXPECT_FALSE(control->GetIsOnTop());
    EXPECT_EQ(setting("AlwaysOnTop", "OnTop"), QStringLiteral("False"));
}

TEST_F(AlwaysOnTopTest, KeepsItsSize)
{
    EXPECT_EQ(control->size(), QSize(21, 20));
    control->resize(100, 60);
    EXPECT_EQ(control->size(), QSize(21, 20));
    control->setGeometry(0, 0, 5, 5);
    EXPECT_EQ(control->size(), QSize(21, 20));
}

TEST(AlwaysOnTopPictures, ThreeDistinctLooksOfTheControlsSize)
{
    const QImage normal = AlwaysOnTop::picture(Look::Normal).toImage();
    const QImage highlighted = AlwaysOnTop::picture(Look::Highlighted).toImage();
    const QImage active = AlwaysOnTop::picture(Look::Active).toImage();
    for (const QImage* image : {&normal, &highlighted, &active}) {
        EXPECT_EQ(image->size(), QSize(21, 20));
        EXPECT_TRUE(image->hasAlphaChannel());
    }
    EXPECT_NE(normal, highlighted);
    EXPECT_NE(highlighted, active);
    EXPECT_NE(normal, active);
    // The normal look sits on the toolbar's own face; the other two draw a face of their own.
    EXPECT_EQ(qAlpha(normal.pixel(10, 0)), 0);
    EXPECT_GT(qAlpha(highlighted.pixel(10, 0)), 0);
    EXPECT_GT(qAlpha(active.pixel(10, 0)), 0);
}

}  // namespace
