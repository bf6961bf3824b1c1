// The tool commands' CD number lists beside the append boxes: "CD1-" and on, put before every name of a CD's
// folder, moving on by one after each rename.
#include "mainwindow/ToolCommands.h"

#include "mainwindow/MainWindowUi.h"
#include "mainwindow/ToolFrames.h"
#include "transforms/LineTools.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

constexpr int kCdNumbers = 30;

}  // namespace

void ToolCommands::addCdPrefixTo(AppendFrame* frame)
{
    frame->left()->setChecked(true);
    QStringList entries;
    for (int i = 0; i < frame->cdCombo()->count(); ++i)
        entries << frame->cdCombo()->itemText(i);
    frame->text()->setText(transforms::addCdPrefix(frame->text()->text(), entries, frame->cdCombo()->currentText()));
    frame->button()->setFocus();
}

bool ToolCommands::autoCdOn() const
{
    return m_ui.appendFixed->autoCheck()->isChecked();
}

void ToolCommands::addCdPrefixIfAuto()
{
    if (autoCdOn())
        addCdPrefixTo(m_ui.appendFixed);
}

void ToolCommands::appendCdPrefixAfterScan()
{
    if (!autoCdOn())
        return;
    // Not a click: the window may still be disabled while the chooser scans.
    appendFromCopy(m_ui.appendFixed);
    m_ui.rename->setFocus();
}

void ToolCommands::advanceCdLists()
{
    for (QComboBox* combo : {m_ui.appendFixed->cdCombo(), m_ui.appendTop->cdCombo()}) {
        const int next = combo->currentIndex() + 1;
        if (next < combo->count())
            combo->setCurrentIndex(next);
    }
}

void ToolCommands::fillCdLists()
{
    QComboBox* cd1 = m_ui.appendFixed->cdCombo();
    QComboBox* cd2 = m_ui.appendTop->cdCombo();
    cd1->clear();
    cd2->clear();
    // The first list runs CD1- to CD9-, the second CD01- to CD30-.
    for (int i = 1; i <= kCdNumbers; ++i) {
        if (i <= 9) {
            cd1->addItem(QStringLiteral("CD%1-").arg(i));
            cd2->addItem(QStringLiteral("CD0%1-").arg(i));
        } else {
            cd2->addItem(QStringLiteral("CD%1-").arg(i));
        }
    }
    cd1->setCurrentIndex(0);
    cd2->setCurrentIndex(0);
}
