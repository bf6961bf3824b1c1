#include "ui/Messenger.h"

#include <QApplication>
#include <QMessageBox>

namespace ui {
namespace {

class BoxMessenger final : public Messenger {
public:
    Answer show(QWidget* parent, const QString& text, const QString& title, Buttons buttons, Icon icon) override
    {
        QMessageBox box(parent);
        box.setWindowTitle(title.isEmpty() ? appTitle() : title);
        // A lone CR is how several messages break their lines; the box wants LF.
        QString shown = text;
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        box.setText(shown);
        switch (icon) {
        case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
        case Icon::Information: box.setIcon(QMessageBox::Information); break;
        case Icon::Question: box.setIcon(QMessageBox::Question); break;
        case Icon::Stop: box.setIcon(QMessageBox::Critical); break;
        }
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

void beep() { g_current->beep(); }

void endProgram() { g_current->endProgram(); }

}  // namespace ui
