// Text mode, saving and opening the name text as a text file, the update and the homepage.
#include "mainwindow/Form1.h"

#include "mainwindow/MainWindowUi.h"
#include "mainwindow/NameTextEdit.h"
#include "textmode/TextMode.h"
#include "ui/Contrast.h"
#include "ui/Messenger.h"
#include "web/Homepage.h"
#include "web/Update.h"
#include "web/WebSite.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>

#include <functional>
#include <utility>

namespace {

// Gives a label the look of a link and runs `open` when it is clicked, or when Space or Enter is pressed
// on it: Tab reaches it (a click does not take the focus from the name text).
class LinkLabel final : public QObject {
public:
    LinkLabel(QLabel* label, std::function<void()> open) : QObject(label), m_label(label), m_open(std::move(open))
    {
        QFont font = label->font();
        font.setUnderline(true);
        label->setFont(font);
        // Some dark palettes keep a link colour that is too dark to read on their window colour.
        QPalette palette = label->palette();
        palette.setColor(QPalette::Link, ui::contrast::visibleOn(palette.color(QPalette::Link), palette.color(QPalette::Window),
                                                                 palette.color(QPalette::WindowText), ui::contrast::kText));
        label->setPalette(palette);
        label->setForegroundRole(QPalette::Link);
        label->setCursor(Qt::PointingHandCursor);
        label->setFocusPolicy(Qt::TabFocus);
        label->setAccessibleDescription(QStringLiteral("Link: ") + label->toolTip());
        label->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonRelease: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            // A press dragged off the label before its release is no click.
            if (mouse->button() != Qt::LeftButton || !m_label->rect().contains(mouse->position().toPoint()))
                return false;
            m_open();
            return true;
        }
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool activates = key->key() == Qt::Key_Space || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
            if (!activates || key->isAutoRepeat() || key->modifiers() & ~Qt::KeypadModifier)
                return false;
            m_open();
            return true;
        }
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            // The focus shows as a highlighted link.
            showFocus(event->type() == QEvent::FocusIn);
            return false;
        default:
            return false;
        }
    }

private:
    void showFocus(bool focused)
    {
        m_label->setAutoFillBackground(focused);
        m_label->setBackgroundRole(focused ? QPalette::Highlight : QPalette::Window);
        m_label->setForegroundRole(focused ? QPalette::HighlightedText : QPalette::Link);
    }

    QLabel* m_label;
    std::function<void()> m_open;
};

// Passes everything on; before the program ends it lets `beforeEnd` run, so the window can go without
// its closing steps.
class EndingMessenger final : public ui::Messenger {
public:
    EndingMessenger(ui::Messenger& inner, std::function<void()> beforeEnd)
        : m_inner(inner), m_beforeEnd(std::move(beforeEnd))
    {
    }
    ui::Answer show(QWidget* parent, const QString& text, const QString& title, ui::Buttons buttons, ui::Icon icon) override
    {
        return m_inner.show(parent, text, title, buttons, icon);
    }
    void showDetails(QWidget* parent, const QString& text, const QString& details, const QString& title,
                     ui::Icon icon) override
    {
        m_inner.showDetails(parent, text, details, title, icon);
    }
    void beep() override { m_inner.beep(); }
    void endProgram() override
    {
        m_beforeEnd();
        m_inner.endProgram();
    }

private:
    ui::Messenger& m_inner;
    std::function<void()> m_beforeEnd;
};

// The two text-mode buttons stand in the room of the two rename buttons. A caption that needs more than its
// button's width takes it from the other button's spare room; the pair never reaches beyond its room.
void shareRoom(QWidget* left, QWidget* right)
{
    left->ensurePolished();
    right->ensurePolished();
    const int start = left->x();
    const int end = right->geometry().right();
    const int gap = right->x() - left->geometry().right() - 1;
    const int leftNeed = left->minimumSizeHint().width();
    const int rightNeed = right->minimumSizeHint().width();
    if ((leftNeed <= left->width() && rightNeed <= right->width()) || leftNeed + gap + rightNeed > end - start + 1)
        return;
    const int leftWidth = qMax(leftNeed, end - start + 1 - gap - qMax(rightNeed, right->width()));
    left->resize(leftWidth, left->height());
    right->setGeometry(start + leftWidth + gap, right->y(), end - (start + leftWidth + gap) + 1, right->height());
}

}  // namespace

