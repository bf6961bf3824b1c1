// Directory scan, the name text, line count and the two checks before a rename.
#include "TestSupport.h"
#include "names/DirectoryScan.h"
#include "names/NameRules.h"
#include "names/NameText.h"

#include <QFile>
#include <QLocalServer>

#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using testsupport::crlf;
using testsupport::TempTree;

namespace {
const names::ListingOptions kFilesOnly{false, false};
const names::ListingOptions kDirsOnly{true, true};
const names::ListingOptions kBoth{true, false};
}  // namespace

// The listing's order against the plain rule (case-folded names, ties by the names) on generated names with long
// shared starts, case differences, umlauts, characters beyond U+FFFF, private use above the surrogates, sharp s.
TEST(Scan, SortOrderMatchesThePlainRuleOnGeneratedNames)
{
    const QList<QString> pieces = {"a", "A", "b", "Z", "_", " ", "0", "9", "\u00E4", "\u00C4", "\u00DF",
                                   "\uE000", "\U0001F600", "\u0130", "track_0", "Track_0"};
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        QStringList names;
        const QString shared = pieces.at(int(random() % quint64(pieces.size()))).repeated(int(random() % 12));
        for (int n = 0; n < 1 + int(random() % 60); ++n) {
            QString name = random() % 3 ? shared : QString();
            for (int k = 0; k < int(random() % 12); ++k)
                name += pieces.at(int(random() % quint64(pieces.size())));
            if (!name.isEmpty() && !names.contains(name))
                names << name;
        }
        QStringList expected = names;
        std::stable_sort(expected.begin(), expected.end(), [](const QString& a, const QString& b) {
            const int c = a.toCaseFolded().compare(b.toCaseFolded());
            return c != 0 ? c < 0 : a < b;
        });
        names::NameColumn column(names);
        names::sortNames(column);
        ASSERT_EQ(column.toList(), expected) << "round " << round;
    }
}

// Names packed into blocks: none lost or changed where a block ends, a copy unchanged by what is added to
// the other, a name longer than any file system allows refused.
TEST(Scan, NameColumnKeepsEveryNameAcrossBlocksAndCopies)
{
    names::NameColumn column;
    QStringList expected;
    for (int i = 0; i < 4000; ++i) {  // about 150,000 code units: three blocks
        const QString name = QString(QLatin1Char(char('a' + i % 26))).repeated(i % 61) + QString::number(i);
        if (i % 3 == 0) {
            const QByteArray latin1 = name.toLatin1();
            ASSERT_TRUE(column.appendLatin1(QLatin1StringView(latin1)));
            expected << name;
        } else {
            ASSERT_TRUE(column.append(name + QStringLiteral("ü😀")));
            expected << name + QStringLiteral("ü😀");
        }
    }
    ASSERT_TRUE(column.append(QString(names::NameColumn::kMaxNameUnits, QLatin1Char('x'))));
    expected << QString(names::NameColumn::kMaxNameUnits, QLatin1Char('x'));
    EXPECT_FALSE(column.append(QString(names::NameColumn::kMaxNameUnits + 1, QLatin1Char('y'))));
    EXPECT_EQ(column.toList(), expected);

    names::NameColumn copy = column;
    const QStringView first = column.at(0);
    copy.append(QStringLiteral("added"));
    EXPECT_EQ(column.toList(), expected);
    EXPECT_EQ(first, expected.front());
    EXPECT_EQ(copy.size(), column.size() + 1);
    EXPECT_EQ(copy.at(copy.size() - 1), QStringLiteral("added"));

    // Emptied and filled again, in the blocks it kept (and more) while a copy still shares the names before.
    const names::NameColumn before = column;
    for (names::NameColumn* c : {&column, &copy}) {
        c->clear();
        EXPECT_TRUE(c->isEmpty());
        QStringList again;
        for (int i = 0; i < 16000; ++i) {  // more blocks than it kept
            again << QString::number(i).repeated(1 + i % 9);
            ASSERT_TRUE(c->append(again.last()));
        }
        EXPECT_EQ(c->toList(), again);
    }
    EXPECT_EQ(before.toList(), expected);
}

