#include "AppTestSupport.h"
#include "EnvVar.h"
#include "app/Startup.h"
#include "names/DirectoryHandle.h"
#include "names/NameList.h"
#include "names/RenameJournal.h"
#include "names/SafeRename.h"
#include "support/TestSupport.h"

#include <QStandardPaths>

#include <algorithm>
#include <csignal>

namespace {

using apptest::ended;
using apptest::quillet;
using testsupport::TempTree;

// The program started by a test keeps its rename journals here, never in the user's data folder.
class DataHome {
    QTemporaryDir m_dir;
    EnvVar m_var{"XDG_DATA_HOME", m_dir.path().toUtf8()};
};

// The child's orders from its parent: directory, old names, new names (joined by "/"), renames before the kill.
constexpr char kChildOrders[] = "QUILLET_BATCH_TEST_KILL";

struct KillingRenamer final : names::Renamer {
    names::Renamer& inner;
    int renamesLeft;
    KillingRenamer(names::Renamer& disk, int renames) : inner(disk), renamesLeft(renames) {}
    int rename(QStringView from, QStringView to) override
    {
        if (renamesLeft-- == 0)
            ::raise(SIGKILL);
        return inner.rename(from, to);
    }
};

// Runs in a child only: renames with the program's own journal and is killed as by a crash or a power cut.
TEST(BatchChild, DISABLED_RenameUntilKilled)
{
    app::setIdentity();
    QStandardPaths::setTestModeEnabled(false);  // the program's data folder, below XDG_DATA_HOME
    const QStringList orders = qEnvironmentVariable(kChildOrders).split(QLatin1Char('\n'));
    ASSERT_EQ(orders.size(), 4);
    const names::DirectoryHandle dir(orders[0]);
    ASSERT_TRUE(dir.isOpen());
    names::DirRenamer disk(dir);
    KillingRenamer renamer(disk, orders[3].toInt());
    names::RenameJournal journal(names::defaultJournalFolder(), dir);
    names::executeRenames(names::planRenames(orders[1].split(u'/'), orders[2].split(u'/')), renamer, {}, &journal);
    FAIL() << "not killed";
}

void killRenameAfter(const QString& dir, const QString& from, const QString& to, int renames)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kChildOrders, QStringList{dir, from, to, QString::number(renames)}.join(u'\n'));
    QProcess child;
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_also_run_disabled_tests", "--gtest_filter=BatchChild.DISABLED_RenameUntilKilled"});
    ASSERT_TRUE(child.waitForFinished(60000));
    ASSERT_EQ(child.exitStatus(), QProcess::CrashExit) << child.readAllStandardOutput().toStdString();
}

// The directory to rename and, beside it, the file of new names.
class BatchTest : public ::testing::Test {
protected:
    void fill(const QStringList& names)  // each file holds its first name without the extension
    {
        for (const QString& name : names)
            dir.add(name, name.section(u'.', 0, 0).toUtf8());
    }
    apptest::Run apply(const QByteArray& content, QStringList extra = {}, const QString& target = {})
    {
        files.add(QStringLiteral("namen.txt"), content);
        return quillet(QStringList{"--apply", files.file("namen.txt")} + extra + QStringList{target.isEmpty() ? dir.path() : target});
    }
    apptest::Run run(const QString& option, const QString& target = {})
    {
        QStringList args = option.split(u' ');
        return quillet(args << (target.isEmpty() ? dir.path() : target));
    }
    DataHome dataHome;
    TempTree dir;
    TempTree files;
};

TEST_F(BatchTest, RenamesByLineKeepingExtensionsAndTheChosenKindOfEntry)
{
    fill({"README", "b.mp3", "a.mp3", "sub/"});
    // Window order: a.mp3, b.mp3, README; the file ends with a line end, as editors write it.
    apptest::Run r = apply("eins\nzwei\nREADME.txt\n");
    EXPECT_TRUE(ended(r, 0) && r.err.isEmpty());
    EXPECT_EQ(dir.withContent(), QStringList({"README.txt=README", "eins.mp3=a", "sub=<missing>", "zwei.mp3=b"}));

    EXPECT_TRUE(ended(apply("x\r\n", {"--verzeichnisse"}), 0));
    EXPECT_EQ(dir.entries(), QStringList({"README.txt", "eins.mp3", "x", "zwei.mp3"}));

    // One entry without a line is told in the singular.
    dir.add("zwei\nZeilen.txt");  // a name no line can hold
    fill({"c.mp3"});
    r = apply("1\n2\n3\n4\n");
    EXPECT_TRUE(ended(r, 0) && r.err.startsWith("Hinweis: 1 Eintrag hat keine Zeile"));
    EXPECT_EQ(dir.entries(), QStringList({"1.mp3", "2.mp3", "3.txt", "4.mp3", "x", "zwei\nZeilen.txt"}));
}

