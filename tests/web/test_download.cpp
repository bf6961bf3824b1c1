// Downloads from a real HTTP server on loopback: target names, overwrite modes, failures that leave no file.
#include "web/Download.h"
#include "web/WebSite.h"

#include "LoopbackServer.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

using namespace std::chrono_literals;

namespace {

using namespace testsupport;
using web::URLToFileDownload;

class Download : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.isListening());
        server.serve("/files/song.mp3", {200, "new song"});
        server.serve("/files/README", {200, "readme"});
    }
    QString url(const char* path) const { return server.base() + QLatin1String(path); }

    LoopbackServer server;
    TempTree tree{{"dir/"}};
};

TEST_F(Download, ToAFileAndIntoAFolder)
{
    EXPECT_EQ(URLToFileDownload(url("/files/song.mp3"), tree.file("x.bin")), tree.file("x.bin"));
    EXPECT_EQ(tree.read("x.bin"), "new song");
    EXPECT_EQ(URLToFileDownload(url("/files/song.mp3"), tree.file("dir"), web::Replace), tree.file("dir/song.mp3"));
    EXPECT_EQ(tree.read("dir/song.mp3"), "new song");
}

TEST_F(Download, FreeNameNumbering)
{
    tree.add("dir/song.mp3", "one");
    tree.add("dir/song (2).mp3", "two");
    EXPECT_EQ(URLToFileDownload(url("/files/song.mp3"), tree.file("dir")), tree.file("dir/song (3).mp3"));
    EXPECT_EQ(URLToFileDownload(url("/files/song.mp3"), tree.file("dir/song.mp3")), tree.file("dir/song (4).mp3"));
    EXPECT_EQ(tree.read("dir/song.mp3"), "one");
    EXPECT_EQ(tree.read("dir/song (2).mp3"), "two");
    EXPECT_EQ(tree.read("dir/song (4).mp3"), "new song");
    tree.add("dir/README", "old");
    EXPECT_EQ(URLToFileDownload(url("/files/README"), tree.file("dir")), tree.file("dir/README (2)"));
}

TEST_F(Download, KeepExistingLeavesTheFileAndAsksNothing)
{
    tree.add("dir/song.mp3", "mine");
    EXPECT_EQ(URLToFileDownload(url("/files/song.mp3"), tree.file("dir"), web::KeepExisting), "");
    EXPECT_EQ(URLToFileDownload(url("/files/song.mp3"), tree.file("dir/song.mp3"), web::KeepExisting), "");
    EXPECT_EQ(tree.read("dir/song.mp3"), "mine");
    EXPECT_EQ(server.requests("/files/song.mp3"), 0);
    EXPECT_EQ(URLToFileDownload(url("/files/song.mp3"), tree.file("dir/song.mp3"), web::Replace), tree.file("dir/song.mp3"));
    EXPECT_EQ(tree.read("dir/song.mp3"), "new song");
}

TEST_F(Download, QuotesAroundAddressAndDestinationAreDropped)
{
    tree.add("with blank/");
    const QString quoted = QLatin1Char('"') + tree.file("with blank") + QLatin1Char('"');
    EXPECT_EQ(URLToFileDownload(QLatin1Char('"') + url("/files/song.mp3") + QLatin1Char('"'), quoted, web::Replace),
              tree.file("with blank/song.mp3"));
    EXPECT_EQ(tree.read("with blank/song.mp3"), "new song");
    EXPECT_EQ(web::withoutQuotes("\""), "\"");
    EXPECT_EQ(web::withoutQuotes("\"a"), "\"a");
}

TEST_F(Download, ErrorAnswersCreateNoFileAndReplaceNothing)
{
    server.serve("/files/error.mp3", {500, "<html>error page</html>"});
    EXPECT_EQ(URLToFileDownload(url("/files/missing.mp3"), tree.file("dir")), "");
    EXPECT_EQ(URLToFileDownload(url("/files/missing.mp3"), tree.file("dir/new.mp3"), web::Replace), "");
    tree.add("dir/kept.mp3", "kept");
    EXPECT_EQ(URLToFileDownload(url("/files/error.mp3"), tree.file("dir/kept.mp3"), web::Replace), "");
    EXPECT_EQ(tree.read("dir/kept.mp3"), "kept");
    EXPECT_EQ(tree.entries(), QStringList{"dir"});
    EXPECT_EQ(QDir(tree.file("dir")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"kept.mp3"});
    EXPECT_EQ(server.requests("/files/missing.mp3"), 2);
}

TEST_F(Download, ASilentServerTimesOut)
{
    server.serve("/files/slow.mp3", {200, "", true});
    EXPECT_EQ(URLToFileDownload(url("/files/slow.mp3"), tree.file("dir"), web::FreeName, {300ms}), "");
    EXPECT_EQ(server.requests("/files/slow.mp3"), 1);
    EXPECT_EQ(QDir(tree.file("dir")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{});
}

TEST_F(Download, TheProgressButtonEndsTheDownload)
{
    server.serve("/files/slow.mp3", {200, "", true});
    QTimer::singleShot(100, [] {
        auto* progress = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(progress, nullptr);
        EXPECT_EQ(progress->objectName(), "DownloadProgress");
        auto* abbrechen = progress->findChild<QPushButton*>();
        ASSERT_NE(abbrechen, nullptr);
        EXPECT_EQ(abbrechen->text(), "Abbrechen");
        abbrechen->click();
    });
    QElapsedTimer took;
    took.start();
    EXPECT_EQ(URLToFileDownload(url("/files/slow.mp3"), tree.file("dir")), "");
    EXPECT_LT(took.elapsed(), 5000);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(QDir(tree.file("dir")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{});
}

TEST_F(Download, OnlyTrustedAddressesAreFetched)
{
    EXPECT_EQ(URLToFileDownload("http://example.com/files/song.mp3", tree.file("dir")), "");
    EXPECT_EQ(URLToFileDownload("ftp://127.0.0.1/song.mp3", tree.file("dir")), "");
    EXPECT_EQ(URLToFileDownload(url("/files/"), tree.file("dir")), "");  // no name to save under
    for (const char* trusted : {"https://example.com/a", "http://127.0.0.1:8/a", "http://localhost/a", "http://[::1]/a"})
        EXPECT_TRUE(web::isTrustedAddress(QUrl(QString::fromLatin1(trusted)))) << trusted;
    for (const char* untrusted : {"http://example.com/a", "http://127.0.0.1.example.com/a", "file:///etc/passwd", "a/b"})
        EXPECT_FALSE(web::isTrustedAddress(QUrl(QString::fromLatin1(untrusted)))) << untrusted;
}

}  // namespace
