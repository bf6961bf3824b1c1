#include "files/TextFile.h"

#include <QFile>
#include <QFileInfo>

namespace files {

ReadStatus readRegularFile(const QString& path, qint64 limit, QByteArray& bytes)
{
    const QFileInfo info(path);
    if (!info.exists())
        return ReadStatus::Missing;
    // Devices and pipes are no files of names.
    if (!info.isFile())
        return ReadStatus::NotRegular;
    if (info.size() > limit)
        return ReadStatus::TooLarge;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ReadStatus::Unreadable;
    bytes = file.read(limit + 1);
    if (bytes.size() > limit)
        return ReadStatus::TooLarge;
    return file.error() == QFileDevice::NoError ? ReadStatus::Ok : ReadStatus::Unreadable;
}

}  // namespace files
