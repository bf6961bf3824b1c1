#include "names/NameList.h"

#include "names/NameLimit.h"
#include "names/NameRules.h"
#include "names/SafeRename.h"

#include <QStandardPaths>

#include <algorithm>

namespace names {

QString defaultJournalFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/journals");
}

namespace {

// The line that gives the entry now called `current` its name `full` back: its display name, or the
// full name where a blank line would keep the current name or a changed extension would not come back.
// Worked out on views, as it runs for every entry after every rename.
QStringView recoverLine(QStringView current, QStringView full)
{
    const QStringView shown = hasThreeCharExtension(full) ? full.chopped(4) : full;
    if (isBlankLine(shown))
        return full;
    // The line's name is the shown part plus, where the line itself has no extension, the current one.
    const bool comesBack = hasThreeCharExtension(current) && !hasThreeCharExtension(shown)
        ? full.size() == shown.size() + 4 && full.right(4) == current.right(4)
        : shown.size() == full.size();
    return comesBack ? shown : full;
}

}  // namespace

NameList::NameList(QString journalFolder) : m_journalFolder(std::move(journalFolder)) {}

QString NameList::journalFolder() const
{
    // Looked up when needed: the application's name decides the folder and may be set after construction.
    return m_journalFolder.isEmpty() ? defaultJournalFolder() : m_journalFolder;
}

void NameList::setStartPath(const QString& path)
{
    m_startPath = withTrailingSeparator(path.trimmed());
}

const ScanResult& NameList::scan(const ListingOptions& options, const ScanProgress& progress)
{
    m_dir = DirectoryHandle(m_startPath);
    m_watch.restart(m_dir);
    m_scan = ScanResult();  // the old list goes before the new one is read: both at once would double the peak
    m_afterRename = false;
    m_scan = scanDirectory(m_dir, options, progress);
    m_recoverNameOf.clear();
    m_modified = false;
    return m_scan;
}

QStringView NameList::recoverLineOf(qsizetype i) const
{
    const QStringView current = m_scan.names.at(i);
    // Paired by identity: an entry that merely carries a renamed name now is not the renamed one.
    const auto found = m_recoverNameOf.constFind(keyOf(m_scan.identity(i)));
    return recoverLine(current, found != m_recoverNameOf.cend() ? QStringView(found.value()) : current);
}

QString NameList::recoverText() const
{
    if (!m_afterRename)
        return buildNameText(m_scan.names);
    qsizetype room = 2 * m_scan.names.size();
    for (QStringView name : m_scan.names)
        room += name.size();
    QString text;
    text.reserve(room + room / 8);  // the names from before are mostly about as long as the names now
    for (qsizetype i = 0; i < m_scan.names.size(); ++i) {
        if (i > 0)
            text += kCrLf;
        text += recoverLineOf(i);
    }
    return text;
}

bool NameList::isRecoverText(QStringView text) const
{
    if (!m_afterRename)
        return isNameText(m_scan.names, text);
    // Line by line, without the text: right after a rename the first renamed entry tells.
    qsizetype at = 0;
    for (qsizetype i = 0; i < m_scan.names.size(); ++i) {
        if (i > 0) {
            if (!text.sliced(at).startsWith(kCrLf))
                return false;
            at += kCrLf.size();
        }
        const QStringView line = recoverLineOf(i);
        if (text.size() - at < line.size() || text.sliced(at, line.size()) != line)
            return false;
        at += line.size();
    }
    return at == text.size();
}

bool NameList::hasRecoverText() const
{
    if (m_afterRename)
        return !m_scan.names.isEmpty();  // no line of a name from before is empty
    return m_scan.names.size() > 1 || (m_scan.names.size() == 1 && !displayName(m_scan.names.front()).isEmpty());
}

CheckResult NameList::check(const QString& text)
{
    CheckResult result = checkRename(text, m_scan.names.size(), m_modified);
    if (result.verdict == RenameCheck::DuplicateLines || result.verdict == RenameCheck::Ok)
        m_checkedText = text;
    return result;
}

RenameContext NameList::renameContext() const
{
    RenameContext context;
    context.names = m_scan.names;
    context.otherNames = QSet<QString>(m_scan.otherNames.cbegin(), m_scan.otherNames.cend());
    context.nameMaxBytes = nameMaxBytes(m_dir);
    return context;
}

QStringList NameList::renamedLines() const
{
    return splitNameLines(m_renamedText, m_renamedLineCount);
}

QStringList NameList::comparedLines() const
{
    return duplicateCheckLines(m_checkedText);
}

bool NameList::directoryMoved() const
{
    return !m_dir.isOpen() || !m_dir.isAt(m_startPath);
}

