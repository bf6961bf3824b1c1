#include "app/NameFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <array>

namespace app {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F. The five bytes it leaves undefined keep
// their C1 code points, so a rename refuses them as control characters instead of guessing.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString decodeCp1252(QByteArrayView bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* dst = out.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *dst++ = QChar(b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : char16_t(b));
    }
    return out;
}

QString decodeText(const QByteArray& bytes)
{
    static constexpr QByteArrayView kUtf8Bom("\xEF\xBB\xBF");
    if (bytes.startsWith(kUtf8Bom))
        return QString::fromUtf8(QByteArrayView(bytes).sliced(kUtf8Bom.size()));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return decodeCp1252(bytes);
}

}  // namespace

QString decodeNameFile(const QByteArray& bytes)
{
    const QString text = decodeText(bytes);
    QString out;
    out.reserve(text.size() + text.size() / 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            if (i + 1 < text.size())  // the end of the last line starts no new one
                out += QStringLiteral("\r\n");
        } else {
            out += c;
        }
    }
    return out;
}

NameFileResult readNameFile(const QString& path)
{
    NameFileResult result;
    if (QFileInfo(path).isDir()) {
        result.error = QStringLiteral("„%1“ ist ein Verzeichnis, keine Textdatei").arg(path);
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = QStringLiteral("Die Datei „%1“ kann nicht gelesen werden: %2").arg(path, file.errorString());
        return result;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.error = QStringLiteral("Die Datei „%1“ kann nicht gelesen werden: %2").arg(path, file.errorString());
        return result;
    }
    result.ok = true;
    result.text = decodeNameFile(bytes);
    return result;
}

}  // namespace app
