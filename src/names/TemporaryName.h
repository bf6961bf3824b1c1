#pragma once
// The temporary names the rename passes entries through.
#include <QString>

namespace names {

// A fresh "quillet-tmp-" name with 64 random bits. Only such names, which no
// other program can guess, are ever removed or renamed over by this program.
QString randomTemporaryName();
// Exactly such a name: the prefix and sixteen lower-case hexadecimal digits.
bool isTemporaryName(const QString& name);

}  // namespace names
