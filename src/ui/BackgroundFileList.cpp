#include "ui/BackgroundFileList.h"

#include "names/DirectoryScan.h"

#include <QCoreApplication>
#include <QPointer>
#include <QRegularExpression>
#include <QThreadPool>

namespace ui {

BackgroundFileList::BackgroundFileList(QObject* parent) : QStringListModel(parent) {}

BackgroundFileList::~BackgroundFileList() = default;

void BackgroundFileList::list(const QString& dir, const QString& pattern)
{
    const int generation = ++m_generation;
    m_pending = true;
    setStringList({});
    QPointer<BackgroundFileList> self(this);
    QThreadPool::globalInstance()->start([self, dir, pattern, generation] {
        QStringList files = names::scanDirectory(dir, names::ListingOptions{false, false}).names.toList();
        if (!pattern.isEmpty()) {
            const QRegularExpression match(QRegularExpression::wildcardToRegularExpression(pattern),
                                           QRegularExpression::CaseInsensitiveOption);
            files.removeIf([&match](const QString& name) { return !match.match(name).hasMatch(); });
        }
        // The answer is taken only while the list still exists and still waits for this folder.
        QMetaObject::invokeMethod(
            qApp,
            [self, generation, files = std::move(files)]() mutable {
                if (!self || self->m_generation != generation)
                    return;
                self->m_pending = false;
                self->setStringList(std::move(files));
                Q_EMIT self->listed();
            },
            Qt::QueuedConnection);
    });
}

}  // namespace ui
