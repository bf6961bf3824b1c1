#include "names/SafeRename.h"

namespace names {

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
