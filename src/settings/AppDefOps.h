#pragma once
// The per-user settings store: texts addressed by application name, section and key.
#include <QString>
#include <QVariant>

namespace AppDefOps {

// The application name every setting lives under.
QString appName();

// Sections use "\" between levels; a trailing "\" is no part of the name.
QString normaliseSection(const QString& section);

// Stores the text form of value: texts as they are, truth values as "True"/"False", numbers as decimal digits.
void SaveAppSetting(const QString& section, const QString& key, const QVariant& value);

// The stored text; the default itself (in its own type) when nothing or an empty text is stored and the default
// is not the empty text.
QVariant GetAppSetting(const QString& section, const QString& key, const QVariant& defaultValue = QString());

// Position and size of an open top-level window, found by its object name, in twips under "<name>\Pos\".
void SaveWindowPos(const QString& windowName);
void LoadWindowPos(const QString& windowName);

// A stored "True"/"False" (or any text) read as a truth value.
bool toBool(const QVariant& value);

}  // namespace AppDefOps
