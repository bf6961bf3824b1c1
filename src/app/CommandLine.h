#pragma once
// The program's command line: "quillet [Verzeichnis]" opens the window; --help, --version, the batch
// mode "quillet --apply NAMEN.txt VERZEICHNIS" and its "--recover" and "--undo" run without one.
#include "app/BatchRecovery.h"
#include "app/BatchRename.h"

#include <QString>
#include <QStringList>

class QTextStream;

namespace app {

struct CommandLine {
    enum class Mode { Window, Help, Version, Batch, Recovery, Invalid };
    Mode mode = Mode::Window;
    QString startPath;         // Window: the directory (or a file in it) to open; may be empty
    BatchRequest batch;        // Batch
    RecoveryRequest recovery;  // Recovery
    QString text;        // Help: the help text; Invalid: why the arguments are wrong
};

// args: the program's arguments, its own name first. Help texts are German once the German
// catalogues are loaded.
CommandLine parseCommandLine(const QStringList& args);

// True when the arguments ask for something that needs no window (help, version, the batch mode
// and its options): such a start must work without a display.
bool runsWithoutWindow(const QStringList& args);

// Prints the help, the version or the reason the arguments are wrong, or runs the batch mode or its
// recovery.
// Returns the exit code.
int runWithoutWindow(const CommandLine& commandLine, QTextStream& out, QTextStream& err);

// Writes why the arguments are wrong, with a pointer to the help.
void printUsageError(const QString& reason, QTextStream& err);

}  // namespace app
