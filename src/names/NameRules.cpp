#include "names/NameRules.h"

namespace names {

bool hasThreeCharExtension(QStringView name)
{
    return name.size() >= 4 && name.at(name.size() - 4) == QLatin1Char('.');
}

QStringView displayName(QStringView name)
{
    return name.left(hasThreeCharExtension(name) ? name.size() - 4 : name.size());
}

QString applyExtensionRule(QStringView original, QStringView line)
{
    if (hasThreeCharExtension(original) && !hasThreeCharExtension(line)) {
        QString name;
        name.reserve(line.size() + 4);
        name.append(line).append(original.right(4));
        return name;
    }
    return line.toString();
}

bool isBlankLine(QStringView line)
{
    for (QChar c : line)
        if (c != QLatin1Char(' '))
            return false;
    return true;
}

}  // namespace names
