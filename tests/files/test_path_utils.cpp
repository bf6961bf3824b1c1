// Path procedures: the one-character skip of replaceall against a literal transcription, and the names
// the file dialog and the download build from paths.
#include "files/PathUtils.h"

#include "support/TestSupport.h"
#include "transforms/oracle.h"

#include <QFile>

namespace {

using namespace testsupport;
using files::replaceall;

// Slow and literal: rebuild the text after every replacement and resume one past the inserted text.
QString replaceallOracle(QString text, const QString& find, const QString& replacement)
{
    qsizetype pos = 0;  // 0-based
    for (;;) {
        const qsizetype found = text.indexOf(find, pos);
        if (found < 0)
            return text;
        text = text.left(found) + replacement + text.mid(found + find.size());
        pos = found + replacement.size() + 1;
        if (pos >= text.size())
            return text;
    }
}

TEST(ReplaceAll, SkipsTheCharacterAfterEachReplacement)
{
    EXPECT_EQ(replaceall("aaaa", "a", "b"), "baba");
    EXPECT_EQ(replaceall("%USERPROFILE%\\Desktop", "%USERPROFILE%", "C:\\Users\\Ann"), "C:\\Users\\Ann\\Desktop");
    EXPECT_EQ(replaceall("abc", "", "y"), "abc");
}

TEST(ReplaceAll, AgreesWithTheLiteralProcedureOnGeneratedTexts)
{
    const QStringList alphabet{"a", "b"};
    for (int round = 0; round < 20000; ++round) {
        const QString text = oracle::randomText(alphabet, 12);
        QString find = oracle::randomText(alphabet, 3);
        if (find.isEmpty())
            find = QStringLiteral("a");
        const QString replacement = oracle::randomText(alphabet, 3);
        ASSERT_EQ(replaceall(text, find, replacement), replaceallOracle(text, find, replacement))
            << text.toStdString() << " / " << find.toStdString() << " / " << replacement.toStdString();
    }
}

TEST(PathNames, ExtensionFilterLastComponentAndJoinedPath)
{
    const std::pair<const char*, const char*> filters[] = {{"NoName.txt", "*.txt"}, {"a.b.mp3", "*.mp3"}, {"Daten\\README", "*.README"},
                                                           {"Daten/README", "*.README"}, {"README", ""}, {"ends.", "*."}};
    for (const auto& [name, filter] : filters)
        EXPECT_EQ(files::GetExtensionFilter(name), filter) << name;
    // The last component only after a separator: not the name itself.
    const std::pair<const char*, const char*> lasts[] = {
        {"C:\\Daten\\Musik", "Musik"}, {"/home/ann/Musik", "Musik"}, {"/home/ann/", ""}, {"Musik", ""}};
    for (const auto& [path, last] : lasts)
        EXPECT_EQ(files::GetLastPathComponent(path), last) << path;
    for (const auto& [folder, path] : {std::pair{"", "a.txt"}, {"/", "/a.txt"}, {"/daten/", "/daten/a.txt"}, {"/daten", "/daten/a.txt"}})
        EXPECT_EQ(files::BuildPath(folder, "a.txt"), path) << folder;
}

TEST(PathNames, FileExistsForFilesFoldersAndDanglingLinks)
{
    TempTree tree({"f.txt", "d/"});
    ASSERT_TRUE(QFile::link(tree.file("gone"), tree.file("dangling")));
    for (const char* name : {"f.txt", "d", "dangling"})
        EXPECT_TRUE(files::FileExists(tree.file(name))) << name;
    EXPECT_FALSE(files::FileExists(tree.file("missing")) || files::FileExists(QString()));
}

}  // namespace
