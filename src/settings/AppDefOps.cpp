#include "settings/AppDefOps.h"

#include <QSettings>

namespace AppDefOps {
namespace {

// Fixed when the program is built; every setting lives under it.
const QString kAppName = QStringLiteral("Quillet");

QSettings openStore()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, kAppName, kAppName);
}

// The store's key for a section and key: levels become groups.
QString storeKey(const QString& section, const QString& key)
{
    QString s = normaliseSection(section);
    s.chop(s.endsWith(QLatin1Char('\\')) ? 1 : 0);
    s.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return s.isEmpty() ? key : s + QLatin1Char('/') + key;
}

QString textForm(const QVariant& value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    return value.toString();
}

}  // namespace

QString appName() { return kAppName; }

QString normaliseSection(const QString& section)
{
    if (section.isEmpty() || section.endsWith(QLatin1Char('\\')))
        return section;
    return section + QLatin1Char('\\');
}

void SaveAppSetting(const QString& section, const QString& key, const QVariant& value)
{
    QSettings store = openStore();
    store.setValue(storeKey(section, key), textForm(value));
}

QVariant GetAppSetting(const QString& section, const QString& key, const QVariant& defaultValue)
{
    QSettings store = openStore();
    const QString stored = store.value(storeKey(section, key)).toString();
    const bool defaultIsEmptyText = defaultValue.typeId() != QMetaType::Bool && textForm(defaultValue).isEmpty();
    if (stored.isEmpty() && !defaultIsEmptyText)
        return defaultValue;
    return stored;
}

bool toBool(const QVariant& value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    const QString t = value.toString().trimmed();
    if (t.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0)
        return true;
    bool isNumber = false;
    const int n = t.toInt(&isNumber);
    return isNumber && n != 0;
}

}  // namespace AppDefOps
