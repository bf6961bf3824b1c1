#include "app/BatchRename.h"

#include "names/DirectoryScan.h"
#include "names/FreedMemory.h"
#include "names/NameList.h"
#include "names/NameText.h"
#include "names/RenameChecks.h"
#include "names/RenamePlan.h"
#include "files/TextFile.h"
#include "textmode/TextMode.h"
#include "ui/RenameMessages.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>
#include <optional>

namespace app {

namespace {

// Work from which the heap is made ready for large pages: a list of some thirty thousand names.
constexpr size_t kLargeWork = size_t(16) << 20;

QString entriesWord(bool directories, qsizetype count)
{
    if (directories)
        return count == 1 ? QStringLiteral("Verzeichnis") : QStringLiteral("Verzeichnisse");
    return count == 1 ? QStringLiteral("Datei") : QStringLiteral("Dateien");
}

// Why the line count is wrong, with a hint when the listing leaves out entries of the other kind.
QString lineCountMismatch(const BatchRequest& request, const QString& dirPath, qsizetype entries, qsizetype lines)
{
    QString text = QStringLiteral("Achtung die Anzahl der Eingabe-Dateien stimmt nicht mit der der Ausgabedateien überein: "
                                  "%1 %2, aber %3 Zeilen in der Namensdatei.")
                       .arg(entries)
                       .arg(entriesWord(request.directories, entries))
                       .arg(lines);
    const names::ListingOptions otherKind = request.directories ? names::ListingOptions{false, false}
                                                                : names::ListingOptions{true, true};
    const qsizetype left = names::scanDirectory(dirPath, otherKind).names.size();
    if (left > 0)
        text += request.directories
            ? QStringLiteral(" Dateien des Verzeichnisses (%1) werden nur ohne --verzeichnisse umbenannt.").arg(left)
            : QStringLiteral(" Ordner des Verzeichnisses (%1) werden nur mit --verzeichnisse umbenannt.").arg(left);
    return text;
}

}  // namespace

QString directoryProblem(const QString& directory)
{
    const QFileInfo info(directory);
    if (!info.exists())
        return QStringLiteral("Das Verzeichnis „%1“ gibt es nicht.").arg(ui::visible(directory));
    if (!info.isDir())
        return QStringLiteral("„%1“ ist kein Verzeichnis.").arg(ui::visible(directory));
    if (!info.isReadable() || !QDir(directory).isReadable())
        return QStringLiteral("Das Verzeichnis „%1“ kann nicht gelesen werden.").arg(ui::visible(directory));
    return {};
}

QString interruptedRenameNote(const names::UnfinishedRename& interrupted)
{
    const QString affected = interrupted.entryCount == 1
        ? QStringLiteral("1 Eintrag betroffen")
        : QStringLiteral("%1 Einträge betroffen").arg(interrupted.entryCount);
    return QStringLiteral("Im Verzeichnis „%1“ wurde eine Umbenennung unterbrochen (%2). Bitte sie zuerst zu Ende "
                          "führen oder zurücknehmen: mit „quillet --recover finish VERZEICHNIS“ oder "
                          "„quillet --recover rollback VERZEICHNIS“, oder im Fenster.")
        .arg(ui::visible(interrupted.directoryPath), affected);
}

int runBatch(const BatchRequest& request, QTextStream& out, QTextStream& err)
{
    if (const QString problem = directoryProblem(request.directory); !problem.isEmpty()) {
        err << problem << Qt::endl;
        return kExitBadInput;
    }
    if (QFileInfo(request.namesFile).isDir()) {
        err << QStringLiteral("„%1“ ist ein Verzeichnis, keine Textdatei.").arg(ui::visible(request.namesFile)) << Qt::endl;
        return kExitBadInput;
    }
    // Read as the text mode reads its files, so a list saved there renames here.
    const files::ReadResult file = files::readTextFile(request.namesFile);
    if (file.status != files::ReadStatus::Ok) {
        err << textmode::readFailureText(file.status) << QStringLiteral(": „%1“.").arg(ui::visible(request.namesFile)) << Qt::endl;
        return kExitBadInput;
    }
    const QString& text = file.text;
    // The listing, the checks and the plan take some ten times the text's memory, all of it new to this
    // young process, where every first touch of a page costs more than the work on it.
    if (const size_t bytes = size_t(20) * size_t(text.size()); bytes >= kLargeWork)
        names::roomForLargeBlocks(bytes);
    const QFileInfo dirInfo(request.directory);
    // Absolute and with its separator, so no blank at either end of the name can be lost on the way.
    const QString dirPath = names::withTrailingSeparator(dirInfo.absoluteFilePath());

    // The stored options of the window do not apply: the request says files or folders.
    const names::ListingOptions options{request.directories, request.directories};
    // The directory is held from this listing to the rename, with the journal and its recovery of the window.
    names::NameList list;
    list.setStartPath(dirPath);
    list.setWithoutWindow(true);
    const names::ScanResult& scan = list.scan(options);
    if (const std::optional<names::UnfinishedRename> interrupted = list.interruptedRename()) {
        // Renaming over a half-done rename would mix two plans; it has to be ended first.
        err << interruptedRenameNote(*interrupted) << QStringLiteral(" Es wurde nichts umbenannt.") << Qt::endl;
        return kExitNotAllRenamed;
    }
    if (!scan.unlistable.isEmpty())
        err << (scan.unlistable.size() == 1
                    ? QStringLiteral("Hinweis: 1 Eintrag hat keine Zeile, weil sein Name nicht als eine Zeile "
                                     "geschrieben werden kann; er bleibt, wie er ist.")
                    : QStringLiteral("Hinweis: %1 Einträge haben keine Zeile, weil ihr Name nicht als eine Zeile "
                                     "geschrieben werden kann; sie bleiben, wie sie sind.")
                          .arg(scan.unlistable.size()))
            << Qt::endl;

    // The checks of the window, in its order; each one stops the whole batch. A dry run goes on to list
    // every line the window would mark, with the same words.
    const names::CheckResult check = names::checkRename(text, scan.names.size(), true);
    switch (check.verdict) {
    case names::RenameCheck::InvalidCharacters:
        err << QStringLiteral("Die Dateinamen enthalten ungültige Zeichen (\\/*?\"<>|). Dateien werden nicht umbenannt!")
            << Qt::endl;
        if (!request.dryRun)
            err << ui::lineLabel(check.offendingLineIndex + 1) << QStringLiteral("„%1“").arg(ui::visible(check.offendingLine))
                << Qt::endl;
        break;
    case names::RenameCheck::WrongLineCount:
        err << lineCountMismatch(request, dirPath, scan.names.size(), names::lineCount(text)) << Qt::endl;
        break;
    case names::RenameCheck::DuplicateLines:
        // The window asks whether to go on; without a window the answer is No.
        err << QStringLiteral("Es sind doppelte Zeilen vorhanden!     Zeile: %1 und Zeile: %2 sind gleich!")
                   .arg(check.duplicates.first + 1)
                   .arg(check.duplicates.second + 1)
            << Qt::endl
            << QStringLiteral("Name:  '%1'").arg(ui::visible(check.duplicates.line)) << Qt::endl;
        break;
    case names::RenameCheck::NothingChanged:
    case names::RenameCheck::Ok:
        break;
    }
    const bool stopped = check.verdict != names::RenameCheck::Ok;

    if (request.dryRun) {
        const names::RenameContext context = list.renameContext();
        const QList<names::LineMark> marks = names::checkLines(context, text);
        if (!stopped) {
            const names::RenamePlan plan =
                names::planRenames(scan.names, names::splitNameLines(text, scan.names.size()), context.limits());
            for (const names::PlannedRename& move : plan.moves)
                out << ui::visible(move.from.toString()) << QStringLiteral(" → ") << ui::visible(move.to.toString()) << Qt::endl;
        }
        for (const names::LineMark& mark : marks)
            err << ui::lineMarkLine(mark) << Qt::endl;
        if (stopped)
            err << QStringLiteral("Es wurde nichts umbenannt.") << Qt::endl;
        return stopped || std::any_of(marks.cbegin(), marks.cend(), names::isRefusal) ? kExitNotAllRenamed
                                                                                      : kExitAllRenamed;
    }
    if (stopped) {
        if (check.verdict != names::RenameCheck::InvalidCharacters)
            err << QStringLiteral("Es wurde nichts umbenannt.") << Qt::endl;
        return kExitNotAllRenamed;
    }

    const names::RenameOutcome outcome = list.rename(text, options);
    if (outcome.stopped != names::RenameStop::None) {
        err << ui::renameStopText(outcome, request.directory) << Qt::endl;
        return kExitNotAllRenamed;
    }
    for (const names::RenameProblem& problem : outcome.failed)
        err << ui::renameProblemLine(problem) << Qt::endl;
    return outcome.failed.isEmpty() ? kExitAllRenamed : kExitNotAllRenamed;
}

}  // namespace app
