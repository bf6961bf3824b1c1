#include "app/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace app {

QStringList loadGermanTranslations()
{
    // Qt's own folder first; a program deployed with its libraries keeps them beside itself.
    const QStringList folders = {
        QLibraryInfo::path(QLibraryInfo::TranslationsPath),
        QCoreApplication::applicationDirPath() + QStringLiteral("/translations"),
    };
    QStringList loaded;
    for (const QString& catalogue : {QStringLiteral("qtbase_de"), QStringLiteral("qscintilla_de")}) {
        auto* translator = new QTranslator(QCoreApplication::instance());
        for (const QString& folder : folders) {
            if (translator->load(catalogue, folder)) {
                QCoreApplication::installTranslator(translator);
                loaded.append(catalogue);
                break;
            }
        }
        if (!loaded.contains(catalogue))
            delete translator;
    }
    return loaded;
}

}  // namespace app
