#pragma once
// Qt's own texts (standard buttons, context menus, file dialogs, command-line help) in German.
#include <QStringList>

namespace app {

// Installs the German catalogues of Qt and of the editor component into the running application
// (a QCoreApplication must exist). Returns the catalogues that were found; a missing one leaves
// its texts in English and is no reason to stop.
QStringList loadGermanTranslations();

}  // namespace app