TEST_F(BatchTest, RefusedEntryGivesExitOneAndItsGermanLineWhileTheOthersAreRenamed)
{
    fill({"a.txt", "b.txt", "c.txt"});
    const apptest::Run r = apply("c.txt\nx\nc\n");  // a onto c, which keeps its name
    EXPECT_TRUE(ended(r, 1) && r.err == "Zeile 1: „a.txt“ → „c.txt“: Der Name ist schon vergeben: „c.txt“ (Zeile 3 behält ihn)\n");
    EXPECT_EQ(dir.withContent(), QStringList({"a.txt=a", "c.txt=c", "x.txt=b"}));
}

TEST_F(BatchTest, ChecksStopTheWholeBatch)
{
    fill({"a.txt", "b.txt", "c.txt", "sub/"});
    const QStringList before = dir.entries();
    const std::pair<QByteArray, QString> cases[] = {
        {"x\nb?\ny\n", "Zeile 2: „b?“"},
        {"x\ny\n", "3 Dateien, aber 2 Zeilen in der Namensdatei. Ordner des Verzeichnisses (1) werden nur mit --verzeichnisse"},
        {"x\ny\nx\n", "Zeile: 1 und Zeile: 3 sind gleich!"},  // the window's "No"
    };
    for (const auto& [names, expected] : cases) {
        const apptest::Run r = apply(names);
        EXPECT_TRUE(ended(r, 1, expected) && !r.err.contains(QStringLiteral("trotzdem"))) << "no question without a window";
        EXPECT_EQ(dir.entries(), before);
    }
}

TEST_F(BatchTest, FolderWhoseNameEndsInABlankIsNotItsNamesake)
{
    fill({"musik/", "musik/a.mp3", "musik /", "musik /b.mp3"});
    EXPECT_TRUE(ended(apply("neu\n", {}, dir.file("musik ")), 0));
    EXPECT_EQ(QDir(dir.file("musik ")).entryList(QDir::Files), QStringList({"neu.mp3"}));
    EXPECT_EQ(QDir(dir.file("musik")).entryList(QDir::Files), QStringList({"a.mp3"}));
}

TEST_F(BatchTest, BadArgumentsAndUnreadableInputGiveExitTwo)
{
    dir.add("a.txt");
    files.add("namen.txt", "x\n");
    const QString list = files.file("namen.txt");
    const QString file = dir.file("a.txt");
    const std::pair<QStringList, QString> cases[] = {  // the start of standard error, where it matters
        {{"--apply"}, {}}, {{"--apply", list}, {}}, {{"--apply", list, dir.path(), dir.path()}, {}},
        {{"--dry-run", dir.path()}, {}}, {{"--verzeichnisse"}, {}}, {{"--gibtsnicht", "--apply", list, dir.path()}, {}},
        {{"--apply", files.file("fehlt.txt"), dir.path()}, {}},
        {{"--apply", files.path(), dir.path()}, QStringLiteral("„%1“ ist ein Verzeichnis, keine Textdatei.\n").arg(files.path())},
        {{"--apply", list, dir.file("fehlt")}, {}},
        {{"--apply", list, file}, QStringLiteral("„%1“ ist kein Verzeichnis.\n").arg(file)},
        {{"--recover", dir.path()}, {}}, {{"--recover", "weiter", dir.path()}, QStringLiteral("--recover braucht „finish“")},
        {{"--recover", "finish", file}, QStringLiteral("„%1“ ist kein Verzeichnis.").arg(file)},
        {{"--undo"}, {}}, {{"--undo", "--dry-run", dir.path()}, {}}, {{"--apply", list, "--undo", dir.path()}, {}},
    };
    for (const auto& [args, err] : cases) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const apptest::Run r = quillet(args);
        EXPECT_TRUE(ended(r, 2) && !r.err.isEmpty() && r.err.startsWith(err)) << r.err.toStdString();
    }
    EXPECT_EQ(dir.entries(), QStringList({"a.txt"}));
}

