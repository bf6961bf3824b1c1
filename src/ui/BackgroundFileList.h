#pragma once
// The file list of a folder, read on a worker thread: a folder of 100,000 files must not freeze a window.
#include <QStringListModel>

namespace ui {

class BackgroundFileList : public QStringListModel {
    Q_OBJECT
public:
    explicit BackgroundFileList(QObject* parent = nullptr);
    ~BackgroundFileList() override;

    // Empties the list and reads the visible files of `dir` whose names match the wildcard `pattern`
    // (case-insensitive; empty lists all). Only the answer for the latest request is taken.
    void list(const QString& dir, const QString& pattern = QString());
    bool isListing() const { return m_pending; }

Q_SIGNALS:
    void listed();

private:
    int m_generation = 0;
    bool m_pending = false;
};

}  // namespace ui
