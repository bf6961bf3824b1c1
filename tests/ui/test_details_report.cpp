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

    QRect shownGeometry;
    QString listedText;
    bool readOnly = false;
    bool scrolls = false;
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seen = true;
        EXPECT_EQ(dialog->windowTitle(), "Nicht alle Namen wurden gesetzt");
        shownGeometry = dialog->frameGeometry();
        auto* list = dialog->findChild<QPlainTextEdit*>("DetailsList");
        ASSERT_NE(list, nullptr);
        listedText = list->toPlainText();
        readOnly = list->isReadOnly() && (list->textInteractionFlags() & Qt::TextSelectableByMouse);
        scrolls = list->verticalScrollBar()->maximum() > 0;
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    ui::messageWithDetails(nullptr, "300 Einträge wurden nicht umbenannt:", lines.join('\n'),
                           "Nicht alle Namen wurden gesetzt");
    ASSERT_TRUE(seen);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE(shownGeometry.height(), screen.height());
    EXPECT_LE(shownGeometry.width(), screen.width());
    EXPECT_EQ(listedText, lines.join('\n'));
    EXPECT_TRUE(readOnly);
    EXPECT_TRUE(scrolls);
}
