#include "files/TextFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <array>
#include <optional>


namespace files {

namespace {

constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";
constexpr int kBomSize = 3;

// Windows-1252 from 0x80 to 0x9F; the five unassigned bytes map to the control characters of the same value,
// as the system's own conversion does.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QChar fromWindows1252(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return QChar(kHighControls[byte - 0x80]);
    return QChar(byte);
}

std::optional<char> toWindows1252(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return char(u);
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == u)
            return char(0x80 + i);
    return std::nullopt;
}

std::optional<QString> strictUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

bool isAscii(const QByteArray& bytes)
{
    for (const char b : bytes)
        if (static_cast<unsigned char>(b) >= 0x80)
            return false;
    return true;
}

// Lines ended by CR, CR LF or LF, joined by CR LF. The text between line ends is copied in runs, and a
// text that is joined so already is kept as it is: a names file of a million lines is read at once.
QString joinLines(const QString& raw)
{
    const QStringView v(raw);
    const qsizetype n = v.size();
    bool joined = n == 0 || (v.back() != u'\r' && v.back() != u'\n');
    for (qsizetype i = 0; joined && i < n; ++i) {
        if (v[i] == u'\r')
            joined = i + 1 < n && v[++i] == u'\n';
        else if (v[i] == u'\n')
            joined = false;
    }
    if (joined)
        return raw;
    QString text;
    text.reserve(n + n / 16);
    qsizetype start = 0;
    for (qsizetype i = 0; i < n;) {
        const char16_t c = v[i].unicode();
        if (c != u'\r' && c != u'\n') {
            ++i;
            continue;
        }
        text.append(v.sliced(start, i - start));
        i += c == u'\r' && i + 1 < n && v[i + 1] == u'\n' ? 2 : 1;
        if (i < n)  // the line end of the last line adds no empty line
            text.append(u"\r\n");
        start = i;
    }
    text.append(v.sliced(start));
    return text;
}

}  // namespace

QString decodeText(const QByteArray& bytes)
{
    if (bytes.startsWith(kUtf8Bom)) {
        // Only the first mark is the file's own: a second one is a U+FEFF at the start of the text,
        // which QString::fromUtf8 would drop as well.
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
        return decoder.decode(QByteArrayView(bytes).sliced(kBomSize));
    }
    if (std::optional<QString> utf8 = strictUtf8(bytes))
        return *utf8;
    QString text;
    text.reserve(bytes.size());
    for (const char b : bytes)
        text += fromWindows1252(static_cast<unsigned char>(b));
    return text;
}

QByteArray encodeText(const QString& text)
{
    QByteArray narrow;
    narrow.reserve(text.size());
    bool fits = true;
    for (const QChar c : text) {
        const std::optional<char> b = toWindows1252(c);
        if (!b) {
            fits = false;
            break;
        }
        narrow += *b;
    }
    // A narrow text whose bytes happen to form valid UTF-8 (such as "Ã¤") would be read back as other
    // characters; the byte-order mark keeps it exact.
    if (fits && (isAscii(narrow) || !strictUtf8(narrow)))
        return narrow;
    return QByteArray(kUtf8Bom) + text.toUtf8();
}

QString decodeLines(const QByteArray& bytes)
{
    return joinLines(decodeText(bytes));
}

ReadResult readTextFile(const QString& path)
{
    QByteArray bytes;
    const ReadStatus status = readRegularFile(path, kMaxTextFileBytes, bytes);
    if (status != ReadStatus::Ok)
        return {status, {}};
    return {ReadStatus::Ok, decodeLines(bytes)};
}

bool writeTextFile(const QString& path, const QString& text)
{
    if (QFileInfo(path).isDir())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = encodeText(text + QStringLiteral("\r\n"));
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace files
