// The save and open of the name text with scripted answers.
#include "textmode/TextMode.h"

#include "support/TestSupport.h"

namespace {

using namespace testsupport;
using textmode::SaveOutcome;

class SaveAndOpen : public ::testing::Test {
protected:
    ScriptedMessenger messenger;
    TempTree tree{{"old.txt", "folder/"}};
    const ShownMessage saved{QStringLiteral("File saved"), QStringLiteral("File Saved"), ui::Buttons::Ok, ui::Icon::Information};
    const ShownMessage overwrite{QStringLiteral("Die Datei existiert bereits, soll sie überschrieben werden?"),
                                 QStringLiteral("Überschreiben?"), ui::Buttons::YesNo, ui::Icon::Question};
};

TEST_F(SaveAndOpen, NewFileIsWrittenAndAnOldOneOnlyAfterTheQuestion)
{
    EXPECT_EQ(textmode::saveNameText(nullptr, "a\r\nb", tree.file("new.txt"), messenger), SaveOutcome::Saved);
    EXPECT_EQ(tree.read("new.txt"), QByteArray("a\r\nb\r\n"));
    EXPECT_TRUE(messenger.shown == QList<ShownMessage>{saved} && messenger.beeps == 1);

    messenger.shown.clear();
    messenger.beeps = 0;
    tree.add("old.txt", "keep");
    messenger.answerNext(ui::Answer::No);
    EXPECT_EQ(textmode::saveNameText(nullptr, "new", tree.file("old.txt"), messenger), SaveOutcome::Declined);
    EXPECT_EQ(tree.read("old.txt"), QByteArray("keep"));
    EXPECT_TRUE(messenger.shown == QList<ShownMessage>{overwrite} && messenger.beeps == 0);

    messenger.answerNext(ui::Answer::Yes);
    EXPECT_EQ(textmode::saveNameText(nullptr, "new", tree.file("old.txt"), messenger), SaveOutcome::Saved);
    EXPECT_EQ(tree.read("old.txt"), QByteArray("new\r\n"));
    EXPECT_EQ(messenger.shown, (QList<ShownMessage>{overwrite, overwrite, saved}));
}

TEST_F(SaveAndOpen, CancelAndFailureNeverSayFileSaved)
{
    for (const QString& path : {QString(), tree.file("folder")})
        EXPECT_EQ(textmode::saveNameText(nullptr, "x", path, messenger), SaveOutcome::Cancelled);
    EXPECT_TRUE(messenger.shown.isEmpty());

    EXPECT_EQ(textmode::saveNameText(nullptr, "x", tree.file("gone/x.txt"), messenger), SaveOutcome::Failed);
    ASSERT_EQ(messenger.shown.size(), 1);
    EXPECT_TRUE(messenger.shown[0].text.startsWith("Die Datei konnte nicht gespeichert werden:") && messenger.shown[0].icon == ui::Icon::Stop
                && messenger.beeps == 0);
    EXPECT_EQ(tree.entries(), (QStringList{"folder", "old.txt"}));
}

}  // namespace
