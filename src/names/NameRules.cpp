#include "names/NameRules.h"

namespace names {

bool hasThreeCharExtension(const QString& name)
{
    return name.size() >= 4 && name.at(name.size() - 4) == QLatin1Char('.');
}

QString displayName(const QString& name)
{
    return hasThreeCharExtension(name) ? name.left(name.size() - 4) : name;
}

QString applyExtensionRule(const QString& original, const QString& line)
{
    if (hasThreeCharExtension(original) && !hasThreeCharExtension(line))
        return line + original.right(4);
    return line;
}

bool isBlankLine(const QString& line)
{
    for (QChar c : line)
        if (c != QLatin1Char(' '))
            return false;
    return true;
}

}  // namespace names