TEST(NameText, DisplayNamesJoinedWithoutATrailingLineEndAWholeLineReplacedAndEveryLineCounted)
{
    EXPECT_EQ(names::buildNameText({}), QString());
    // Only a three-character extension goes; ".abc" leaves an empty line, short names stay whole.
    EXPECT_EQ(names::buildNameText({"a.mp3", ".abc", "x.jpeg", "a.b", "file.", "abc", "archive.tar.gz",
                                    QStringLiteral("ä\U0001F600.txt")}),
              QStringLiteral("a\r\n\r\nx.jpeg\r\na.b\r\nfile.\r\nabc\r\narchive.tar.gz\r\nä\U0001F600"));
    EXPECT_EQ(names::buildNameText({".abc", ".abc"}), QStringLiteral("\r\n"));
    // In pieces of whole lines, the same text; and told apart from any other without being made.
    for (const QStringList& list : {QStringList{}, QStringList{".abc"}, QStringList{"a.mp3", ".abc", "xyz", ".abc"},
                                    QStringList(300, QStringLiteral("name.txt"))}) {
        const QString whole = names::buildNameText(list);
        QString joined;
        names::NameTextPieces pieces(list, 7);
        for (QStringView piece = pieces.next(); !piece.isEmpty(); piece = pieces.next())
            joined += piece;
        EXPECT_EQ(joined, whole);
        EXPECT_TRUE(names::isNameText(list, whole));
        EXPECT_FALSE(names::isNameText(list, whole + u'x') || names::isNameText(list, whole + QStringLiteral("\r\n"))
                     || (!whole.isEmpty() && names::isNameText(list, whole.chopped(1))));
    }

    // A line that only contains the wanted text, or holds it across a line break, is no match.
    EXPECT_EQ(names::replaceWholeLine(crlf({"xa?b", "a?b", "a?b"}), u"a?b", u"a_b"), crlf({"xa?b", "a_b", "a?b"}));
    EXPECT_EQ(names::replaceWholeLine(crlf({"a", "b?"}), u"b?", u"b"), crlf({"a", "b"}));
    EXPECT_EQ(names::replaceWholeLine(crlf({"a", "", "c"}), u"", u"b"), crlf({"a", "b", "c"}));
    EXPECT_FALSE(names::replaceWholeLine(crlf({"a?bc", "a"}), u"a?b", u"x"));
    EXPECT_FALSE(names::replaceWholeLine(crlf({"a", "b"}), u"a\r\nb", u"x"));

    const QString big = QStringLiteral("x\r\n").repeated(20000) + "x";  // no cap at 10001
    const QList<qsizetype> counts = {names::lineCount(u""), names::lineCount(u"a\r\nb"), names::lineCount(u"a\r\n"),
                                     names::lineCount(u"a\rb\nc"), names::lineCount(big)};
    EXPECT_EQ(counts, QList<qsizetype>({1, 2, 2, 1, 20001}));
}

TEST(Scan, ListingOptionsHiddenEntriesTheSiblingToolAndAFolderNameEndingInABlank)
{
    TempTree dir({"song.mp3", ".hidden.mp3", "PelDra.EXE", "peldra.exe.bak", "sub/", ".hiddendir/"});
    // "Nur Verz." means nothing while directories are not listed. What the options leave out is counted
    // (hidden entries and the sibling tool are not).
    const std::tuple<names::ListingOptions, QStringList, int> cases[] = {
        {kFilesOnly, {"peldra.exe.bak", "song.mp3"}, 1}, {kDirsOnly, {"sub"}, 3},
        {kBoth, {"peldra.exe.bak", "song.mp3", "sub"}, 0}, {{false, true}, {"peldra.exe.bak", "song.mp3"}, 1}};
    for (const auto& [options, listed, leftOut] : cases) {
        const names::ScanResult r = names::scanDirectory(dir.path(), options);
        EXPECT_EQ(r.names.toList(), listed);
        EXPECT_EQ(r.leftOutByOptions, leftOut) << listed.join(',').toStdString();
    }
    // A folder name ending in a blank is listed as it is.
    TempTree music({"music/", "music /", "music/a.mp3", "music /b.mp3"});
    EXPECT_EQ(names::scanDirectory(music.file("music "), kFilesOnly).names.toList() + names::scanDirectory(music.file("music"), kFilesOnly).names.toList(),
              QStringList({"b.mp3", "a.mp3"}));
}

