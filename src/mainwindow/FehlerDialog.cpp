#include "mainwindow/FehlerDialog.h"

#include "mainwindow/Form1.h"
#include "ui/Messenger.h"
#include "names/NameText.h"
#include "transforms/StringOps.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

FehlerDialog::FehlerDialog(Form1* owner) : QDialog(owner), m_owner(owner)
{
    setObjectName(QStringLiteral("Fehler"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    m_zeile1 = new QLineEdit(this);
    m_zeile1->setObjectName(QStringLiteral("Zeile1"));
    m_zeile1->setEnabled(false);
    m_zeile2 = new QLineEdit(this);
    m_zeile2->setObjectName(QStringLiteral("Zeile2"));
    m_command1 = new QPushButton(QStringLiteral("Setzen"), this);
    m_command1->setObjectName(QStringLiteral("Command1"));
    m_command1->setEnabled(false);
    m_command2 = new QPushButton(QStringLiteral("Abbruch"), this);
    m_command2->setObjectName(QStringLiteral("Command2"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(m_zeile1, 0, 0, 1, 2);
    grid->addWidget(m_zeile2, 1, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_command1);
    buttons->addWidget(m_command2);
    grid->addLayout(buttons, 2, 0, 1, 2);
    resize(560, 130);

    connect(m_zeile2, &QLineEdit::textChanged, this, &FehlerDialog::Zeile2_Change);
    connect(m_command1, &QPushButton::clicked, this, &FehlerDialog::Command1_Click);
    connect(m_command2, &QPushButton::clicked, this, &FehlerDialog::Command2_Click);
}

void FehlerDialog::setLine(const QString& line)
{
    m_zeile1->setText(line);
    m_zeile2->blockSignals(true);
    m_zeile2->setText(line);
    m_zeile2->blockSignals(false);
    m_command1->setEnabled(false);
}

void FehlerDialog::Zeile2_Change()
{
    // A change of letter case alone is no correction; nothing disables the button again.
    if (transforms::upperSameLength(m_zeile2->text()) != transforms::upperSameLength(m_zeile1->text()))
        m_command1->setEnabled(true);
}

void FehlerDialog::Command1_Click()
{
    // The dialog does not block, so the user may have edited the name text meanwhile: correct the line
    // only where it still stands as a whole line.
    const QString text = m_owner->Get_Eingabe_Text();
    const QString wanted = m_zeile1->text();
    qsizetype start = 0;
    qsizetype found = -1;
    while (start <= text.size()) {
        qsizetype end = text.indexOf(names::kCrLf, start);
        if (end < 0)
            end = text.size();
        if (QStringView(text).mid(start, end - start) == wanted) {
            found = start;
            break;
        }
        start = end + 2;
    }
    if (found < 0) {
        ui::message(this, QStringLiteral("Die Zeile \"%1\" steht nicht mehr im Namenstext. Es wurde nichts geändert.")
                              .arg(wanted));
        close();
        return;
    }
    const QString corrected = text.left(found) + m_zeile2->text() + text.mid(found + wanted.size());
    Form1* owner = m_owner;
    // Closed first, so that a further offending line can open a fresh dialog.
    close();
    owner->Set_Eingabe_Text(corrected);
    owner->SetzenClick();
}

void FehlerDialog::Command2_Click()
{
    close();
}
