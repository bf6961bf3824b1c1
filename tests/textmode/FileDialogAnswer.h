#pragma once
// Answers the next modal file dialog from inside its own event loop: a file name (null: the one it
// proposes) and Ok, or Abbruch. Its caption is kept for the test to look at.
#include "support/TestSupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

inline QString fileDialogCaption;

inline void answerFileDialog(const QString& fileName, const char* button = "Ok")
{
    QTimer::singleShot(0, [fileName, button] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        fileDialogCaption = dialog->windowTitle();
        if (!fileName.isNull())
            testsupport::in<QLineEdit>(dialog, "FileName")->setText(fileName);
        testsupport::in<QPushButton>(dialog, button)->click();
    });
}
