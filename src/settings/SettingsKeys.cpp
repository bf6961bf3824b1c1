#include "settings/SettingsKeys.h"

#include "settings/AppDefOps.h"

namespace settings {

bool read(const Flag& flag)
{
    return read(flag, flag.whenAbsent);
}

bool read(const Flag& flag, bool whenAbsent)
{
    const QString text =
        AppDefOps::GetAppSetting(QString::fromLatin1(flag.section), QString::fromLatin1(flag.key), QString()).toString();
    if (text.isEmpty())
        return whenAbsent;
    switch (flag.reading) {
    case Reading::EqualsOne:
        return text == QLatin1String("1");
    case Reading::NumberIsOne:
        return text.trimmed().toInt() == 1;
    case Reading::NumberIsZero:
        return text.trimmed().toInt() == 0;
    case Reading::NotZero:
        return text != QLatin1String("0");
    case Reading::TrueFalse:
        return AppDefOps::toBool(text);
    }
    return whenAbsent;
}

QString windowPositionSection(const QString& windowName)
{
    return windowName + QLatin1String(keys::kWindowPositionSection);
}

void write(const Flag& flag, bool on)
{
    AppDefOps::SaveAppSetting(QString::fromLatin1(flag.section), QString::fromLatin1(flag.key),
                              QString::fromLatin1(on ? flag.onText : flag.offText));
}

}  // namespace settings
