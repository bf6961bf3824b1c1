#pragma once
// Text files of the name text: lines in, lines out, in the encodings older peers and Linux editors use.
#include <QByteArray>
#include <QString>

namespace files {

enum class ReadStatus {
    Ok,
    Missing,
    Unreadable,
    NotRegular,  // a folder, a pipe, a device: nothing a list of names is kept in
    TooLarge,    // larger than kMaxTextFileBytes
};

// Far above any list of names; keeps a mistaken or hostile file from filling the memory.
constexpr qint64 kMaxTextFileBytes = qint64(1) << 30;

struct ReadResult {
    ReadStatus status = ReadStatus::Unreadable;
    QString text;  // the file's lines joined by CR LF, no line end after the last line
};

// UTF-8 with a byte-order mark, otherwise valid UTF-8, otherwise Windows-1252. A CR, a CR LF or a LF
// ends a line; a line end at the very end of the file adds no empty line. Only a regular file (or a link
// to one) of at most kMaxTextFileBytes is read; a pipe or a device is never waited on.
ReadResult readTextFile(const QString& path);

// The bytes of the regular file `path`, at most `limit` of them; a pipe or a device is never opened.
ReadStatus readRegularFile(const QString& path, qint64 limit, QByteArray& bytes);

// Writes the text (lines separated by CR LF) with a CR LF after the last line, replacing the file
// atomically: on failure an existing file stays as it was.
bool writeTextFile(const QString& path, const QString& text);

// The bytes written for a text, and the text read from bytes (exposed for the encoding rules).
QByteArray encodeText(const QString& text);
QString decodeText(const QByteArray& bytes);
// decodeText, with its lines (ended by CR, CR LF or LF) joined by CR LF: what readTextFile gives.
QString decodeLines(const QByteArray& bytes);

}  // namespace files
