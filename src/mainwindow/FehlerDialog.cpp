#include "mainwindow/FehlerDialog.h"

#include "transforms/StringOps.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Wide enough for a long name in either line, high enough for both lines and the buttons.
constexpr QSize kStartSize(560, 130);

}  // namespace

FehlerDialog::FehlerDialog(QWidget* parent) : QDialog(parent)
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
    resize(kStartSize);

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
    const QString wanted = m_zeile1->text();
    const QString corrected = m_zeile2->text();
    // Closed first, so that a further offending line can open a fresh dialog.
    close();
    Q_EMIT correctionRequested(wanted, corrected);
}

void FehlerDialog::Command2_Click()
{
    close();
}
