#pragma once
// The German texts of the main window in one place: captions that change, reports and questions.
#include <QString>
#include <QtGlobal>

namespace names {
struct DuplicateLines;
}

namespace msg {

// Label2 after a change of the name text.
QString lineCountCaption(qsizetype lines, bool matches);
QString noEntriesFound();
// Label1 after a scan.
QString originalCaption(qsizetype entries);
QString unlistedTooltip(qsizetype count, const QString& shownNames);
// Why entries of the directory are missing from the list: the listing options leave them out.
QString leftOutTooltip(qsizetype count, bool foldersLeftOut);
// The same, short, for the free room of the list.
QString leftOutNote(qsizetype count, bool foldersLeftOut);

// The checks before a rename.
QString invalidCharactersTitle();
// The line the correction dialog was to correct no longer stands in the name text.
QString lineNoLongerThere(const QString& line);
QString wrongLineCount();
QString wrongLineCountTitle();
QString nothingChanged();
QString nothingChangedTitle();
QString duplicateLinesQuestion(const names::DuplicateLines& duplicates);
QString duplicateLinesTitle();
QString renameProblemsTitle();
QString undoLastRenameTitle();
QString renameProgress(qint64 done, qint64 total);
QString loadProgress(qint64 entriesRead);
QString exitCaptionAfterRename();

// Questions of the main commands.
QString copyNameQuestion(const QString& name);
QString copyNameTitle();
QString discardChangesQuestion();
QString discardChangesTitle();
QString closeWithoutRenameQuestion();
QString closeWithoutRenameTitle();
QString tips();
QString tipsTitle();

// Tool commands.
QString replaceInSelectionQuestion();
QString replaceReport(qint64 count);
QString replaceReportTitle();
QString underscoreReport(const QString& caption, qint64 count);
QString umlautReport(const QString& caption, qint64 count);
QString trimReport(const QString& caption, qint64 removed);
QString doneReport(const QString& caption);
QString overflow();
QString numberingMismatchQuestion(int width);
QString numberingMismatchTitle();
QString numberingProgress(qint64 done, qint64 total);
// The tooltips of the two switching buttons after a click: what the next click does.
QString underscoreTooltip(bool nextToBlanks);
QString umlautTooltip(bool nextRemoves);
QString homepageNotOpened(const QString& url);

}  // namespace msg
