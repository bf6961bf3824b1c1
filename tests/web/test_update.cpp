// The update with a script as the updater, fetched from loopback when missing; refused to root and foreign folders.
#include "web/Update.h"
#include "web/UpdatePermission.h"

#include "EnvVar.h"
#include "LoopbackServer.h"
#include "OrdinaryUser.h"
#include "RecordingUpdater.h"
#include "UrlCatcher.h"

#include <QDesktopServices>

#include <unistd.h>

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
    OrdinaryUser user{{program.path(), elsewhere.path()}};  // the updater is never run as root
};

const QString kRefusal = "Dies ist die Version: 2.04\r\rUpdates für diese Installation kommen über die Paketverwaltung des "
                         "Systems. Quillet lädt keine Updates in einen Programmordner, der nicht Ihnen gehört, und startet "
                         "als Administrator (root) keine heruntergeladenen Programme.\r\rSoll die Homepage geöffnet werden?";

// Fetched beside the program when missing, then used as it is; started with its command line, and the program ends.
TEST_F(Update, TheUpdaterIsFetchedWhenMissingThenStartedAndTheProgramEnds)
{
    server.serve("/Downloads/Tesk-Updater.exe", {200, kRecordingUpdater});
    CurrentDir cwd(elsewhere.path());  // the updater is looked for beside the program, not here
    for (int run = 1; run <= 2; ++run) {
        update();
        EXPECT_EQ(recordedUpdaterArguments(program),
                  (QStringList{"[URL]" + server.base() + "/Downloads/Tools/Quillet/Quillet.exe", "[PATH]my prog.exe"}));
        ASSERT_TRUE(QFile::remove(program.file("args.txt")));
        EXPECT_EQ(messenger.ends, run);
    }
    EXPECT_EQ(server.requests("/Downloads/Tesk-Updater.exe"), 1);
    EXPECT_EQ(program.read("Update.exe"), kRecordingUpdater);
    EXPECT_FALSE(QFile::exists(elsewhere.file("Update.exe")));
    EXPECT_EQ(messenger.shown.size(), 2);  // the question only, each time
}

TEST_F(Update, AskedFirstThenAFailedFetchOrAnUpdaterThatCannotStartIsReportedAndTheProgramGoesOn)
{
    messenger.answerNext(ui::Answer::No);
    update();  // "No": nothing is fetched
    EXPECT_EQ(server.allRequests(), 0);
    update();  // the server answers 404
    EXPECT_EQ(server.requests("/Downloads/Tesk-Updater.exe"), 1);
    const ShownMessage question{"Dies ist die Version: 2.04\r\rSoll jetzt überprüft werden ob eine neuere Version verfügbar ist?",
                                "Auf neue Version überprüfen?", ui::Buttons::YesNo, ui::Icon::Information};
    EXPECT_EQ(messenger.shown,
              QList<ShownMessage>({question, question, {"Update.exe\r\rDownload Failed! ", "", ui::Buttons::Ok, ui::Icon::Stop}}));
    EXPECT_FALSE(QFile::exists(program.file("Update.exe")));  // no error page stands in for the updater

    program.add("Update.exe", "not a program");
    QFile::setPermissions(program.file("Update.exe"), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    update();
    ASSERT_EQ(messenger.shown.size(), 5);
    EXPECT_EQ(messenger.shown[4].icon, ui::Icon::Stop);
    EXPECT_EQ(messenger.ends, 0);
}

TEST(UpdatePermission, OnlyFromAFolderOfTheUsersOwnAndNeverAsRoot)
{
    using web::UpdateRefusal;
    const web::ProgramFolderFacts own{"/home/anna/quillet", true, 1000, 1000, 1000u, true};
    auto with = [&](auto change) {
        web::ProgramFolderFacts facts = own;
        change(facts);
        return web::updateRefusal(facts);
    };
    EXPECT_EQ(web::updateRefusal(own), UpdateRefusal::None);
    EXPECT_EQ(with([](auto& f) { f.effectiveUser = f.realUser = 0, f.owner = 0u; }), UpdateRefusal::RunningAsRoot);
    EXPECT_EQ(with([](auto& f) { f.realUser = 0; }), UpdateRefusal::RunningAsRoot);
    EXPECT_EQ(with([](auto& f) { f.owner = 0u; }), UpdateRefusal::NotUsersFolder);
    EXPECT_EQ(with([](auto& f) { f.owner.reset(); }), UpdateRefusal::NotUsersFolder);
    EXPECT_EQ(with([](auto& f) { f.writable = false; }), UpdateRefusal::NotUsersFolder);
    EXPECT_EQ(with([](auto& f) { f.folder = "/usr/local/bin"; }), UpdateRefusal::NotUsersFolder);
    EXPECT_EQ(with([](auto& f) { f.folder = "/usrdata/quillet"; }), UpdateRefusal::None);
    // Without user ids (Windows) the updater asks for the rights it needs itself.
    EXPECT_EQ(with([](auto& f) { f = {"C:/Programme/Quillet", false, 0, 0, std::nullopt, false}; }), UpdateRefusal::None);
}

TEST(UpdateAsRoot, NothingIsFetchedOrStarted)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "runs only as root";
    ScriptedMessenger messenger;
    LoopbackServer server;
    EnvVar webBase{"QUILLET_WEB_BASE", server.base().toUtf8()};
    server.serve("/Downloads/Tesk-Updater.exe", {200, kRecordingUpdater});
    TempTree program;
    messenger.answerNext(ui::Answer::No);
    web::Download_Click(nullptr, messenger, program.path(), "quillet");
    EXPECT_EQ(messenger.shown, (QList<ShownMessage>{{kRefusal, "Update", ui::Buttons::YesNo, ui::Icon::Information}}));
    EXPECT_EQ(server.requests("/Downloads/Tesk-Updater.exe"), 0);
    EXPECT_EQ(program.entries(), QStringList{});
    EXPECT_EQ(messenger.ends, 0);
}

// A program folder that is not the user's own (run as root, the fixture already acts as an ordinary user).
TEST_F(Update, AFolderNotTheUsersOwnGetsNothingAndTheHomepageIsOffered)
{
    server.serve("/Downloads/Tesk-Updater.exe", {200, kRecordingUpdater});
    program.add("Update.exe", kRecordingUpdater);
    QFile::setPermissions(program.file("Update.exe"), QFile::permissions(program.file("Update.exe")) | QFileDevice::ExeOwner);
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("http", &catcher, "open");
    const QFileDevice::Permissions own = QFile::permissions(program.path());
    QFile::setPermissions(program.path(), own & ~(QFileDevice::WriteOwner | QFileDevice::WriteUser | QFileDevice::WriteGroup
                                                  | QFileDevice::WriteOther));
    update("quillet");  // "Yes": the homepage
    QFile::setPermissions(program.path(), own);
    QDesktopServices::unsetUrlHandler("http");
    EXPECT_EQ(messenger.shown, (QList<ShownMessage>{{kRefusal, "Update", ui::Buttons::YesNo, ui::Icon::Information}}));
    EXPECT_EQ(catcher.opened, QList<QUrl>{QUrl(server.base() + "/Downloads/Tools/Quillet")});
    EXPECT_EQ(server.requests("/Downloads/Tesk-Updater.exe"), 0);
    EXPECT_EQ(program.entries(), QStringList{"Update.exe"});  // not started: it would have left its record
    EXPECT_EQ(messenger.ends, 0);
}

}  // namespace
