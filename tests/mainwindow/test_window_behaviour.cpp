// The main window as a window: its bands in every toolbar state, drops from the file manager and presses
// that move it, on a real window.
#include "WindowTest.h"
#include "ui/WindowMove.h"

#include <QMouseEvent>
#include <QUrl>

#include <functional>

namespace {

using namespace testsupport;

class WindowBehaviourTest : public FormTest {
protected:
    // A start with a path, shown at an outer size in twips.
    void startShown(int widthTwips = 15480, int heightTwips = 8720)
    {
        store("Options", "Directorys", "0");
        newForm()->Form_Load(files.path());
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        const QSize margins = form->frameGeometry().size() - form->geometry().size();
        form->resize(widthTwips / 15 - margins.width(), heightTwips / 15 - margins.height());
        QCoreApplication::processEvents();
    }
    bool shown(const char* name) const { return child<QWidget>(name)->isVisibleTo(form.get()); }
    QRect rect(const char* name) const { return child<QWidget>(name)->geometry(); }

    // The name text and the list lie between the bands that are shown, inside the window.
    void expectWorkAreaBetweenTheBands()
    {
        const QSize inner = form->centralWidget()->size();
        for (const char* box : {"Eingabe_Mit", "Original"}) {
            SCOPED_TRACE(box);
            const QRect r = rect(box);
            EXPECT_TRUE(r.height() > 0 && r.right() < inner.width());
            EXPECT_GT(r.top(), rect(shown("ErweiterungsFrame") ? "ErweiterungsFrame" : "Frame5").bottom());
            EXPECT_LT(r.bottom(), shown("ControlsFrame") ? rect("ControlsFrame").top() : inner.height());
        }
        EXPECT_LT(rect("Eingabe_Mit").right(), rect("Original").left());
    }

