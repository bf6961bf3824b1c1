#include "names/TemporaryName.h"

#include <QRandomGenerator>

#include <algorithm>

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
    // Exactly what randomTemporaryName makes: a name that merely begins like one (or a path) is not ours.
    constexpr qsizetype kHexDigits = 16;
    if (name.size() != kTemporaryPrefix.size() + kHexDigits || !name.startsWith(kTemporaryPrefix))
        return false;
    return std::all_of(name.cbegin() + kTemporaryPrefix.size(), name.cend(), [](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('a') && c <= QLatin1Char('f'));
    });
}

}  // namespace names
