#include "ui/LastFolder.h"

#include <QDir>

namespace ui {

namespace {
QString g_lastFolder;
}

QString lastFolder()
{
    return g_lastFolder.isEmpty() ? QDir::currentPath() : g_lastFolder;
}

void setLastFolder(const QString& folder)
{
    g_lastFolder = folder;
}

}  // namespace ui
