// The update with a script standing in for the updater, fetched from a loopback server when missing.
#include "web/Update.h"

#include "EnvVar.h"
#include "LoopbackServer.h"
#include "RecordingUpdater.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QTest>

namespace {

using namespace testsupport;

class Update : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.isListening()); }
    void update(const char* programFile = "my prog.exe")
    {
        web::Download_Click(nullptr, messenger, program.path(), QString::fromUtf8(programFile));
    }

    ScriptedMessenger messenger;
    LoopbackServer server;
    EnvVar webBase{"QUILLET_WEB_BASE", server.base().toUtf8() + "/"};
    TempTree program;
    TempTree elsewhere;
};

TEST_F(Update, AskedFirstAndNoDoesNothing)
{
    installRecordingUpdater(program);
    messenger.answerNext(ui::Answer::No);
    update();
    ASSERT_EQ(messenger.shown.size(), 1);
    EXPECT_EQ(messenger.shown[0], (ShownMessage{"Dies ist die Version: 2.04\r\rSoll jetzt überprüft werden ob eine neuere Version verfügbar ist?",
                                                "Auf neue Version überprüfen?", ui::Buttons::YesNo, ui::Icon::Information}));
    QTest::qWait(200);
    EXPECT_FALSE(QFile::exists(program.file("args.txt")));
    EXPECT_EQ(messenger.ends, 0);
}

TEST_F(Update, PresentUpdaterStartsWithTheExactCommandLineAndTheProgramEnds)
{
    installRecordingUpdater(program);
    CurrentDir cwd(elsewhere.path());  // the updater is looked for beside the program, not here
    update();
    EXPECT_EQ(recordedUpdaterArguments(program),
              (QStringList{"[URL]" + server.base() + "/Downloads/Tools/Quillet/Quillet.exe", "[PATH]my prog.exe"}));
    EXPECT_EQ(messenger.ends, 1);
    EXPECT_EQ(server.requests("/Downloads/Tesk-Updater.exe"), 0);
    EXPECT_EQ(messenger.shown.size(), 1);  // the question only
}

TEST_F(Update, MissingUpdaterIsFetchedIntoTheProgramFolderThenStarted)
{
    server.serve("/Downloads/Tesk-Updater.exe", {200, kRecordingUpdater});
    CurrentDir cwd(elsewhere.path());
    update();
    EXPECT_EQ(recordedUpdaterArguments(program).value(1), "[PATH]my prog.exe");
    EXPECT_EQ(program.read("Update.exe"), kRecordingUpdater);
    EXPECT_FALSE(QFile::exists(elsewhere.file("Update.exe")));
    EXPECT_EQ(messenger.ends, 1);
}

TEST_F(Update, FailedFetchIsReportedAndTheProgramGoesOn)
{
    update();  // the server answers 404
    EXPECT_EQ(server.requests("/Downloads/Tesk-Updater.exe"), 1);
    ASSERT_EQ(messenger.shown.size(), 2);
    EXPECT_EQ(messenger.shown[1], (ShownMessage{"Update.exe\r\rDownload Failed! ", "", ui::Buttons::Ok, ui::Icon::Stop}));
    EXPECT_FALSE(QFile::exists(program.file("Update.exe")));  // no error page stands in for the updater
    EXPECT_EQ(messenger.ends, 0);
}

TEST_F(Update, UpdaterThatCannotStartKeepsTheProgramRunning)
{
    program.add("Update.exe", "not a program");
    QFile::setPermissions(program.file("Update.exe"), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    update();
    ASSERT_EQ(messenger.shown.size(), 2);
    EXPECT_EQ(messenger.shown[1].icon, ui::Icon::Stop);
    EXPECT_EQ(messenger.ends, 0);
}

}  // namespace
