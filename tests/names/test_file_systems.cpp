// Renames on file systems a user plugs in, mounted through FUSE for the test. Each test skips, saying
// why, where its tools are missing or this process may not mount.
#include "names/DirectoryHandle.h"
#include "names/RenamePlan.h"
#include "names/SafeRename.h"

#include "support/TestSupport.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <cerrno>

using names::DirRenamer;
using namespace testsupport;

namespace {

QString findTool(const QString& name)
{
    const QString found = QStandardPaths::findExecutable(name);
    return found.isEmpty() ? QStandardPaths::findExecutable(name, {"/usr/sbin", "/sbin"}) : found;
}

// Runs `program`; `error` receives what it said on standard error.
bool run(const QString& program, const QStringList& args, QString* error = nullptr)
{
    QProcess p;
    p.start(program, args);
    const bool ok = p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (error)
        *error = program + ": " + QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
    return ok;
}

// A FUSE file system mounted on a fresh directory for the lifetime of the object. The driver has
// mounted when its command returns (it goes to the background only then).
class FuseMount {
public:
    FuseMount(const QString& driver, QStringList args)
    {
        const QString program = findTool(driver);
        if (program.isEmpty() || findTool("fusermount").isEmpty()) {
            skipReason = driver + " or fusermount is not installed";
            return;
        }
        QDir().mkpath(path);
        const auto device = [this] { return names::DirectoryHandle(path).identity().device; };
        const quint64 before = device();
        const bool ran = run(program, args << path, &skipReason);
        if (device() != before)
            skipReason.clear();
        else if (ran)  // some drivers end with 0 without mounting
            skipReason = "did not mount here (" + skipReason + ")";
    }
    ~FuseMount()
    {
        if (skipReason.isEmpty())
            run(findTool("fusermount"), {"-u", "-z", path});
    }

    QTemporaryDir dir;
    const QString path = dir.filePath("mnt");
    QString skipReason;  // empty once mounted
};

}  // namespace

// FAT through FUSE knows neither the no-replace rename nor hard links, ignores letter case, and
// loses a folder's content when the folder is renamed.
TEST(FileSystems, FatThroughFuseRenamesFilesWithoutOverwritingAndKeepsFoldersWhole)
{
    const QString mkfs = findTool("mkfs.vfat");
    if (mkfs.isEmpty())
        GTEST_SKIP() << "mkfs.vfat (dosfstools) is not installed";
    QTemporaryDir work;
    const QString image = work.filePath("fat.img");
    ASSERT_TRUE(QFile(image).open(QIODevice::WriteOnly) && QFile::resize(image, 8 << 20));
    QString error;
    ASSERT_TRUE(run(mkfs, {image}, &error)) << error.toStdString();
    FuseMount fat("fusefat", {"-o", "rw+", image});
    if (!fat.skipReason.isEmpty())
        GTEST_SKIP() << fat.skipReason.toStdString();

    const QString root = fat.path;
    for (const QString name : {"a.txt", "b.txt", "c.txt", "keep.txt"})
        writeFile(root + "/" + name, name.toUtf8());
    ASSERT_TRUE(QDir(root).mkdir("folder"));
    writeFile(root + "/folder/inner", "deep");

    names::DirectoryHandle dir(root);
    DirRenamer r(dir);
    EXPECT_EQ(r.fileSystemName(), "fusefat");
    // A swap and a change of letter case only, both through temporary names.
    const names::RenameOutcome outcome = names::executeRenames(
        names::planRenames({"a.txt", "b.txt", "c.txt"}, QStringList{"b.txt", "a.txt", "C.txt"}), r);
    EXPECT_EQ(outcome.renamed, 3);
    EXPECT_EQ(r.rename(u"a.txt", u"keep.txt"), EEXIST);
    EXPECT_EQ(r.rename(u"a.txt", u"KEEP.TXT"), EEXIST);  // the same name here
    EXPECT_EQ(r.rename(u"folder", u"moved"), EOPNOTSUPP);
    // An entry's only name is never taken as a leftover of an interrupted rename.
    EXPECT_EQ(r.removeExtraName("keep.txt", dir.entryIdentity("keep.txt")), EEXIST);

    EXPECT_EQ(withContentIn(root),
              QStringList({"C.txt=c.txt", "a.txt=b.txt", "b.txt=a.txt", "folder=<missing>", "keep.txt=keep.txt"}));
    EXPECT_EQ(readFile(root + "/folder/inner"), "deep");
}

// sshfs numbers names, not files, and counts no links; bindfs told to hide link counts does the
// latter: a rename there must leave no second name behind.
TEST(FileSystems, RenamesWhereHardLinksCannotBeSeenLeaveNoSecondName)
{
    TempTree back;
    back.addOwnNames({"a", "b", "c"});
    FuseMount fuse("bindfs", {"--hide-hard-links", back.path()});
    if (!fuse.skipReason.isEmpty())
        GTEST_SKIP() << fuse.skipReason.toStdString();

    DirRenamer r(fuse.path);
    const names::RenameOutcome outcome =
        names::executeRenames(names::planRenames({"a", "b", "c"}, QStringList{"b", "a", "d"}), r);
    EXPECT_TRUE(outcome.failed.isEmpty());
    EXPECT_EQ(back.withContent(), QStringList({"a=b", "b=a", "d=c"}));
}