TEST(Scan, LinksPipesAndSocketsAreSortedAndNamesNoLineCanHoldAreReportedNotListed)
{
    TempTree dir({"target.txt", "adir/"});
    const QByteArray base = QFile::encodeName(dir.path()) + "/";
    ASSERT_EQ(::symlink("target.txt", (base + "link.txt").constData()), 0);
    ASSERT_EQ(::symlink("nowhere", (base + "dangling").constData()), 0);
    ASSERT_EQ(::symlink("adir", (base + "dirlink").constData()), 0);
    ASSERT_EQ(::mkfifo((base + "pipe").constData(), 0600), 0);
    QLocalServer socket;
    ASSERT_TRUE(socket.listen(dir.file("sock")));
    const int fd = ::open((base + "caf\xe9.txt").constData(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    ::close(fd);
    dir.add("two\nlines.txt");  // would split into two lines and shift every line after it
    dir.add(QString("para") + QChar::ParagraphSeparator + "graph.txt");
    const names::ScanResult r = names::scanDirectory(dir.path(), kFilesOnly);
    EXPECT_EQ(r.names.toList(), QStringList({"dangling", "link.txt", "target.txt"}));
    EXPECT_EQ(QSet<QString>(r.unlistable.cbegin(), r.unlistable.cend()),
              QSet<QString>({"caf\\xe9.txt", "two\\x0alines.txt", "para\\xe2\\x80\\xa9graph.txt"}));
    EXPECT_EQ(names::scanDirectory(dir.path(), kDirsOnly).names.toList(), QStringList({"adir", "dirlink"}));
    ::unlink((base + "caf\xe9.txt").constData());  // the temporary folder's own clean-up cannot name it either
}

TEST(Checks, InvalidCharactersGiveTheWholeLineAndItsIndex)
{
    using names::firstInvalidCharacter;
    EXPECT_FALSE(firstInvalidCharacter(u"abc\r\ndef").found() || firstInvalidCharacter(u"c:d").found());
    const std::pair<QStringView, std::pair<qsizetype, QString>> cases[] = {
        {u"x\r\na?b\r\nc", {1, "a?b"}},
        {u"a|b\r\nc", {0, "a|b"}},
        {u"x\r\nyz\"", {1, "yz\""}},
        // The characters are searched in their order, so "\\" wins over an earlier "?".
        {u"q?\r\nback\\slash", {1, "back\\slash"}},
    };
    for (const auto& [text, expected] : cases) {
        const names::InvalidCharacter found = firstInvalidCharacter(text);
        EXPECT_EQ(std::make_pair(found.line, found.lineText), expected) << text.toString().toStdString();
    }
}

TEST(Checks, DuplicateCheckMatchesThePairwiseScanOnGeneratedTexts)
{
    // The hash must answer exactly as comparing every pair in order would: blank lines not counted,
    // surrounding blanks ignored, letter case counted, the first line that has a later twin paired with
    // its first twin.
    std::srand(7);
    const QStringList alphabet = {"a", "b", "c", " a", "", "A"};
    for (int round = 0; round < 500; ++round) {
        QStringList lines;
        const int n = 1 + std::rand() % 8;
        for (int i = 0; i < n; ++i)
            lines << alphabet.at(std::rand() % alphabet.size());
        QStringList kept;
        for (const QString& l : lines)
            if (!l.trimmed().isEmpty())
                kept << l.trimmed();
        QString expected;
        for (int k = 0; k < kept.size() && expected.isEmpty(); ++k)
            for (int m = 0; m < kept.size(); ++m)
                if (m != k && kept.at(m) == kept.at(k)) {
                    expected = QStringLiteral("%1 %2").arg(k).arg(m);
                    break;
                }
        const names::DuplicateLines d = names::findDuplicateLines(crlf(lines));
        const QString got = d.found() ? QStringLiteral("%1 %2").arg(d.first).arg(d.second) : QString();
        EXPECT_EQ(got, expected) << crlf(lines).toStdString();
        if (d.found()) {
            EXPECT_EQ(d.line, kept.at(d.first));  // the line as compared, without its blanks
        }
    }
}

TEST(Scan, EachNameComesWithTheIdentityOfItsEntry)
{
    // ASCII names take a shorter way through the decoder than the others: both must give the same result.
    // Names equal but for their case keep a stable order.
    TempTree dir({"b.txt", "a.txt", "B.txt", "A.txt", QString::fromUtf8("äpfel.mp3"), QString::fromUtf8("Zebra ü.txt"), "sub/"});
    const names::DirectoryHandle handle(dir.path());
    const names::ScanResult scan = names::scanDirectory(handle, kBoth);
    EXPECT_EQ(scan.names.toList(), QStringList({"A.txt", "a.txt", "B.txt", "b.txt", "sub", QString::fromUtf8("Zebra ü.txt"),
                                       QString::fromUtf8("äpfel.mp3")}));
    EXPECT_TRUE(names::scanDirectory(dir.path() + "/", kBoth).names == scan.names);
    EXPECT_TRUE(names::scanDirectory(dir.file("missing"), kBoth).names.isEmpty());
    ASSERT_EQ(scan.inodes.size(), scan.names.size());
    for (qsizetype i = 0; i < scan.names.size(); ++i) {
        struct stat st {};
        ASSERT_EQ(::lstat(QFile::encodeName(dir.file(scan.names[i].toString())).constData(), &st), 0);
        EXPECT_EQ(scan.identity(i).inode, quint64(st.st_ino)) << scan.names[i].toString().toStdString();
        EXPECT_EQ(scan.identity(i).device, quint64(st.st_dev));
    }
}

