#include "ui/FileDrop.h"

#include <QAbstractScrollArea>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace ui {

QStringList droppedLocalPaths(const QMimeData* data)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    const QList<QUrl> urls = data->urls();
    for (const QUrl& url : urls)
        if (url.isLocalFile() && !url.toLocalFile().isEmpty())
            paths.append(url.toLocalFile());
    return paths;
}

FileDropFilter::FileDropFilter(std::function<void(const QString&)> onDrop, QObject* parent)
    : QObject(parent), m_onDrop(std::move(onDrop))
{
}

void FileDropFilter::addTarget(QWidget* target, Area where)
{
    if (where == Area::Background)
        m_backgroundOnly.insert(target);
    target->setAcceptDrops(true);
    target->installEventFilter(this);
    if (auto* area = qobject_cast<QAbstractScrollArea*>(target)) {
        area->viewport()->setAcceptDrops(true);
        area->viewport()->installEventFilter(this);
    }
}

bool FileDropFilter::overControl(QObject* target, QPointF position) const
{
    return m_backgroundOnly.contains(target) && static_cast<QWidget*>(target)->childAt(position.toPoint()) != nullptr;
}

bool FileDropFilter::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (droppedLocalPaths(drag->mimeData()).isEmpty() || overControl(watched, drag->position()))
            drag->ignore();
        else
            drag->acceptProposedAction();
        return true;  // the target's own handling (inserting text) never sees it
    }
    case QEvent::DragLeave:
        return true;
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QStringList paths = droppedLocalPaths(drop->mimeData());
        if (paths.isEmpty() || overControl(watched, drop->position())) {
            drop->ignore();
            return true;
        }
        drop->acceptProposedAction();
        m_onDrop(paths.first());
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

}  // namespace ui
