#include "AppTestSupport.h"
#include "EnvVar.h"
#include "names/DirectoryHandle.h"
#include "names/RenameJournal.h"
#include "names/SafeRename.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QLineEdit>

namespace {

using apptest::quillet;
using testsupport::TempTree;

// The program started by a test keeps its rename journals here, never in the user's data folder.
class DataHome {
public:
    // The journal folder of the program (its organisation and application are both "Quillet").
    QString journals() const { return m_dir.filePath(QStringLiteral("Quillet/Quillet/journals")); }

private:
    QTemporaryDir m_dir;
    EnvVar m_var{"XDG_DATA_HOME", m_dir.path().toUtf8()};
};

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
    EXPECT_EQ(run.err, QStringLiteral("Zeile 1: „a.txt“ → „c.txt“: Ziel existiert bereits\n"));
    EXPECT_EQ(dir.withContent(), QStringList({"a.txt=a", "c.txt=c", "x.txt=b"}));
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
    const QStringList cases[] = {
        {"--apply"},
        {"--apply", list},
        {"--apply", list, dir.path(), dir.path()},
        {"--dry-run", dir.path()},
        {"--verzeichnisse"},
        {"--gibtsnicht", "--apply", list, dir.path()},
        {"--apply", files.file("fehlt.txt"), dir.path()},
        {"--apply", files.path(), dir.path()},
        {"--apply", list, dir.file("fehlt")},
        {"--apply", list, dir.file("a.txt")},
    };
    for (const QStringList& args : cases) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const apptest::Run run = quillet(args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_FALSE(run.err.isEmpty());
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
}

TEST_F(BatchTest, ReadsWindows1252AndUtf8NameFiles)
{
    dir.add("1.mp3");
    dir.add("2.mp3");
    dir.add("3.mp3");
    // Windows-1252 with CR LF: ä, ß, the euro sign and typographic quotes.
    apptest::Run run = apply("M\xE4""dchen\r\nStra\xDF""e\r\n\x80 \x84zitiert\x93\r\n");
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(dir.entries(), QStringList({"Mädchen.mp3", "Straße.mp3", "€ „zitiert“.mp3"}));

    // UTF-8 with a byte order mark and lone CRs; the names are back in list order.
    run = apply("\xEF\xBB\xBF" "Straße\r€ „zitiert“\rÜber\r");
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(dir.entries(), QStringList({"Straße.mp3", "Über.mp3", "€ „zitiert“.mp3"}));
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
    EXPECT_EQ(windowProblems, QStringList({"Zeile 3: „c.txt“ → „x.txt“: Ziel existiert bereits"}));
    EXPECT_EQ(run.err.trimmed().split(QLatin1Char('\n')), windowProblems);
    EXPECT_EQ(batchDir.withContent(), windowDir.withContent());
    EXPECT_EQ(batchDir.withContent(), QStringList({"a.txt=b", "b.txt=a", "c.txt=c", "x.txt=x"}));
}

TEST_F(SameAsWindowTest, InvalidCharacterRenamesNothing)
{
    fill(windowDir);
    fill(batchDir);
    const QString text = QStringLiteral("x\r\ny|z\r\nw");
    renameInWindow(text);
    const apptest::Run run = renameInBatch(text);

    EXPECT_EQ(run.exitCode, 1);
    const QLineEdit* shownLine = testsupport::in<QLineEdit>(form.get(), "Zeile1");
    ASSERT_NE(shownLine, nullptr);
    EXPECT_TRUE(run.err.contains(QStringLiteral("Zeile 2: „%1“").arg(shownLine->text()))) << run.err.toStdString();
    EXPECT_EQ(batchDir.withContent(), windowDir.withContent());
    EXPECT_EQ(batchDir.entries(), QStringList({"a.txt", "b.txt", "c.txt"}));
}

}  // namespace

TEST_F(BatchTest, KeepsItsJournalBesideTheWindowsAndLeavesAnInterruptedRenameAlone)
{
    dir.add("a.txt", "a");
    dir.add("b.txt", "b");
    const names::DirectoryHandle handle(dir.path());
    names::JournalFolder journals(dataHome.journals());

    // A completed batch rename is the directory's last rename, ready to be undone in the window.
    apptest::Run run = apply("c\nd\n");
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(journals.hasLastRename(handle));

    // A rename interrupted after its first step: the batch neither renames nor recovers.
    const QString temp = names::randomTemporaryName();
    {
        names::RenameJournal journal(dataHome.journals(), handle);
        ASSERT_EQ(journal.writePlan({{1, "c.txt", temp, "d.txt"}, {2, "d.txt", names::randomTemporaryName(), "c.txt"}}), 0);
        ASSERT_TRUE(QFile::rename(dir.file("c.txt"), dir.file(temp)));
    }
    run = apply("x\ny\n");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("Im Verzeichnis „%1").arg(dir.path()))) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("Es wurde nichts umbenannt."))) << run.err.toStdString();
    EXPECT_EQ(dir.withContent(), QStringList({"d.txt=b", temp + "=a"}));
    EXPECT_TRUE(journals.findUnfinished(handle).has_value());
}
