// Text files: every line end and both encodings read back to the name text; written files are exact.
#include "files/TextFile.h"
#include "textmode/TextMode.h"

#include "support/TestSupport.h"

#include <QFile>

#include <sys/stat.h>

namespace {

using namespace testsupport;
using files::readTextFile;
using files::ReadStatus;
using files::writeTextFile;

QString readBytes(const QByteArray& bytes)
{
    TempTree tree;
    tree.add("in.txt", bytes);
    const files::ReadResult read = readTextFile(tree.file("in.txt"));
    EXPECT_EQ(read.status, ReadStatus::Ok);
    return read.text;
}

// Each line end ends a line and the last adds none; a byte order mark is dropped; a file that is no valid
// UTF-8 is Windows-1252, not Latin-1.
TEST(TextFileRead, LineEndsAndEncodings)
{
    const struct {
        QByteArray bytes;
        QString text;
    } cases[] = {
        {"", ""},
        {"\r\n", ""},
        {"a", "a"},
        {"a\r\nb\r\n", "a\r\nb"},
        {"a\r\n\r\n", "a\r\n"},
        {"a\n\nb", "a\r\n\r\nb"},
        {"a\rb\nc\r\n\r\nd", "a\r\nb\r\nc\r\n\r\nd"},
        {"\n\r", "\r\n"},                      // LF then a lone CR: two empty lines
        {"a\r\nb\r\nc", "a\r\nb\r\nc"}, {"a\r\nb\nc\r\nd", "a\r\nb\r\nc\r\nd"}, {"a\r\nb\r", "a\r\nb"},
        {"\xEF\xBB\xBF\xC3\xA4\n", "ä"},         // byte order mark dropped
        {"\xEF\xBB\xBF\xEF\xBB\xBF" "a", QStringLiteral("\uFEFFa")},  // the second mark is text
        {"\xC3\xA4\xE4", "Ã¤ä"},                 // one invalid byte: the whole file is Windows-1252
        {"\x80 \x84 \x93 \xE4", QStringLiteral("€ „ “ ä")},
        {"\x80\x81\x9F\xFF", "€\u0081Ÿÿ"},      // unassigned: kept as its control character
        // Every line end in either encoding, a mark before UTF-8 as well.
        {"Gr\xF6\xDF" "e 5 \x80\r\x84Zitat\r\r", QStringLiteral("Größe 5 €\r\n„Zitat\r\n")},
        {"Gr\xF6\xDF" "e\r\n\x84Zitat\r\n\r\n", QStringLiteral("Größe\r\n„Zitat\r\n")},
        {"\xEF\xBB\xBFGr\xC3\xB6\xC3\x9F" "e\r\xE2\x80\x9EZitat\r\r", QStringLiteral("Größe\r\n„Zitat\r\n")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes.toHex().toStdString());
        EXPECT_EQ(readBytes(c.bytes), c.text);
        EXPECT_EQ(files::decodeLines(c.bytes), c.text);
    }
}

TEST(TextFileRead, OnlyRegularFilesUpToTheLimitAreRead)
{
    TempTree tree({"dir/"});
    // Sparse: as large as its size says, without using the disk.
    const QString huge = tree.file("huge.txt");
    {
        QFile file(huge);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(files::kMaxTextFileBytes + 1));
    }
    const QString fifo = tree.file("names.fifo");  // opening it would wait for a writer
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const std::pair<QString, ReadStatus> cases[] = {
        {tree.file("none.txt"), ReadStatus::Missing}, {tree.file("dir"), ReadStatus::NotRegular},
        {QStringLiteral("/dev/null"), ReadStatus::NotRegular}, {fifo, ReadStatus::NotRegular}, {huge, ReadStatus::TooLarge},
        {QStringLiteral("/proc/self/mem"), ReadStatus::Unreadable}};  // the last opens, then fails to read
    for (const auto& [path, status] : cases)
        EXPECT_EQ(readTextFile(path).status, status) << path.toStdString();
    const files::ReadResult sizeZero = readTextFile(QStringLiteral("/proc/self/stat"));  // tells size 0, has a line
    EXPECT_TRUE(sizeZero.status == ReadStatus::Ok && !sizeZero.text.isEmpty());

    // The text mode's open says why, in German; no file chosen, a folder or a missing file say nothing.
    ScriptedMessenger messenger;
    for (const QString& path : {QString(), tree.file("dir"), tree.file("none.txt")})
        EXPECT_EQ(textmode::openNameText(nullptr, path, messenger).status, textmode::OpenStatus::Cancelled);
    for (const QString& path : {QStringLiteral("/dev/null"), huge, QStringLiteral("/proc/self/mem")})
        EXPECT_EQ(textmode::openNameText(nullptr, path, messenger).status, textmode::OpenStatus::Unreadable);
    ASSERT_EQ(messenger.shown.size(), 3);
    EXPECT_TRUE(messenger.shown[0].text.startsWith("Die Datei wird nicht gelesen, weil sie keine gewöhnliche Datei ist"));
    EXPECT_TRUE(messenger.shown[1].text.startsWith("Die Datei wird nicht gelesen, weil sie größer als 1 GiB ist"));
    EXPECT_TRUE(messenger.shown[2].text.startsWith("Die Datei konnte nicht gelesen werden:"));
}

TEST(TextFileWrite, NarrowWhereEveryCharacterFitsOtherwiseUtf8WithMark)
{
    TempTree tree;
    const std::pair<QString, QByteArray> cases[] = {{QStringLiteral("ä €\r\nb"), "\xE4 \x80\r\nb\r\n"},
                                                    {QStringLiteral("Ω"), "\xEF\xBB\xBF\xCE\xA9\r\n"},
                                                    {QString(), "\r\n"},
                                                    {QStringLiteral("a\r\n"), "a\r\n\r\n"}};
    for (const auto& [text, bytes] : cases) {
        ASSERT_TRUE(writeTextFile(tree.file("out.txt"), text));
        EXPECT_EQ(tree.read("out.txt"), bytes);
    }
}

TEST(TextFileWrite, RoundTripsExactly)
{
    TempTree tree;
    const QString path = tree.file("round.txt");
    // The third would read back as "ä" from plain windows-1252 bytes, which happen to be valid UTF-8.
    for (const QString& text : {QStringLiteral(""), QStringLiteral("a\r\nb\r\nc"), QStringLiteral("ä € „x“"),
                                QStringLiteral("Ã¤"), QStringLiteral("Ω\r\n日本"), QStringLiteral("end\r\n"),
                                QStringLiteral("\r\n\r\n"), QStringLiteral("\uFEFFx")}) {
        ASSERT_TRUE(writeTextFile(path, text));
        EXPECT_EQ(readTextFile(path).text, text);
    }
}

TEST(TextFileWrite, FailureLeavesNothingBehind)
{
    TempTree tree({"dir/"});
    EXPECT_FALSE(writeTextFile(tree.file("missing/out.txt"), QStringLiteral("x")) || writeTextFile(tree.file("dir"), QStringLiteral("x")));
    EXPECT_EQ(tree.entries(), QStringList{"dir"});
}

}  // namespace
