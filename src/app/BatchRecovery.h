#pragma once
// Ends an interrupted rename or undoes the last rename of a directory without a window: the engine of
// the window's recovery question and of its undo item, with the answers printed instead of shown.
#include <QString>

class QTextStream;

namespace app {

struct RecoveryRequest {
    enum class Action {
        Finish,    // every entry of the interrupted rename to its new name
        Rollback,  // every entry of the interrupted rename back to its name from before
        Undo,      // every entry of the last completed rename back to its name from before
    };
    Action action = Action::Finish;
    QString directory;
    bool directories = false;  // list the folders after the work, as the batch rename does
};

// Exit codes as the batch rename's. Finish and Rollback: 0 when every entry has its chosen name, and
// when there was nothing to end (a note on `out`), so a script may run them before every --apply.
// Undo: 0 when every entry has its old name back; 1 also when there is nothing to undo, or an
// interrupted rename has to be ended first.
int runRecovery(const RecoveryRequest& request, QTextStream& out, QTextStream& err);

}  // namespace app
