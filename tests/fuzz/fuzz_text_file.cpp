// Names files and text files: any bytes decode to lines joined by CR LF, and what is written for
// that text reads back to it.
#include "Fuzz.h"

#include "files/TextFile.h"

#include <QByteArray>
#include <QString>

namespace {

// The lines of a decoded text, worked out another way: every line end made a LF, the one at the very
// end dropped, the rest turned into CR LF.
QString linesByReplacing(QString raw)
{
    raw.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    raw.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (raw.endsWith(QLatin1Char('\n')))
        raw.chop(1);
    raw.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return raw;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));

    const QString raw = files::decodeText(bytes);
    const QString lines = files::decodeLines(bytes);
    // Whatever the input, the text holds no half surrogate pair and no line end but CR LF.
    FUZZ_CHECK(fuzz::wellFormed(raw));
    FUZZ_CHECK(lines == linesByReplacing(raw));
    // Every byte gives at most one character (a byte-order mark none).
    FUZZ_CHECK(raw.size() <= qsizetype(size));

    // Plain ASCII is taken as it is.
    bool ascii = true;
    for (size_t i = 0; i < size && ascii; ++i)
        ascii = data[i] < 0x80;
    if (ascii)
        FUZZ_CHECK(raw == QLatin1String(bytes));

    // What the program writes for a text (with the line end after the last line) reads back as that text.
    const QByteArray written = files::encodeText(lines + QStringLiteral("\r\n"));
    FUZZ_CHECK(files::decodeLines(written) == lines);
    FUZZ_CHECK(files::decodeText(files::encodeText(raw)) == raw);
    return 0;
}
