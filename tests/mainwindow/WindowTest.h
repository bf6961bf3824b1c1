#pragma once
// What the tests of the main window share: its kinds of widgets and the scripted helpers.
#include "chooser/Browser.h"
#include "mainwindow/NameTextEdit.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

// A fresh main window that lists files only.
class FilesWindowTest : public testsupport::FormTest {
protected:
    void SetUp() override
    {
        testsupport::store("Options", "Directorys", "0");
        newForm();
    }
};

// The upper toolbar, the button that brings the toolbars back, the lower toolbar and the button that
// brings that one back, each as 1 where shown: "1010" with both toolbars.
inline QString shownBands(const QWidget* form)
{
    QString bands;
    for (const char* name : {"ErweiterungsFrame", "Command18", "ControlsFrame", "ShowControlsDialogButton"})
        bands += testsupport::in<QWidget>(form, name)->isVisibleTo(form) ? u'1' : u'0';
    return bands;
}
