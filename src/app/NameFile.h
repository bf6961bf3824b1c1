#pragma once
// Reads a text file of names for the batch mode: one name per line.
#include <QByteArray>
#include <QString>

namespace app {

// The file's bytes as a name text: UTF-8 (with or without a byte order mark) where the bytes are
// valid UTF-8, otherwise Windows-1252. CR LF, CR and LF each end a line; a line end at the very
// end adds no empty line. Lines are joined by CR LF.
QString decodeNameFile(const QByteArray& bytes);

struct NameFileResult {
    bool ok = false;
    QString text;   // decoded, when ok
    QString error;  // German reason, when not ok
};

NameFileResult readNameFile(const QString& path);

}  // namespace app
