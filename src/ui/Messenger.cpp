#include "ui/Messenger.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace ui {
namespace {

// The share of the screen a report may take at most; the list scrolls beyond it.
constexpr double kScreenShare = 0.8;
// Room for the list's frame and scroll bar, in average character widths.
constexpr int kListMarginChars = 4;
constexpr int kListMarginLines = 2;
// Where no screen can be asked (no window system yet), the report fits the smallest usual one.
constexpr QRect kFallbackScreen(0, 0, 800, 600);

QMessageBox::Icon boxIcon(Icon icon)
{
    switch (icon) {
    case Icon::None: return QMessageBox::NoIcon;
    case Icon::Information: return QMessageBox::Information;
    case Icon::Question: return QMessageBox::Question;
    case Icon::Stop: return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

// A lone CR is how several messages break their lines; widgets want LF.
QString withLineFeeds(const QString& text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

void showDetailsDialog(QWidget* parent, const QString& text, const QString& details, const QString& title, Icon icon)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("DetailsReport"));
    dialog.setWindowTitle(title.isEmpty() ? appTitle() : title);
    auto* layout = new QVBoxLayout(&dialog);
    auto* top = new QHBoxLayout;
    if (icon != Icon::None) {
        auto* picture = new QLabel(&dialog);
        const QStyle::StandardPixmap kind = icon == Icon::Stop       ? QStyle::SP_MessageBoxCritical
                                            : icon == Icon::Question ? QStyle::SP_MessageBoxQuestion
                                                                     : QStyle::SP_MessageBoxInformation;
        const int extent = dialog.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &dialog);
        picture->setPixmap(dialog.style()->standardIcon(kind, nullptr, &dialog).pixmap(extent, extent));
        picture->setAlignment(Qt::AlignTop);
        top->addWidget(picture);
    }
    auto* heading = new QLabel(withLineFeeds(text), &dialog);
    heading->setWordWrap(true);
    heading->setTextInteractionFlags(Qt::TextSelectableByMouse);
    top->addWidget(heading, 1);
    layout->addLayout(top);

    auto* list = new QPlainTextEdit(&dialog);
    list->setObjectName(QStringLiteral("DetailsList"));
    list->setReadOnly(true);
    list->setLineWrapMode(QPlainTextEdit::NoWrap);
    list->setPlainText(withLineFeeds(details));
    layout->addWidget(list, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    layout->addWidget(buttons);

    // As large as the list needs, but never beyond the screen: the list scrolls instead.
    const QFontMetrics metrics(list->font());
    const QStringList lines = list->toPlainText().split(QLatin1Char('\n'));
    int widest = 0;
    for (const QString& line : lines)
        widest = std::max(widest, metrics.horizontalAdvance(line));
    const QScreen* screen = parent && parent->screen() ? parent->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : kFallbackScreen;
    const int maxWidth = int(available.width() * kScreenShare);
    const int maxHeight = int(available.height() * kScreenShare);
    const int listWidth = widest + kListMarginChars * metrics.averageCharWidth();
    const int listHeight = int(lines.size() + kListMarginLines) * metrics.lineSpacing();
    const QSize wanted = dialog.sizeHint() + QSize(std::max(0, listWidth - list->sizeHint().width()),
                                                   std::max(0, listHeight - list->sizeHint().height()));
    dialog.resize(std::min(wanted.width(), maxWidth), std::min(wanted.height(), maxHeight));
    dialog.setMaximumSize(available.size());
    dialog.exec();
}

class BoxMessenger final : public Messenger {
public:
    Answer show(QWidget* parent, const QString& text, const QString& title, Buttons buttons, Icon icon) override
    {
        QMessageBox box(parent);
        box.setWindowTitle(title.isEmpty() ? appTitle() : title);
        box.setText(withLineFeeds(text));
        box.setIcon(boxIcon(icon));
        switch (buttons) {
        case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
        case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
        case Buttons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
        }
        switch (box.exec()) {
        case QMessageBox::Yes: return Answer::Yes;
        case QMessageBox::No: return Answer::No;
        case QMessageBox::Cancel: return Answer::Cancel;
        default: return buttons == Buttons::Ok ? Answer::Ok : (buttons == Buttons::YesNo ? Answer::No : Answer::Cancel);
        }
    }
    void showDetails(QWidget* parent, const QString& text, const QString& details, const QString& title,
                     Icon icon) override
    {
        showDetailsDialog(parent, text, details, title, icon);
    }
    void beep() override { QApplication::beep(); }
    void endProgram() override { QCoreApplication::exit(0); }
};

BoxMessenger g_default;
Messenger* g_current = &g_default;

}  // namespace

QString appTitle() { return QStringLiteral("Quillet"); }

Messenger& messenger() { return *g_current; }

void setMessenger(Messenger* replacement) { g_current = replacement ? replacement : &g_default; }

Answer message(QWidget* parent, const QString& text, const QString& title, Buttons buttons, Icon icon)
{
    return g_current->show(parent, text, title, buttons, icon);
}

void messageWithDetails(QWidget* parent, const QString& text, const QString& details, const QString& title, Icon icon)
{
    g_current->showDetails(parent, text, details, title, icon);
}

void beep() { g_current->beep(); }

void endProgram() { g_current->endProgram(); }

}  // namespace ui
