#pragma once
// The list of original names of one directory and what the program keeps about it: the start path, whether
// the name text was changed since the last scan, and the names from before the last rename.
#include "names/DirectoryScan.h"
#include "names/NameText.h"
#include "names/RenamePlan.h"

#include <QHash>

#include <functional>

namespace names {

// What stops a rename before anything is touched, in the order the checks run.
enum class RenameCheck { Ok, InvalidCharacters, WrongLineCount, NothingChanged, DuplicateLines };

struct CheckResult {
    RenameCheck verdict = RenameCheck::Ok;
    QString offendingLine;      // InvalidCharacters: the first such line
    DuplicateLines duplicates;  // DuplicateLines: the first pair (the user may go on)
};

class NameList {
public:
    // The directory to work on, with its separator at the end; surrounding blanks are dropped here only.
    void setStartPath(const QString& path);
    const QString& startPath() const { return m_startPath; }

    // Lists the start path. The name text of the new list becomes the recover text.
    const ScanResult& scan(const ListingOptions& options);
    const ScanResult& lastScan() const { return m_scan; }
    const QStringList& names() const { return m_scan.names; }
    // The name text of the last scan: the display names joined by CR LF.
    const QString& scannedText() const { return m_scannedText; }

    bool isModified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }

    // The name text from before the last rename, in the order of the current list.
    const QString& recoverText() const { return m_recoverText; }
    // The lines the last rename read, one per entry.
    const QStringList& renamedLines() const { return m_renamedLines; }
    // The lines the last duplicate check compared.
    const QStringList& comparedLines() const { return m_comparedLines; }

    CheckResult check(const QString& text);

    // Renames every entry by its line of `text`, lists the directory again and keeps the names from before
    // as the recover text. `progress` is told how far the renames are.
    RenameOutcome rename(const QString& text, const ListingOptions& options,
                         const std::function<void(qsizetype done, qsizetype total)>& progress = {});

private:
    QString m_startPath;
    ScanResult m_scan;
    QString m_scannedText;
    bool m_modified = false;
    QString m_recoverText;
    // Name before the first rename of every entry that has been renamed since the last scan.
    QHash<QString, QString> m_recoverNameOf;
    QStringList m_renamedLines;
    QStringList m_comparedLines;
};

}  // namespace names
