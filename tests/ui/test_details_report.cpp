// The real report of a long list: it fits the screen, scrolls, and its list can be copied.
#include "ui/Messenger.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>

TEST(DetailsReport, AListLongerThanTheScreenScrollsInsideAWindowThatFits)
{
    ui::setMessenger(nullptr);  // the real dialogs
    QStringList lines;
    for (int i = 0; i < 300; ++i)
        lines.append(QStringLiteral("Zeile %1: „%2“: Zugriff verweigert").arg(i + 1).arg(QString(200, QLatin1Char('x'))));

    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seen = true;
        EXPECT_EQ(dialog->windowTitle(), "Nicht alle Namen wurden gesetzt");
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        EXPECT_TRUE(dialog->frameGeometry().height() <= screen.height() && dialog->frameGeometry().width() <= screen.width());
        auto* list = dialog->findChild<QPlainTextEdit*>("DetailsList");
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->toPlainText(), lines.join('\n'));
        EXPECT_TRUE(list->isReadOnly() && (list->textInteractionFlags() & Qt::TextSelectableByMouse));
        EXPECT_GT(list->verticalScrollBar()->maximum(), 0);
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    ui::messageWithDetails(nullptr, "300 Einträge wurden nicht umbenannt:", lines.join('\n'), "Nicht alle Namen wurden gesetzt");
    ASSERT_TRUE(seen);
}
