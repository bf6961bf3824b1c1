#include "app/BatchRecovery.h"

#include "app/BatchRename.h"
#include "names/NameList.h"
#include "ui/RenameMessages.h"

#include <QFileInfo>
#include <QTextStream>

#include <optional>

namespace app {

namespace {

// Prints why the work stopped or which entries did not get their names; true when everything went.
bool reportOutcome(const names::RenameOutcome& outcome, const QString& directory, QTextStream& err)
{
    if (outcome.stopped != names::RenameStop::None) {
        err << ui::renameStopText(outcome, directory) << Qt::endl;
        return false;
    }
    if (const QString setAside = ui::journalSetAsideText(outcome); !setAside.isEmpty())
        err << setAside << Qt::endl;
    for (const names::RenameProblem& problem : outcome.failed)
        err << ui::renameProblemLine(problem) << Qt::endl;
    return outcome.failed.isEmpty();
}

int recover(names::NameList& list, const RecoveryRequest& request, const names::ListingOptions& options,
            QTextStream& out, QTextStream& err)
{
    const QString shown = ui::visible(request.directory);
    if (!list.interruptedRename()) {
        out << QStringLiteral("Im Verzeichnis „%1“ gibt es keine unterbrochene Umbenennung; es wurde nichts geändert.")
                   .arg(shown)
            << Qt::endl;
        return kExitAllRenamed;
    }
    const bool finish = request.action == RecoveryRequest::Action::Finish;
    const names::RenameOutcome outcome =
        list.recoverInterrupted(finish ? names::RecoveryChoice::Finish : names::RecoveryChoice::Rollback, options);
    bool complete = reportOutcome(outcome, request.directory, err);
    // The journal must be closed by now; one still open would block every later rename.
    if (const std::optional<names::UnfinishedRename> still = list.interruptedRename()) {
        err << interruptedRenameNote(*still) << Qt::endl;
        complete = false;
    }
    if (!complete)
        return kExitNotAllRenamed;
    out << (finish ? QStringLiteral("Die unterbrochene Umbenennung in „%1“ wurde zu Ende geführt.")
                   : QStringLiteral("Die unterbrochene Umbenennung in „%1“ wurde zurückgenommen."))
               .arg(shown)
        << Qt::endl;
    return kExitAllRenamed;
}

int undo(names::NameList& list, const RecoveryRequest& request, const names::ListingOptions& options,
         QTextStream& out, QTextStream& err)
{
    const QString shown = ui::visible(request.directory);
    // Undoing an older rename under a half-done one would mix two plans.
    if (const std::optional<names::UnfinishedRename> interrupted = list.interruptedRename()) {
        err << interruptedRenameNote(*interrupted) << QStringLiteral(" Es wurde nichts rückgängig gemacht.")
            << Qt::endl;
        return kExitNotAllRenamed;
    }
    if (!list.hasLastRename()) {
        err << QStringLiteral("Im Verzeichnis „%1“ gibt es keine Umbenennung, die rückgängig gemacht werden kann.")
                   .arg(shown)
            << Qt::endl;
        return kExitNotAllRenamed;
    }
    if (!reportOutcome(list.undoLastRename(options), request.directory, err))
        return kExitNotAllRenamed;
    out << QStringLiteral("Die letzte Umbenennung in „%1“ wurde rückgängig gemacht.").arg(shown) << Qt::endl;
    return kExitAllRenamed;
}

}  // namespace

int runRecovery(const RecoveryRequest& request, QTextStream& out, QTextStream& err)
{
    if (const QString problem = directoryProblem(request.directory); !problem.isEmpty()) {
        err << problem << Qt::endl;
        return kExitBadInput;
    }
    const names::ListingOptions options{request.directories, request.directories};
    names::NameList list;
    list.setStartPath(names::withTrailingSeparator(QFileInfo(request.directory).absoluteFilePath()));
    list.scan(options);
    if (request.action == RecoveryRequest::Action::Undo)
        return undo(list, request, options, out, err);
    return recover(list, request, options, out, err);
}

}  // namespace app
