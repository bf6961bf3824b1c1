#pragma once
// The small window in which the user corrects a line with characters a name may not contain.
#include <QDialog>

class QLineEdit;
class QPushButton;
class Form1;

class FehlerDialog : public QDialog {
    Q_OBJECT
public:
    explicit FehlerDialog(Form1* owner);
    void setLine(const QString& line);

    QLineEdit* zeile1() const { return m_zeile1; }
    QLineEdit* zeile2() const { return m_zeile2; }
    QPushButton* setzenButton() const { return m_command1; }

    void Command1_Click();
    void Command2_Click();

private:
    void Zeile2_Change();
    Form1* m_owner;
    QLineEdit* m_zeile1;
    QLineEdit* m_zeile2;
    QPushButton* m_command1;
    QPushButton* m_command2;
};