    TempTree files{{"a.txt", "b.txt", "c.txt"}};
};

TEST_F(WindowBehaviourTest, ToolbarsHideShowAndResetWithTheWorkAreaBetweenThem)
{
    startShown();
    // Runs a command; the bands it leaves shown, the work area between them, and where the name text lies.
    auto after = [&](const std::function<void()>& command, const char* bands) {
        command();
        EXPECT_EQ(shownBands(form.get()), bands);
        expectWorkAreaBetweenTheBands();
        return rect("Eingabe_Mit");
    };
    const QRect both = after([] {}, "1010");  // after a start with a path
    QAction* hideUpper = child<QAction>("MenFrameAUsblenden");
    const QRect noUpper = after([&] { hideUpper->trigger(); }, "0110");
    EXPECT_LT(noUpper.top(), both.top());
    EXPECT_EQ(after([&] { hideUpper->trigger(); }, "0110"), noUpper);  // already hidden: nothing more
    EXPECT_GT(after([&] { child<QAction>("MenuUntereToolleisteAusblenden")->trigger(); }, "0101").height(), noUpper.height());
    EXPECT_EQ(after([&] { child<QToolButton>("ShowControlsDialogButton")->click(); }, "0110"), noUpper);
    EXPECT_EQ(after([&] {
                  child<QToolButton>("CloseFrame2")->click();
                  child<QToolButton>("Command18")->click();
              }, "1010"), both);
    EXPECT_TRUE(child<QToolButton>("Command18")->isEnabled());
}

TEST_F(WindowBehaviourTest, EveryControlOfTheLowerToolbarIsWholeAndInsideAtTheStandardSize)
{
    for (const QSize outer : {QSize(9950, 5830), QSize(15480, 8720)}) {
        SCOPED_TRACE(outer.width());
        startShown(outer.width(), outer.height());
        expectWorkAreaBetweenTheBands();
        QWidget* toolbar = child<QWidget>("ControlsFrame");
        QList<QWidget*> controls;
        for (QWidget* w : toolbar->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (w->isVisibleTo(form.get()))
                controls.append(w);
        ASSERT_GE(controls.size(), 15);
        for (QWidget* w : controls) {
            SCOPED_TRACE(w->objectName().toStdString());
            EXPECT_TRUE(toolbar->rect().contains(w->geometry()));
            EXPECT_LT(toolbar->mapTo(form->centralWidget(), w->geometry().bottomRight()).y(), form->centralWidget()->height());
            const bool captioned = qobject_cast<QPushButton*>(w) || qobject_cast<QLabel*>(w);
            EXPECT_TRUE(!captioned || w->width() >= w->minimumSizeHint().width());  // caption not cut
            for (QWidget* other : controls)
                EXPECT_TRUE(other == w || !w->geometry().intersects(other->geometry())) << other->objectName().toStdString();
        }
        // The tool frames' titles and check boxes are whole too.
        for (const char* frame : {"Frame5", "Frame4", "Frame8"}) {
            QGroupBox* box = child<QGroupBox>(frame);
            EXPECT_GE(box->width(), box->minimumSizeHint().width()) << frame;
            for (QWidget* w : box->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                EXPECT_TRUE(box->rect().contains(w->geometry())) << w->objectName().toStdString();
        }
        EXPECT_GE(child<QWidget>("Check2")->width(), child<QWidget>("Check2")->minimumSizeHint().width());
        EXPECT_FALSE(rect("Frame5").intersects(rect("Frame4")) || rect("Frame4").intersects(rect("Frame8")));
        // The button that brings a hidden toolbar back stays inside the window, clear of the tool frames.
        child<QAction>("MenFrameAUsblenden")->trigger();
        ASSERT_TRUE(shown("Command18") && form->centralWidget()->rect().contains(rect("Command18")));
        for (const char* other : {"Frame5", "Frame4", "Frame8", "Label1", "Eingabe_Mit", "Original"})
            EXPECT_FALSE(rect("Command18").intersects(rect(other))) << other;
    }
}

TEST_F(WindowBehaviourTest, DroppedFilesLoadTheirDirectoryOnEachTarget)
{
    startShown();
    TempTree other{{"x.mp3", "y.mp3", "sub/"}};
    QMimeData fileList;
    fileList.setUrls({QUrl::fromLocalFile(other.file("y.mp3")), QUrl::fromLocalFile(files.path())});
    QWidget* surface = form->centralWidget();
    auto* mit = child<NameTextEdit>("Eingabe_Mit");
    auto* ohne = child<NameTextEdit>("Eingabe_Ohne");
    // A free spot of the surface: right of the fixed row's restore button, above the list's caption.
    const QPoint background(rect("Original").left() + 2, rect("Label1").top() - 2);
    ASSERT_EQ(surface->childAt(background), nullptr);
    const std::pair<QWidget*, QPoint> targets[] = {{surface, background}, {mit->viewport(), {5, 5}}, {ohne->viewport(), {5, 5}}};
    for (const auto& [target, at] : targets) {
        open(files);
        EXPECT_TRUE(dragAndDrop(target, fileList, at));
        EXPECT_EQ(form->startPfad() + u' ' + listed().join(u' ') + u' ' + text(), other.path() + "/ x.mp3 y.mp3 x\r\ny");
    }

    // A dropped folder that vanished meanwhile: an empty list in a window that stays usable.
    QMimeData vanished;
    vanished.setUrls({QUrl::fromLocalFile(other.path() + QStringLiteral("/gone/deeper"))});
    EXPECT_TRUE(dragAndDrop(mit->viewport(), vanished));
    EXPECT_TRUE(listed().isEmpty() && form->chooser() == nullptr && form->isVisible() && form->isEnabled()
                && messenger.shown.isEmpty());
}

TEST_F(WindowBehaviourTest, PressesOnTheBackgroundFramesAndLabelsMoveTheWindowButNotOnControls)
{
    startShown();
    if (ui::startWindowMove(form.get()))
        GTEST_SKIP() << "the window system moves the window";
    // Presses at `from`, moves by (30, 20) and releases, as the window system delivers it; how far the window went.
    auto drag = [&](QWidget* w, QPoint from, Qt::MouseButton button = Qt::LeftButton) {
        const QPoint before = form->pos();
        auto send = [w](QEvent::Type type, QPoint at, Qt::MouseButton changed, Qt::MouseButtons held) {
            QMouseEvent e(type, QPointF(at), w->mapToGlobal(QPointF(at)), changed, held, Qt::NoModifier);
            QApplication::sendEvent(w, &e);
        };
        send(QEvent::MouseButtonPress, from, button, button);
        send(QEvent::MouseMove, from + QPoint(30, 20), Qt::NoButton, button);
        send(QEvent::MouseButtonRelease, from + QPoint(30, 20), button, Qt::NoButton);
        return form->pos() - before;
    };
    const QPoint background(rect("Original").left() + 2, rect("Label1").top() - 2);
    EXPECT_EQ(drag(form->centralWidget(), background), QPoint(30, 20));
    for (const char* handle : {"Frame5", "Frame4", "Frame8"})
        EXPECT_EQ(drag(child<QWidget>(handle), QPoint(3, child<QWidget>(handle)->height() - 3)), QPoint(30, 20)) << handle;
    EXPECT_EQ(drag(child<QWidget>("Label1"), QPoint(3, 3), Qt::RightButton), QPoint(0, 0));
    for (const char* handle : {"Label1", "Label2"})
        EXPECT_EQ(drag(child<QWidget>(handle), QPoint(3, 3)), QPoint(30, 20)) << handle;
    for (QWidget* control : {child<QWidget>("Text4"), child<QWidget>("Abbruch"), child<QListView>("Original")->viewport(),
                             child<NameTextEdit>("Eingabe_Mit")->viewport()})
        EXPECT_EQ(drag(control, QPoint(3, 3)), QPoint(0, 0)) << control->objectName().toStdString();
}

}  // namespace