RenameOutcome NameList::rename(const QString& text, const ListingOptions& options,
                               const std::function<void(qsizetype, qsizetype)>& progress)
{
    RenameOutcome outcome;
    if (directoryMoved()) {
        outcome.stopped = RenameStop::DirectoryMoved;
        return outcome;
    }
    // A later recovery of the interrupted rename would move entries by inode over this one's names.
    if (interruptedRename()) {
        outcome.stopped = RenameStop::UnfinishedRename;
        return outcome;
    }
    m_renamedText = text;
    m_renamedLineCount = m_scan.names.size();
    // The checks of the marks, with one more look at a name taken outside the list: it may be gone by now.
    const RenameContext context = renameContext();
    PlanLimits limits = context.limits();
    if (limits.takenOutsideList)
        limits.takenOutsideList = [&](const QString& name) {
            return context.otherNames.contains(name) && m_dir.entryIdentity(name).isValid();
        };
    // The lines' views go with the planning: the renames that follow need the plan only.
    RenamePlan plan = planRenames(m_scan.names, splitNameLineViews(m_renamedText, m_renamedLineCount), limits);
    // The scan's inodes serve the journal, which confirms those of names others changed since (by the watch).
    for (PlannedRename& move : plan.moves)
        move.inode = m_scan.inodes.at(move.line - 1);

    // An entry this program renamed since the scan may have been replaced by another program's entry
    // of the same name since; the restore pairs by identity, so such a stranger keeps its name.
    if (!m_recoverNameOf.isEmpty()) {
        const std::optional<QSet<QString>> changed = m_watch.changedNames();
        QList<PlannedRename> moves;
        moves.reserve(plan.moves.size());
        for (PlannedRename& move : plan.moves) {
            const FileIdentity scanned = m_scan.identity(move.line - 1);
            if (scanned.isValid() && m_recoverNameOf.contains(keyOf(scanned))
                && DirectoryWatch::mayHaveChanged(changed, move.from)) {
                const FileIdentity now = m_dir.entryIdentity(move.from.toString());
                if (now.isValid() && !(now == scanned)) {
                    plan.refused.append({move.line, move.from.toString(), move.to.toString(), RenameReason::EntryReplaced});
                    continue;
                }
            }
            moves.append(std::move(move));
        }
        plan.moves = std::move(moves);
        std::stable_sort(plan.refused.begin(), plan.refused.end(),
                         [](const RenameProblem& a, const RenameProblem& b) { return a.line < b.line; });
    }

    DirRenamer renamer(m_dir);
    RenameJournal journal(journalFolder(), m_dir, RenameJournal::Kind::Rename, &m_watch);
    outcome = executeRenames(plan, renamer, progress, &journal);
    if (outcome.stopped != RenameStop::None || m_withoutWindow)
        return outcome;

    // Each entry's name from before the first rename since the scan, carried through this rename.
    QHash<EntryKey, QString> recoverNameOf = std::move(m_recoverNameOf);
    recoverNameOf.reserve(recoverNameOf.size() + outcome.renamed);
    for (qsizetype i = 0; i < plan.moves.size(); ++i) {
        if (!outcome.movedToTarget.at(i))
            continue;
        const PlannedRename& move = plan.moves.at(i);
        const EntryKey key = keyOf(m_scan.identity(move.line - 1));
        if (!recoverNameOf.contains(key))
            recoverNameOf.insert(key, move.from.toString());
    }

    // The listing afterwards takes long in a large folder; it reports as the last renames did.
    const qsizetype total = plan.moves.size();
    scan(options, [&](qsizetype) {
        if (progress)
            progress(total, total);
        return true;
    });
    m_recoverNameOf = std::move(recoverNameOf);
    m_afterRename = true;
    return outcome;
}

std::optional<UnfinishedRename> NameList::interruptedRename() const
{
    return JournalFolder(journalFolder()).findUnfinished(m_dir);
}

RenameOutcome NameList::recoverInterrupted(RecoveryChoice choice, const ListingOptions& options)
{
    RenameOutcome outcome = JournalFolder(journalFolder()).recover(m_dir, choice);
    scan(options);
    return outcome;
}

bool NameList::hasLastRename() const
{
    return JournalFolder(journalFolder()).hasLastRename(m_dir);
}

RenameOutcome NameList::undoLastRename(const ListingOptions& options)
{
    RenameOutcome outcome;
    if (directoryMoved()) {
        outcome.stopped = RenameStop::DirectoryMoved;
        return outcome;
    }
    outcome = JournalFolder(journalFolder()).undoLastRename(m_dir);
    if (outcome.stopped == RenameStop::None)
        scan(options);
    return outcome;
}

}  // namespace names
