#pragma once
// The list of original names of one directory and what the program keeps about it: the start path, whether
// the name text was changed since the last scan, and the names from before the last rename.
#include "names/DirectoryScan.h"
#include "names/DirectoryWatch.h"
#include "names/NameText.h"
#include "names/RenameJournal.h"
#include "names/RenameChecks.h"
#include "names/RenamePlan.h"

#include <QHash>

#include <functional>
#include <optional>

namespace names {

// The user's folder of rename journals: never inside a renamed directory.
QString defaultJournalFolder();

class NameList {
public:
    // `journalFolder` empty: the user's folder of rename journals.
    explicit NameList(QString journalFolder = {});

    // The directory to work on, with its separator at the end; surrounding blanks are dropped here only.
    void setStartPath(const QString& path);
    const QString& startPath() const { return m_startPath; }

    // Opens the start path afresh, holds that directory and lists it. The name text of the new list
    // (names::buildNameText of names()) becomes the recover text. `progress` may stop the scan (see ScanProgress): the list is then empty.
    const ScanResult& scan(const ListingOptions& options, const ScanProgress& progress = {});
    const ScanResult& lastScan() const { return m_scan; }
    const NameColumn& names() const { return m_scan.names; }

    // For a run without a window: the directory is not listed again after a rename; the list and the
    // recover text stay those of the scan.
    void setWithoutWindow(bool withoutWindow) { m_withoutWindow = withoutWindow; }

    bool isModified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }

    // The name text from before the last rename, in the order of the current list (the name text of the
    // scan when there was none since); made when asked for, not kept beside the list.
    QString recoverText() const;
    bool isRecoverText(QStringView text) const;
    bool hasRecoverText() const;
    // The lines the last rename read, one per entry.
    QStringList renamedLines() const;
    // The lines the last duplicate check compared.
    QStringList comparedLines() const;

    CheckResult check(const QString& text);
    // What the checks of each line need to know of the listed directory.
    RenameContext renameContext() const;

    // Renames every entry by its line of `text` inside the scanned directory, lists it again and keeps
    // the names from before as the recover text. `progress` is told how far the renames are. Nothing is
    // renamed, and nothing listed again, when the start path no longer leads to the scanned directory or
    // the journal cannot be written (see RenameOutcome::stopped). An entry that is no longer the one the
    // scan listed under its name keeps its name.
    RenameOutcome rename(const QString& text, const ListingOptions& options,
                         const std::function<void(qsizetype done, qsizetype total)>& progress = {});

    // A rename of the scanned directory that was interrupted (by a crash, a kill or a power cut).
    std::optional<UnfinishedRename> interruptedRename() const;
    // Brings the interrupted rename to the chosen end and lists the directory again.
    RenameOutcome recoverInterrupted(RecoveryChoice choice, const ListingOptions& options);
    // Whether the scanned directory has a completed rename that can still be undone.
    bool hasLastRename() const;
    // Gives the entries of the last rename their old names back and lists the directory again;
    // stopped like rename() when the directory has moved.
    RenameOutcome undoLastRename(const ListingOptions& options);

    QString journalFolder() const;
    void setJournalFolder(const QString& folder) { m_journalFolder = folder; }

private:
    // Device and inode: what stays of an entry across renames.
    using EntryKey = std::pair<quint64, quint64>;
    static EntryKey keyOf(const FileIdentity& id) { return {id.device, id.inode}; }
    bool directoryMoved() const;
    // Line `i` of the recover text after a rename.
    QStringView recoverLineOf(qsizetype i) const;

    QString m_startPath;
    QString m_journalFolder;
    DirectoryHandle m_dir;
    DirectoryWatch m_watch;  // names changed by others since the scan
    ScanResult m_scan;
    bool m_modified = false;
    bool m_withoutWindow = false;
    // Whether the list was read after a rename of ours: the recover text then gives the renamed entries
    // their names from before.
    bool m_afterRename = false;
    // Name before the first rename since the last scan of every entry renamed since then.
    QHash<EntryKey, QString> m_recoverNameOf;
    // The texts the last rename and the last duplicate check read; their lines are made when asked for.
    QString m_renamedText;
    qsizetype m_renamedLineCount = 0;  // one per entry listed before that rename
    QString m_checkedText;
};

}  // namespace names
