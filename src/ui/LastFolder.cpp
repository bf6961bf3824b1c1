#include "ui/LastFolder.h"

#include <QDir>

namespace ui {

QString LastFolder::folder() const
{
    return m_folder.isEmpty() ? QDir::currentPath() : m_folder;
}

}  // namespace ui
