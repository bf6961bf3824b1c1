#include "AppTestSupport.h"
#include "EnvVar.h"
#include "app/Startup.h"
#include "names/DirectoryHandle.h"
#include "names/NameList.h"
#include "names/RenameJournal.h"
#include "names/SafeRename.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <csignal>

namespace {

using apptest::quillet;
using testsupport::TempTree;

// The program started by a test keeps its rename journals here, never in the user's data folder.
class DataHome {
private:
    QTemporaryDir m_dir;
    EnvVar m_var{"XDG_DATA_HOME", m_dir.path().toUtf8()};
};

// The child's orders, from its parent's environment.
constexpr char kChildDir[] = "QUILLET_BATCH_TEST_DIR";
constexpr char kChildFrom[] = "QUILLET_BATCH_TEST_FROM";
constexpr char kChildTo[] = "QUILLET_BATCH_TEST_TO";
constexpr char kChildRenames[] = "QUILLET_BATCH_TEST_RENAMES";

struct KillingRenamer final : names::Renamer {
    names::Renamer& inner;
    int renamesLeft;
    KillingRenamer(names::Renamer& disk, int renames) : inner(disk), renamesLeft(renames) {}
    int rename(const QString& from, const QString& to) override
    {
        if (renamesLeft-- == 0)
            ::raise(SIGKILL);
        return inner.rename(from, to);
    }
};

// Runs in a child only: renames with the program's own journal and is killed after the given number of
// renames, as by a crash or a power cut.
TEST(BatchChild, DISABLED_RenameUntilKilled)
{
    app::setIdentity();
    QStandardPaths::setTestModeEnabled(false);  // the program's data folder, below XDG_DATA_HOME
    const names::DirectoryHandle dir(qEnvironmentVariable(kChildDir));
    ASSERT_TRUE(dir.isOpen());
    names::DirRenamer disk(dir);
    KillingRenamer renamer(disk, qEnvironmentVariableIntValue(kChildRenames));
    names::RenameJournal journal(names::defaultJournalFolder(), dir);
    const QStringList from = qEnvironmentVariable(kChildFrom).split(QLatin1Char('/'));
    const QStringList to = qEnvironmentVariable(kChildTo).split(QLatin1Char('/'));
    names::executeRenames(names::planRenames(from, to), renamer, {}, &journal);
    FAIL() << "not killed";
}

// Renames `from` to `to` (names joined by "/") in `dir` and kills the rename after `renames` renames.
void killRenameAfter(const QString& dir, const QString& from, const QString& to, int renames)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kChildDir, dir);
    env.insert(kChildFrom, from);
    env.insert(kChildTo, to);
    env.insert(kChildRenames, QString::number(renames));
    QProcess child;
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_also_run_disabled_tests", "--gtest_filter=BatchChild.DISABLED_RenameUntilKilled"});
    ASSERT_TRUE(child.waitForFinished(60000));
    ASSERT_EQ(child.exitStatus(), QProcess::CrashExit) << child.readAllStandardOutput().toStdString();
}

bool hasTemporaryName(const QStringList& entries)
{
    return std::any_of(entries.cbegin(), entries.cend(), [](const QString& e) { return e.startsWith("quillet-tmp-"); });
}

// The directory to rename and, beside it, the file of new names.
class BatchTest : public ::testing::Test {
protected:
    QString names(const QByteArray& content)
    {
        files.add(QStringLiteral("namen.txt"), content);
        return files.file(QStringLiteral("namen.txt"));
    }
    apptest::Run apply(const QByteArray& content, QStringList extra = {})
    {
        return quillet(QStringList{QStringLiteral("--apply"), names(content)} + extra + QStringList{dir.path()});
    }
    DataHome dataHome;
    TempTree dir;
    TempTree files;
};

TEST_F(BatchTest, RenamesFilesByLineKeepingExtensionsAndLeavesFoldersAlone)
{
    dir.add("README", "r");
    dir.add("b.mp3", "b");
    dir.add("a.mp3", "a");
    dir.add("sub/");
    // Window order: a.mp3, b.mp3, README; the file ends with a line end, as editors write it.
    const apptest::Run run = apply("eins\nzwei\nREADME.txt\n");
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err, QString());
    EXPECT_EQ(dir.withContent(), QStringList({"README.txt=r", "eins.mp3=a", "sub=<missing>", "zwei.mp3=b"}));
}

