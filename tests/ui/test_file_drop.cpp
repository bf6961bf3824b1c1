#include "ui/FileDrop.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDropEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QUrl>

#include <memory>

namespace {

std::unique_ptr<QMimeData> filesData(const QStringList& paths)
{
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const QString& p : paths)
        urls.append(QUrl::fromLocalFile(p));
    data->setUrls(urls);
    return data;
}

std::unique_ptr<QMimeData> textData(const QString& text)
{
    auto data = std::make_unique<QMimeData>();
    data->setText(text);
    return data;
}

// What a hovering drag is told, and whether the drop was taken.
bool enter(QWidget* target, const QMimeData* data)
{
    QDragEnterEvent e(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &e);
    return e.isAccepted();
}

bool drop(QWidget* target, const QMimeData* data)
{
    QDropEvent e(QPointF(5, 5), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &e);
    return e.isAccepted();
}

class FileDropTest : public ::testing::Test {
protected:
    FileDropTest()
    {
        surface.resize(300, 200);
        editor = new QPlainTextEdit(&surface);
        editor->setPlainText(QStringLiteral("name"));
        filter.addTarget(&surface);
        filter.addTarget(editor);
    }
    QWidget surface;
    QPlainTextEdit* editor;
    QStringList received;
    ui::FileDropFilter filter{[this](const QString& path) { received.append(path); }};
    testsupport::TempTree tree{{"dir/", "file.txt"}};
};

TEST_F(FileDropTest, FilesAreTakenOnEveryTarget)
{
    const auto files = filesData({tree.file("dir"), tree.file("file.txt")});
    for (QWidget* target : {&surface, static_cast<QWidget*>(editor), editor->viewport()}) {
        EXPECT_TRUE(enter(target, files.get())) << target->metaObject()->className();
        EXPECT_TRUE(drop(target, files.get()));
    }
    EXPECT_EQ(received, QStringList(3, tree.file("dir")));
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("name"));  // no path typed into the text
}

TEST_F(FileDropTest, OtherDropsAreRefusedWhileHovering)
{
    const auto text = textData(QStringLiteral("dragged words"));
    auto web = std::make_unique<QMimeData>();
    web->setUrls({QUrl(QStringLiteral("https://example.org/a.txt"))});
    for (const QMimeData* data : {static_cast<const QMimeData*>(text.get()), static_cast<const QMimeData*>(web.get())}) {
        for (QWidget* target : {&surface, editor->viewport()}) {
            EXPECT_FALSE(enter(target, data));
            EXPECT_FALSE(drop(target, data));
        }
    }
    EXPECT_TRUE(received.isEmpty());
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("name"));
}

TEST(DroppedLocalPaths, KeepsOnlyLocalPathsInOrder)
{
    auto data = std::make_unique<QMimeData>();
    data->setUrls({QUrl(QStringLiteral("https://example.org/x")), QUrl::fromLocalFile(QStringLiteral("/tmp/b")),
                   QUrl::fromLocalFile(QStringLiteral("/tmp/a b"))});
    EXPECT_EQ(ui::droppedLocalPaths(data.get()), (QStringList{QStringLiteral("/tmp/b"), QStringLiteral("/tmp/a b")}));
    EXPECT_TRUE(ui::droppedLocalPaths(nullptr).isEmpty());
    EXPECT_TRUE(ui::droppedLocalPaths(textData(QStringLiteral("/tmp/b")).get()).isEmpty());
}

}  // namespace
