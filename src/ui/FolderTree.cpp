#include "ui/FolderTree.h"

#include "ui/PlainIcons.h"

#include <QFileSystemModel>
#include <QKeyEvent>

namespace ui {

FolderTree::FolderTree(QWidget* parent) : QTreeView(parent)
{
    m_model = new QFileSystemModel(this);
    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    m_model->setRootPath(QDir::rootPath());
    // Created after the model, so it is destroyed after it (children go in creation order).
    auto* icons = new PlainIconHolder(this);
    m_model->setIconProvider(&icons->icons);
    setModel(m_model);
    setHeaderHidden(true);
    for (int c = 1; c < m_model->columnCount(); ++c)
        hideColumn(c);
    setUniformRowHeights(true);

    connect(m_model, &QFileSystemModel::directoryLoaded, this, [this](const QString& loaded) {
        if (m_dir == loaded || m_dir.startsWith(loaded.endsWith(QLatin1Char('/')) ? loaded : loaded + QLatin1Char('/')))
            showCurrent();
    });
    // Sorting a freshly listed folder moves rows around after it was shown.
    connect(m_model, &QAbstractItemModel::layoutChanged, this, [this] {
        const QModelIndex current = m_model->index(m_dir);
        if (current.isValid())
            scrollTo(current, QAbstractItemView::PositionAtCenter);
    });
    // Only the user's choice moves the folder: the model also moves the current row while it loads.
    auto open = [this](const QModelIndex& index) {
        if (!index.isValid())
            return;
        m_dir = m_model->filePath(index);
        Q_EMIT folderChosen(m_dir);
    };
    connect(this, &QTreeView::clicked, this, open);
    connect(this, &QTreeView::doubleClicked, this, open);
}

FolderTree::~FolderTree() = default;

void FolderTree::showFolder(const QString& dir)
{
    m_dir = dir;
    showCurrent();
}

void FolderTree::showCurrent()
{
    const QModelIndex index = m_model->index(m_dir);
    if (!index.isValid())
        return;
    for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent())
        expand(parent);
    setCurrentIndex(index);
    scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void FolderTree::keyPressEvent(QKeyEvent* event)
{
    // Enter opens the folder; it must not also press the dialog's default button.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (currentIndex().isValid()) {
            m_dir = m_model->filePath(currentIndex());
            Q_EMIT folderChosen(m_dir);
        }
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

}  // namespace ui
