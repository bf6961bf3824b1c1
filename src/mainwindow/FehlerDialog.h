#pragma once
// The small window in which the user corrects a line with characters a name may not contain.
#include <QDialog>

class QLineEdit;
class QPushButton;

class FehlerDialog : public QDialog {
    Q_OBJECT
public:
    explicit FehlerDialog(QWidget* parent);
    void setLine(const QString& line);

    QLineEdit* zeile1() const { return m_zeile1; }
    QLineEdit* zeile2() const { return m_zeile2; }
    QPushButton* setzenButton() const { return m_command1; }

    void Command1_Click();
    void Command2_Click();

Q_SIGNALS:
    // "Setzen": the line `wanted` of the name text is to read `corrected`, then the rename is to run again.
    void correctionRequested(const QString& wanted, const QString& corrected);

private:
    void Zeile2_Change();
    QLineEdit* m_zeile1;
    QLineEdit* m_zeile2;
    QPushButton* m_command1;
    QPushButton* m_command2;
};
