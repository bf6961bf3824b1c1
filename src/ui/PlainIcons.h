#pragma once
// Two plain icons for file system models; the platform's provider looks up each file's type in the MIME
// database, which costs seconds for a large folder.
#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QObject>
#include <QStyle>

namespace ui {

class PlainIcons : public QAbstractFileIconProvider {
public:
    QIcon icon(IconType type) const override { return type == Folder ? m_folder : m_file; }
    QIcon icon(const QFileInfo& info) const override { return info.isDir() ? m_folder : m_file; }
    QString type(const QFileInfo& info) const override
    {
        return info.isDir() ? QStringLiteral("Ordner") : QStringLiteral("Datei");
    }

private:
    QIcon m_folder = QApplication::style()->standardIcon(QStyle::SP_DirIcon);
    QIcon m_file = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
};

// A model keeps a plain pointer to its provider; an object created after the model is destroyed after it.
struct PlainIconHolder : QObject {
    using QObject::QObject;
    PlainIcons icons;
};

}  // namespace ui
