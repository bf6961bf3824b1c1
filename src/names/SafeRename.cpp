#include "names/SafeRename.h"

#include <QRandomGenerator>

namespace names {

namespace {

const QString kTemporaryPrefix = QStringLiteral("quillet-tmp-");

}  // namespace

QString randomTemporaryName()
{
    return kTemporaryPrefix + QStringLiteral("%1").arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0'));
}

bool isTemporaryName(const QString& name)
{
    return name.startsWith(kTemporaryPrefix);
}

QString fileSystemDisplayName(const QString& type)
{
    // A FUSE mount reports its driver as subtype ("fuse.sshfs"); without one only "FUSE" is known.
    if (type.startsWith(QLatin1String("fuse.")) && type.size() > 5)
        return type.mid(5);
    if (type == QLatin1String("fuse") || type == QLatin1String("fuseblk"))
        return QStringLiteral("FUSE");
    return type;
}

}  // namespace names
