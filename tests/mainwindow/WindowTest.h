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
