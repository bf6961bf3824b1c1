#pragma once
// A folder tree on the file system model with plain icons; it shows one current folder and reports the
// folder the user opens (click, double click or Enter).
#include <QString>
#include <QTreeView>

class QFileSystemModel;

namespace ui {

class FolderTree : public QTreeView {
    Q_OBJECT
public:
    explicit FolderTree(QWidget* parent = nullptr);
    ~FolderTree() override;

    // Makes `dir` the current folder; it is expanded and scrolled to once the model has listed its parents.
    void showFolder(const QString& dir);

Q_SIGNALS:
    void folderChosen(const QString& dir);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showCurrent();

    QFileSystemModel* m_model;
    QString m_dir;
};

}  // namespace ui