TEST_F(BatchTest, DryRunPrintsThePlanAndTouchesNothing)
{
    fill({"a.mp3", "b.mp3", "c.mp3"});
    const QStringList before = dir.entries();
    apptest::Run r = apply("b\na\nc\n", {"--dry-run"});
    EXPECT_TRUE(ended(r, 0) && r.out == "a.mp3 → b.mp3\nb.mp3 → a.mp3\n");

    // A refusal shows in the exit code as it would in the real run.
    r = apply("c\nx\nc.mp3\n", {"--dry-run"});
    EXPECT_TRUE(ended(r, 1) && r.out == "b.mp3 → x.mp3\n" && r.err.startsWith(QStringLiteral("Zeile 1: „a.mp3“ → „c.mp3“")));

    // A check that stops the rename still lists every line the window marks, in its words.
    r = apply("c?\nc\nc\n", {"--dry-run"});
    EXPECT_TRUE(ended(r, 1) && r.out.isEmpty());
    EXPECT_EQ(r.err, QStringLiteral("Die Dateinamen enthalten ungültige Zeichen (\\/*?\"<>|). Dateien werden nicht umbenannt!\n"
                                    "Zeile 1: Ungültiges Zeichen „?“\n"
                                    "Zeile 2: Gleich wie Zeile 3\n"
                                    "Zeile 2: „b.mp3“ → „c.mp3“: Der Name ist schon vergeben: „c.mp3“ (Zeile 3 behält ihn)\n"
                                    "Zeile 3: Gleich wie Zeile 2\n"
                                    "Es wurde nichts umbenannt.\n"));
    EXPECT_EQ(dir.entries(), before);
}

TEST_F(BatchTest, KilledRenameIsFinishedOrRolledBackWithoutAWindow)
{
    // A swap, a move and a move killed after its first three renames (a and b wait under temporary names),
    // and a rename killed before its only step.
    const struct {
        const char* choice;
        int renames;
        QString affected;
        QStringList after;
    } cases[] = {
        {"finish", 3, "(4 Einträge betroffen)", {"a.txt=b", "b.txt=a", "x.txt=c", "y.txt=d"}},
        {"rollback", 3, "(4 Einträge betroffen)", {"a.txt=a", "b.txt=b", "c.txt=c", "d.txt=d"}},
        {"rollback", 0, "(1 Eintrag betroffen)", {"a.txt=a", "b.txt=b", "c.txt=c", "d.txt=d"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.choice + std::to_string(c.renames));
        DataHome home;
        TempTree tree;
        for (const char* name : {"a", "b", "c", "d"})
            tree.add(QStringLiteral("%1.txt").arg(name), name);
        killRenameAfter(tree.path(), c.renames ? "a.txt/b.txt/c.txt/d.txt" : "a.txt", c.renames ? "b.txt/a.txt/x.txt/y.txt" : "z.txt",
                        c.renames);
        const QStringList killed = tree.entries();
        ASSERT_EQ(std::any_of(killed.cbegin(), killed.cend(), [](const QString& e) { return e.startsWith("quillet-tmp-"); }),
                  c.renames > 0);

        // A new rename and an undo are refused, with the way out.
        apptest::Run r = apply("1\n2\n3\n4\n", {}, tree.path());
        EXPECT_TRUE(ended(r, 1, c.affected) && r.err.contains(QStringLiteral("quillet --recover finish VERZEICHNIS")));
        EXPECT_TRUE(ended(run("--undo", tree.path()), 1, QStringLiteral("--recover rollback")));
        EXPECT_EQ(tree.entries(), killed);

        r = run(QStringLiteral("--recover ") + c.choice, tree.path());
        EXPECT_TRUE(ended(r, 0) && r.err.isEmpty());
        EXPECT_EQ(tree.withContent(), c.after);

        // Nothing is left to end: a script may call it every time.
        r = run(QStringLiteral("--recover ") + c.choice, tree.path());
        EXPECT_TRUE(ended(r, 0) && r.out.contains(QStringLiteral("keine unterbrochene Umbenennung"))) << r.out.toStdString();
        EXPECT_EQ(tree.withContent(), c.after);
        EXPECT_TRUE(ended(apply("1\n2\n3\n4\n", {}, tree.path()), 0));  // renames go on as before
    }
}

TEST_F(BatchTest, UndoGivesBackTheNamesOfOneRenameAfterAnother)
{
    fill({"a.txt", "b.txt"});
    ASSERT_TRUE(ended(apply("c\nd\n"), 0));
    ASSERT_TRUE(ended(apply("f\ne\n"), 0));
    EXPECT_EQ(dir.withContent(), QStringList({"e.txt=b", "f.txt=a"}));
    for (const QStringList& back : {QStringList{"c.txt=a", "d.txt=b"}, QStringList{"a.txt=a", "b.txt=b"}}) {
        EXPECT_TRUE(ended(run("--undo"), 0));
        EXPECT_EQ(dir.withContent(), back);
    }
    EXPECT_TRUE(ended(run("--undo"), 1, QStringLiteral("keine Umbenennung, die rückgängig gemacht werden kann")));
    EXPECT_EQ(dir.withContent(), QStringList({"a.txt=a", "b.txt=b"}));
}

}  // namespace
