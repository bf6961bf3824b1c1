#pragma once
// The German wording of what the rename, its journal and its recovery report.
#include "names/RenameChecks.h"
#include "names/RenameJournal.h"
#include "names/RenamePlan.h"

#include <QList>
#include <QString>

namespace ui {

// A name with its control characters shown as their pictures, so that a message or a terminal line
// keeps its layout.
QString visible(const QString& name);

// Short German reason for an errno value ("Fehler Nr. N" for the rare ones).
QString errorText(int err);

// The refusal of a file system that offers no way to rename an entry without risking another;
// `fileSystem` as DirRenamer::fileSystemName() gives it, or empty.
QString unsafeRenameText(const QString& fileSystem);

// Why one entry was not renamed.
QString renameReasonText(const names::RenameProblem& problem);

// "Zeile 3: ", the start of every message about one line (counted from 1).
QString lineLabel(qsizetype line);
// "Gleich wie Zeile 12" (counted from 1).
QString sameAsLineText(qsizetype line);

// One entry with its line and reason: "Zeile 3: „a“ → „b“: …".
QString renameProblemLine(const names::RenameProblem& problem);

// Why a line of the name text is marked, as its tooltip says it.
QString lineMarkText(const names::LineMark& mark);
// The same with its line, as the batch mode lists it: "Zeile 3: …".
QString lineMarkLine(const names::LineMark& mark);
// How many lines are marked, for the tooltips of the line count and of the rename; empty for none.
QString markedLinesNote(qsizetype lines);
// Why a text of more than `mostLines` lines shows no marks.
QString marksOffNote(qsizetype mostLines);

// The report of the entries not renamed: a heading ("1 Eintrag wurde nicht umbenannt:"), and every entry
// with its line and reason, one per line. Both empty for an empty list.
QString renameProblemsHeading(const QList<names::RenameProblem>& problems);
QString renameProblemsList(const QList<names::RenameProblem>& problems);

// Why a rename stopped before the first entry; empty when it did not stop. `directory`: the path that
// no longer leads to the listed directory.
QString renameStopText(const names::RenameOutcome& outcome, const QString& directory = {});

// The scanned directory is no longer at its path.
QString directoryMovedText(const QString& path);

// The question asked when a directory with an interrupted rename is opened.
QString interruptedRenameTitle();
QString interruptedRenameText(const names::UnfinishedRename& rename);
// A recovery or undo set its damaged journal aside; empty when it did not.
QString journalSetAsideText(const names::RenameOutcome& outcome);

}  // namespace ui