TEST_F(BatchTest, VerzeichnisseRenamesFoldersOnly)
{
    dir.add("x/");
    dir.add("y/");
    dir.add("file.txt");
    const apptest::Run run = apply("eins\r\nzwei", {QStringLiteral("--verzeichnisse")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(dir.entries(), QStringList({"eins", "file.txt", "zwei"}));
}

TEST_F(BatchTest, RefusedEntryGivesExitOneAndItsGermanLineWhileTheOthersAreRenamed)
{
    dir.add("a.txt", "a");
    dir.add("b.txt", "b");
    dir.add("c.txt", "c");
    const apptest::Run run = apply("c.txt\nx\nc\n");  // a onto c, which keeps its name
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, QStringLiteral("Zeile 1: „a.txt“ → „c.txt“: Der Name ist schon vergeben: „c.txt“ (Zeile 3 behält ihn)\n"));
    EXPECT_EQ(dir.withContent(), QStringList({"a.txt=a", "c.txt=c", "x.txt=b"}));
}

TEST_F(BatchTest, OneEntryWithoutALineIsToldInTheSingular)
{
    dir.add("a.txt");
    dir.add("zwei\nZeilen.txt");  // a name no line can hold
    const apptest::Run run = apply("b\n");
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("Hinweis: 1 Eintrag hat keine Zeile"))) << run.err.toStdString();
    EXPECT_EQ(dir.entries(), QStringList({"b.txt", "zwei\nZeilen.txt"}));
}

TEST_F(BatchTest, ChecksStopTheWholeBatch)
{
    dir.add("a.txt");
    dir.add("b.txt");
    dir.add("c.txt");
    dir.add("sub/");
    const QStringList before = dir.entries();
    struct Case {
        QByteArray names;
        QString expectedInErr;
    };
    const Case cases[] = {
        {"x\nb?\ny\n", "Zeile 2: „b?“"},
        {"x\ny\n", "3 Dateien, aber 2 Zeilen in der Namensdatei. Ordner des Verzeichnisses (1) werden nur mit --verzeichnisse"},
        {"x\ny\nx\n", "Zeile: 1 und Zeile: 3 sind gleich!"},  // the window's "No"
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.names.toStdString());
        const apptest::Run run = apply(c.names);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.contains(c.expectedInErr)) << run.err.toStdString();
        EXPECT_FALSE(run.err.contains(QStringLiteral("trotzdem"))) << "no question without a window";
        EXPECT_EQ(dir.entries(), before);
    }
}

