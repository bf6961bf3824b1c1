#include "settings/AlwaysOnTop.h"

#include "settings/WindowPlacement.h"
#include "support/TestSupport.h"

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
    // The control's state, the window's, the stored one and the picture shown, as one value.
    QString state(const AlwaysOnTop* c) const
    {
        return QStringList({c->GetIsOnTop() ? "on" : "off", placement::isStayOnTop(&host) ? "window-on" : "window-off",
                            setting("AlwaysOnTop", "OnTop"), shownPicture(c)})
            .join(' ');
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
    EXPECT_EQ(state(&fresh), "off window-off True AOT_Disabled");

    EXPECT_TRUE(control->focusPolicy() & Qt::TabFocus);
    host.show();
    host.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    control->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(control->hasFocus());
    EXPECT_EQ(control->look(), Look::Highlighted);  // the focus shows
    QTest::keyClick(control, Qt::Key_Space);
    EXPECT_EQ(state(control), "on window-on True AOT_Enabled");
    // A held key repeats: it still switches once.
    QTest::keyPress(control, Qt::Key_Return);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
    QCoreApplication::sendEvent(control, &repeat);
    EXPECT_EQ(state(control), "off window-off False AOT_MouseMove");
    QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(state(control), "on window-on True AOT_Enabled");
    QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(state(control), "off window-off False AOT_MouseMove");
}

TEST_F(AlwaysOnTopTest, HoverHighlightsOnlyTheNormalStateLoadingAppliesTheStoredOneAndThePicturesDiffer)
{
    hover(true);
    EXPECT_EQ(shownPicture(control), QStringLiteral("AOT_MouseMove"));
    hover(false);
    EXPECT_EQ(shownPicture(control), QStringLiteral("AOT_Disabled"));
    control->LoadSettings();  // nothing stored: on top
    hover(true);
    hover(false);
    EXPECT_EQ(state(control), "on window-on True AOT_Enabled");

    testsupport::store("AlwaysOnTop", "OnTop", "garbage");
    control->LoadSettings();
    EXPECT_EQ(state(control), "off window-off False AOT_MouseMove");

    // It keeps its size and has three distinct pictures.
    control->resize(100, 60);
    EXPECT_EQ(control->size(), QSize(21, 20));
    const QImage normal = ui::onTopPicture(Look::Normal).toImage();
    const QImage highlighted = ui::onTopPicture(Look::Highlighted).toImage();
    const QImage active = ui::onTopPicture(Look::Active).toImage();
    EXPECT_EQ(normal.size(), QSize(21, 20));
    // Drawn for the screen's pixel density, not enlarged.
    EXPECT_EQ(ui::onTopPicture(Look::Active, 2.0).toImage().size(), QSize(42, 40));
    EXPECT_TRUE(normal != highlighted && highlighted != active);
    // The normal look lies on the toolbar's own face; the other two draw a face of their own.
    EXPECT_EQ(QList<bool>({qAlpha(normal.pixel(10, 0)) > 0, qAlpha(highlighted.pixel(10, 0)) > 0, qAlpha(active.pixel(10, 0)) > 0}),
              QList<bool>({false, true, true}));
}

}  // namespace
