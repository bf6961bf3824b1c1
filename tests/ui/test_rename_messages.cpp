// The German wording of rename problems.
#include "ui/RenameMessages.h"

#include <gtest/gtest.h>

#include <cerrno>

using names::RenameProblem;
using names::RenameReason;

TEST(RenameMessages, ErrorsReadInGermanAndRareOnesByNumber)
{
    EXPECT_EQ(ui::errorText(EPERM) + u'|' + ui::errorText(9999), "Zugriff verweigert|Fehler Nr. 9999");
    EXPECT_EQ(ui::renameReasonText({1, "a", "b", RenameReason::DiskError, EROFS}), ui::errorText(EROFS));
}

TEST(RenameMessages, ReasonsNameTheOtherLineOrTheNameTheEntryHasNow)
{
    EXPECT_EQ(ui::renameReasonText({5, "a", "b", RenameReason::SameTargetAsLine, 0, 2}), "Gleich wie Zeile 2");
    EXPECT_EQ(ui::renameReasonText({5, "a", "b", RenameReason::TargetHeldByStayingLine, 0, 3}),
              "Der Name ist schon vergeben: „b“ (Zeile 3 behält ihn)");
    EXPECT_EQ(ui::renameReasonText({5, "a", "b", RenameReason::LeftUnderTemporaryName, EBUSY, 0, "quillet-tmp-1"}),
              "Eintrag ist in Benutzung; der Eintrag heißt jetzt „quillet-tmp-1“");
    // Hidden names and the sibling tool's name are refused for different reasons that read differently.
    EXPECT_NE(ui::renameReasonText({1, "h.txt", ".h.txt", RenameReason::NeverListed}),
              ui::renameReasonText({1, "p.exe", "peldra.exe", RenameReason::NeverListed}));
}

TEST(RenameMessages, TheListNamesEveryProblemHoweverMany)
{
    EXPECT_TRUE(ui::renameProblemsHeading({}).isEmpty() && ui::renameProblemsList({}).isEmpty());
    const QList<RenameProblem> one{{7, "a\tb", "c", RenameReason::DiskError, EACCES}};
    EXPECT_EQ(ui::renameProblemsHeading(one), "1 Eintrag wurde nicht umbenannt:");
    EXPECT_EQ(ui::renameProblemsList(one), QString("Zeile 7: „a") + QChar(0x2409) + "b“ → „c“: Zugriff verweigert");
    QList<RenameProblem> many;
    for (int i = 1; i <= 300; ++i)
        many.append({i, QString("f%1").arg(i), "x", RenameReason::TargetExists});
    EXPECT_EQ(ui::renameProblemsHeading(many), "300 Einträge wurden nicht umbenannt:");
    const QString list = ui::renameProblemsList(many);
    EXPECT_TRUE(list.count('\n') == 299 && list.endsWith("Zeile 300: „f300“ → „x“: Der Name ist schon vergeben: „x“ (nicht in der Liste)"));
}

TEST(RenameMessages, StopAndRecoveryTexts)
{
    names::RenameOutcome stopped;
    EXPECT_TRUE(ui::renameStopText(stopped).isEmpty());
    stopped.stopped = names::RenameStop::JournalNotWritten;
    stopped.stopError = EROFS;
    const QString text = ui::renameStopText(stopped);
    EXPECT_TRUE(text.contains("(Das Dateisystem ist schreibgeschützt)") && text.endsWith("es wurde nichts umbenannt.")) << text.toStdString();
    EXPECT_TRUE(ui::interruptedRenameText({"f", "/music", 1}).contains("„/music“ wurde eine Umbenennung unterbrochen; 1 Eintrag ist betroffen."));
}