TEST_F(BatchTest, FolderWhoseNameEndsInABlankIsNotItsNamesake)
{
    dir.add("musik/");
    dir.add("musik/a.mp3");
    dir.add("musik /");
    dir.add("musik /b.mp3");
    files.add("namen.txt", "neu\n");
    const apptest::Run run = quillet({QStringLiteral("--apply"), files.file("namen.txt"), dir.file("musik ")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(QDir(dir.file("musik ")).entryList(QDir::Files), QStringList({"neu.mp3"}));
    EXPECT_EQ(QDir(dir.file("musik")).entryList(QDir::Files), QStringList({"a.mp3"}));
}

TEST_F(BatchTest, BadArgumentsAndUnreadableInputGiveExitTwo)
{
    dir.add("a.txt");
    const QString list = names("x\n");
    struct Case {
        QStringList args;
        QString err;  // the start of standard error, where it matters
    };
    const Case cases[] = {
        {{"--apply"}, {}},
        {{"--apply", list}, {}},
        {{"--apply", list, dir.path(), dir.path()}, {}},
        {{"--dry-run", dir.path()}, {}},
        {{"--verzeichnisse"}, {}},
        {{"--gibtsnicht", "--apply", list, dir.path()}, {}},
        {{"--apply", files.file("fehlt.txt"), dir.path()}, {}},
        {{"--apply", files.path(), dir.path()}, QStringLiteral("„%1“ ist ein Verzeichnis, keine Textdatei.\n").arg(files.path())},
        {{"--apply", list, dir.file("fehlt")}, {}},
        {{"--apply", list, dir.file("a.txt")}, QStringLiteral("„%1“ ist kein Verzeichnis.\n").arg(dir.file("a.txt"))},
        {{"--recover", dir.path()}, {}},
        {{"--recover", "weiter", dir.path()}, QStringLiteral("--recover braucht „finish“")},
        {{"--recover", "finish", dir.file("a.txt")}, QStringLiteral("„%1“ ist kein Verzeichnis.").arg(dir.file("a.txt"))},
        {{"--undo"}, {}},
        {{"--undo", "--dry-run", dir.path()}, {}},
        {{"--apply", list, "--undo", dir.path()}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const apptest::Run run = quillet(c.args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_FALSE(run.err.isEmpty());
        EXPECT_TRUE(run.err.startsWith(c.err)) << run.err.toStdString();
    }
    EXPECT_EQ(dir.entries(), QStringList({"a.txt"}));
}

TEST_F(BatchTest, DryRunPrintsThePlanAndTouchesNothing)
{
    dir.add("a.mp3");
    dir.add("b.mp3");
    dir.add("c.mp3");
    const QStringList before = dir.entries();
    apptest::Run run = apply("b\na\nc\n", {QStringLiteral("--dry-run")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, QStringLiteral("a.mp3 → b.mp3\nb.mp3 → a.mp3\n"));
    EXPECT_EQ(dir.entries(), before);

    // A refusal shows in the exit code as it would in the real run.
    run = apply("c\nx\nc.mp3\n", {QStringLiteral("--dry-run")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, QStringLiteral("b.mp3 → x.mp3\n"));
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("Zeile 1: „a.mp3“ → „c.mp3“"))) << run.err.toStdString();
    EXPECT_EQ(dir.entries(), before);

    // A check that stops the rename still lists every line the window marks, in its words.
    run = apply("c?\nc\nc\n", {QStringLiteral("--dry-run")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, QString());
    EXPECT_EQ(run.err, QStringLiteral("Die Dateinamen enthalten ungültige Zeichen (\\/*?\"<>|). Dateien werden nicht umbenannt!\n"
                                      "Zeile 1: Ungültiges Zeichen „?“\n"
                                      "Zeile 2: Gleich wie Zeile 3\n"
                                      "Zeile 2: „b.mp3“ → „c.mp3“: Der Name ist schon vergeben: „c.mp3“ (Zeile 3 behält ihn)\n"
                                      "Zeile 3: Gleich wie Zeile 2\n"
                                      "Es wurde nichts umbenannt.\n"));
    EXPECT_EQ(dir.entries(), before);
}

// The batch mode and the window, given the same directory and the same lines, end the same way.
class SameAsWindowTest : public testsupport::FormTest {
protected:
    void SetUp() override { testsupport::store("Options", "Directorys", "0"); }

    void fill(TempTree& tree)
    {
        tree.add("a.txt", "a");
        tree.add("b.txt", "b");
        tree.add("c.txt", "c");
    }
    // Renames in the window; returns the problem lines its message lists.
    QStringList renameInWindow(const QString& text)
    {
        newForm();
        open(windowDir);
        form->Set_Eingabe_Text(text);
        form->SetzenClick();
        for (qsizetype i = 0; i < messenger.shown.size(); ++i)
            if (messenger.shown.at(i).title == QStringLiteral("Nicht alle Namen wurden gesetzt"))
                return messenger.detailsOf.value(i).split(QLatin1Char('\n'));
        return {};
    }
    apptest::Run renameInBatch(const QString& text)
    {
        files.add(QStringLiteral("namen.txt"), text.toUtf8());
        return quillet({QStringLiteral("--apply"), files.file(QStringLiteral("namen.txt")), batchDir.path()});
    }

    DataHome dataHome;
    TempTree windowDir;
    TempTree batchDir;
    TempTree files;
};

TEST_F(SameAsWindowTest, SwapAndTakenName)
{
    fill(windowDir);
    fill(batchDir);
    // a and b swap; c moves onto x.txt, which a stranger keeps.
    windowDir.add("x.txt", "x");
    batchDir.add("x.txt", "x");
    const QString text = QStringLiteral("b\r\na\r\nx\r\nx.txt");
    const QStringList windowProblems = renameInWindow(text);
    const apptest::Run run = renameInBatch(text);

    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(windowProblems, QStringList({"Zeile 3: „c.txt“ → „x.txt“: Der Name ist schon vergeben: „x.txt“ (Zeile 4 behält ihn)"}));
    EXPECT_EQ(run.err.trimmed().split(QLatin1Char('\n')), windowProblems);
    EXPECT_EQ(batchDir.withContent(), windowDir.withContent());
    EXPECT_EQ(batchDir.withContent(), QStringList({"a.txt=b", "b.txt=a", "c.txt=c", "x.txt=x"}));
}

TEST_F(BatchTest, KilledRenameIsFinishedOrRolledBackWithoutAWindow)
{
    struct Case {
        QString choice;
        QStringList after;
    };
    // A swap, a move and a move killed after its first three renames: a and b wait under temporary names.
    const Case cases[] = {
        {QStringLiteral("finish"), {"a.txt=b", "b.txt=a", "x.txt=c", "y.txt=d"}},
        {QStringLiteral("rollback"), {"a.txt=a", "b.txt=b", "c.txt=c", "d.txt=d"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.choice.toStdString());
        DataHome home;
        TempTree tree;
        for (const char* name : {"a", "b", "c", "d"})
            tree.add(QStringLiteral("%1.txt").arg(name), name);
        killRenameAfter(tree.path(), "a.txt/b.txt/c.txt/d.txt", "b.txt/a.txt/x.txt/y.txt", 3);
        ASSERT_TRUE(hasTemporaryName(tree.entries())) << tree.entries().join(' ').toStdString();

        // A new rename is refused, with the way out.
        files.add(QStringLiteral("namen.txt"), "1\n2\n3\n4\n");
        apptest::Run run = quillet({QStringLiteral("--apply"), files.file("namen.txt"), tree.path()});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.contains(QStringLiteral("(4 Einträge betroffen)"))) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("quillet --recover finish VERZEICHNIS"))) << run.err.toStdString();

        run = quillet({QStringLiteral("--recover"), c.choice, tree.path()});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(run.err, QString());
        EXPECT_EQ(tree.withContent(), c.after);

        // Nothing is left to end: a script may call it every time.
        run = quillet({QStringLiteral("--recover"), c.choice, tree.path()});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.contains(QStringLiteral("keine unterbrochene Umbenennung"))) << run.out.toStdString();
        EXPECT_EQ(tree.withContent(), c.after);
    }
}

TEST_F(BatchTest, UndoWaitsForAnInterruptedRename)
{
    dir.add("a.txt", "a");
    killRenameAfter(dir.path(), "a.txt", "b.txt", 0);  // killed before its only rename

    apptest::Run run = apply("x\n");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("(1 Eintrag betroffen)"))) << run.err.toStdString();
    run = quillet({QStringLiteral("--undo"), dir.path()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("--recover rollback"))) << run.err.toStdString();
    EXPECT_EQ(dir.withContent(), QStringList({"a.txt=a"}));

    run = quillet({QStringLiteral("--recover"), QStringLiteral("rollback"), dir.path()});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(dir.withContent(), QStringList({"a.txt=a"}));
    run = apply("x\n");
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(dir.withContent(), QStringList({"x.txt=a"}));
}

TEST_F(BatchTest, UndoGivesBackTheNamesOfOneRenameAfterAnother)
{
    dir.add("a.txt", "a");
    dir.add("b.txt", "b");
    ASSERT_EQ(apply("c\nd\n").exitCode, 0);
    ASSERT_EQ(apply("f\ne\n").exitCode, 0);
    EXPECT_EQ(dir.withContent(), QStringList({"e.txt=b", "f.txt=a"}));

    const QStringList undo{QStringLiteral("--undo"), dir.path()};
    apptest::Run run = quillet(undo);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(dir.withContent(), QStringList({"c.txt=a", "d.txt=b"}));
    run = quillet(undo);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(dir.withContent(), QStringList({"a.txt=a", "b.txt=b"}));

    run = quillet(undo);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("keine Umbenennung, die rückgängig gemacht werden kann")))
        << run.err.toStdString();
    EXPECT_EQ(dir.withContent(), QStringList({"a.txt=a", "b.txt=b"}));
}

}  // namespace
