#pragma once
// Every message box and beep of the program goes through here, so tests can answer and count them.
#include <QString>

class QWidget;

namespace ui {

enum class Buttons { Ok, YesNo, YesNoCancel };
enum class Icon { None, Information, Question, Stop };
enum class Answer { Ok, Yes, No, Cancel };

class Messenger {
public:
    virtual ~Messenger() = default;
    // A modal message box; an empty title shows the application title.
    virtual Answer show(QWidget* parent, const QString& text, const QString& title, Buttons buttons, Icon icon) = 0;
    // A modal report with an OK button: `text` above a list of any length (`details`, one item a line) that
    // scrolls inside a window that fits the screen and can be selected and copied.
    virtual void showDetails(QWidget* parent, const QString& text, const QString& details, const QString& title,
                             Icon icon) = 0;
    virtual void beep() = 0;
    // Ends the program at once, without closing questions.
    virtual void endProgram() = 0;
};

// The product name, shown by message boxes that have no title of their own.
QString appTitle();

Messenger& messenger();
// Replaces the messenger (not owned); nullptr restores the default that shows real message boxes.
void setMessenger(Messenger* replacement);

// Shorthands.
Answer message(QWidget* parent, const QString& text, const QString& title = QString(),
               Buttons buttons = Buttons::Ok, Icon icon = Icon::None);
void messageWithDetails(QWidget* parent, const QString& text, const QString& details, const QString& title,
                        Icon icon = Icon::Stop);
void beep();
void endProgram();

}  // namespace ui
