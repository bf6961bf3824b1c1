#include "ui/FileDrop.h"

#include "support/TestSupport.h"

#include <QPlainTextEdit>
#include <QUrl>

namespace {

class FileDropTest : public ::testing::Test {
protected:
    FileDropTest()
    {
        editor->setPlainText(QStringLiteral("name"));
        filter.addTarget(&surface);
        filter.addTarget(editor);
    }
    QWidget surface;
    QPlainTextEdit* editor = new QPlainTextEdit(&surface);  // a scroll area, as the name text boxes are
    QStringList received;
    ui::FileDropFilter filter{[this](const QString& path) { received.append(path); }};
    testsupport::TempTree tree{{"dir/", "file.txt"}};
};

TEST_F(FileDropTest, FilesAreTakenOnEveryTarget)
{
    QMimeData files;
    files.setUrls({QUrl(QStringLiteral("https://example.org/x")), QUrl::fromLocalFile(tree.file("dir")),
                   QUrl::fromLocalFile(tree.file("file.txt"))});
    for (QWidget* target : {&surface, static_cast<QWidget*>(editor), editor->viewport()})
        EXPECT_TRUE(testsupport::dragAndDrop(target, files)) << target->metaObject()->className();
    EXPECT_EQ(received, QStringList(3, tree.file("dir")));  // the first local path
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("name"));  // no path typed into the text
}

TEST_F(FileDropTest, OtherDropsAreRefusedWhileHovering)
{
    QMimeData text;
    text.setText(tree.file("dir"));
    QMimeData web;
    web.setUrls({QUrl(QStringLiteral("https://example.org/a.txt"))});
    for (const QMimeData* data : {&text, &web})
        for (QWidget* target : {&surface, editor->viewport()})
            EXPECT_FALSE(testsupport::dragAndDrop(target, *data));
    EXPECT_TRUE(received.isEmpty() && editor->toPlainText() == QStringLiteral("name"));
}

}  // namespace
