#pragma once
// Lets widgets take files and directories dropped from the file manager. Every other drop (dragged text,
// web links) is refused while it hovers, so a text box never inserts it.
#include <QObject>
#include <QPointF>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

class QMimeData;
class QWidget;

namespace ui {

// The local paths of a drag's file list, in its order; empty when it carries none.
QStringList droppedLocalPaths(const QMimeData* data);

class FileDropFilter : public QObject {
    Q_OBJECT
public:
    explicit FileDropFilter(std::function<void(const QString& firstPath)> onDrop, QObject* parent = nullptr);

    // Where on a target a drop is taken: anywhere, or only on its background between its child controls
    // (a drag over a control that takes no drops reaches its parent, which must not take it there).
    enum class Area { Whole, Background };

    // A scroll area (text boxes, lists, the editor) gets its drag events on its viewport: both are watched.
    void addTarget(QWidget* target, Area where = Area::Whole);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool overControl(QObject* target, QPointF position) const;

    std::function<void(const QString&)> m_onDrop;
    QSet<QObject*> m_backgroundOnly;
};

}  // namespace ui
