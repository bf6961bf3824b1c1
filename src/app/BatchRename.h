#pragma once
// Renames the entries of a directory by the lines of a text file, without a window: the scan,
// checks, plan and safe engine of the main window, with the answers printed instead of shown.
#include <QString>

class QTextStream;

namespace names {
struct RenameProblem;
struct UnfinishedRename;
}

namespace app {

// Exit codes of the batch mode and of the command line as a whole.
enum ExitCode : int {
    kExitAllRenamed = 0,
    kExitNotAllRenamed = 1,  // some entries refused or failed, or a check stopped the whole batch
    kExitBadInput = 2,       // bad arguments, unreadable names file or directory
};

struct BatchRequest {
    QString namesFile;
    QString directory;
    bool directories = false;  // rename the directory's folders instead of its files
    bool dryRun = false;       // print the planned pairs, touch nothing
};

// Planned pairs go to `out` as "alt → neu"; every entry that is not renamed, and every reason
// that stops the batch, to `err` as one German line. Returns an ExitCode.
int runBatch(const BatchRequest& request, QTextStream& out, QTextStream& err);

// Why `directory` cannot be worked on without a window, as one German line; empty when it can.
QString directoryProblem(const QString& directory);

// The directory has an interrupted rename, and how to end it without a window (or in the window).
QString interruptedRenameNote(const names::UnfinishedRename& interrupted);

}  // namespace app