void Form1::wireTextMode()
{
    MainWindowUi& u = *m_ui;
    shareRoom(u.saveTextFile, u.openTextFile);
    connect(u.textMode, &QPushButton::clicked, this, &Form1::Command6_Click);
    connect(u.saveTextFile, &QPushButton::clicked, this, &Form1::Command7_Click);
    connect(u.menuSaveTextFile, &QAction::triggered, this, &Form1::Command7_Click);
    connect(u.openTextFile, &QPushButton::clicked, this, &Form1::Command8_Click);
    connect(u.menuOpenTextFile, &QAction::triggered, this, &Form1::Command8_Click);
    // The save writes the text that is shown, so an edit in text mode makes the saved file stale as well.
    connect(u.nameTextTextMode, &NameTextEdit::changed, u.saveTextFile, [&u] { u.saveTextFile->setEnabled(true); });
    connect(u.menuDownload, &QAction::triggered, this, &Form1::Download_Click);
    connect(u.menuHomepage, &QAction::triggered, this, &Form1::Guestbook_Click);
    new LinkLabel(u.updateLink, [this] { Download_Click(); });
    new LinkLabel(u.homepageLink, [this] { Guestbook_Click(); });
}

void Form1::Command6_Click()
{
    // A command that lets events run meanwhile would write its result into a box that is no longer shown.
    if (m_locked)
        return;
    MainWindowUi& u = *m_ui;
    const bool toTextMode = !textmode::isTextMode(u.textMode->text());
    textmode::applyModeView(this, textmode::modeView(toTextMode));
    if (toTextMode) {
        Form_Resize();
        m_nameBox = u.nameTextTextMode;
        // A fresh start for the shown box: an undo must not bring back what it held in an earlier text mode.
        u.nameTextTextMode->loadText(u.nameTextDirectoryMode->text());
    } else {
        m_nameBox = u.nameTextDirectoryMode;
        // One undoable step: an undo in directory mode takes back the edits made in text mode.
        u.nameTextDirectoryMode->setText(u.nameTextTextMode->text());
        Form_Resize();
    }
}

void Form1::keepTextModeAfterScan()
{
    // A scan fills the directory-mode box; in text mode the new names belong in the box that is shown.
    if (!textmode::isTextMode(m_ui->textMode->text()))
        return;
    NameTextEdit* shown = m_ui->nameTextTextMode;
    shown->loadText(m_ui->nameTextDirectoryMode->text());
    m_nameBox = shown;
    m_ui->nameTextDirectoryMode->hide();
    shown->show();
}

void Form1::Command7_Click()
{
    if (textmode::saveNameTextAs(this, Get_Eingabe_Text(), ui::messenger()) == textmode::SaveOutcome::Saved)
        m_ui->saveTextFile->setEnabled(false);
}

void Form1::Command8_Click()
{
    const textmode::OpenOutcome opened = textmode::openNameTextFile(this, ui::messenger());
    if (opened.status != textmode::OpenStatus::Opened)
        return;
    // Each box takes the file as one undoable step.
    m_ui->nameTextDirectoryMode->setText(opened.text);
    m_ui->nameTextTextMode->setText(opened.text);
}

void Form1::setUpdateTarget(const QString& programDir, const QString& programFile)
{
    m_updateDir = programDir;
    m_updateFile = programFile;
}

void Form1::Download_Click()
{
    // Once the updater runs the program ends at once: no chooser, no question and no stored settings.
    EndingMessenger messenger(ui::messenger(), [this] { releaseChooser(); });
    web::Download_Click(this, messenger, m_updateDir, m_updateFile);
}

void Form1::Guestbook_Click()
{
    if (!web::Guestbook_Click())
        ui::message(this, QStringLiteral("Die Homepage konnte nicht geöffnet werden:\r\n") + web::homepageUrl(),
                    QString(), ui::Buttons::Ok, ui::Icon::Stop);
}
