#include "names/NameList.h"

#include "names/NameRules.h"
#include "names/SafeRename.h"

#include <QSet>

namespace names {

void NameList::setStartPath(const QString& path)
{
    m_startPath = withTrailingSeparator(path.trimmed());
}

const ScanResult& NameList::scan(const ListingOptions& options)
{
    m_scan = scanDirectory(m_startPath, options);
    m_scannedText = buildNameText(m_scan.names);
    m_recoverText = m_scannedText;
    m_recoverNameOf.clear();
    m_modified = false;
    return m_scan;
}

CheckResult NameList::check(const QString& text)
{
    CheckResult result;
    // The report frames the line with LF and CR; blanks around it are trimmed first, then the frame.
    QString offending = invalidCharsReport(text);
    while (offending.startsWith(QLatin1Char(' ')))
        offending.remove(0, 1);
    while (offending.endsWith(QLatin1Char(' ')))
        offending.chop(1);
    offending = offending.size() >= 2 ? offending.mid(1, offending.size() - 2) : QString();
    if (!offending.isEmpty()) {
        result.verdict = RenameCheck::InvalidCharacters;
        result.offendingLine = offending;
    } else if (m_scan.names.size() != lineCount(text)) {
        // Counted on the very text that is split, so a line can never pair with another entry.
        result.verdict = RenameCheck::WrongLineCount;
    } else if (!m_modified) {
        result.verdict = RenameCheck::NothingChanged;
    } else {
        result.duplicates = findDuplicateLines(text, &m_comparedLines);
        if (result.duplicates.found())
            result.verdict = RenameCheck::DuplicateLines;
    }
    return result;
}

RenameOutcome NameList::rename(const QString& text, const ListingOptions& options,
                               const std::function<void(qsizetype, qsizetype)>& progress)
{
    m_renamedLines = splitNameLines(text, m_scan.names.size());
    const RenamePlan plan = planRenames(m_scan.names, m_renamedLines);
    DirRenamer renamer(m_startPath);
    RenameOutcome outcome = executeRenames(plan, renamer, progress);

    // Each entry's name from before the first rename since the scan, carried through this rename.
    QHash<QString, QString> recoverNameOf;
    recoverNameOf.reserve(m_recoverNameOf.size() + outcome.previousName.size());
    QSet<QString> movedAway;
    movedAway.reserve(outcome.previousName.size());
    for (auto it = outcome.previousName.cbegin(); it != outcome.previousName.cend(); ++it) {
        recoverNameOf.insert(it.key(), m_recoverNameOf.value(it.value(), it.value()));
        movedAway.insert(it.value());
    }
    for (auto it = m_recoverNameOf.cbegin(); it != m_recoverNameOf.cend(); ++it)
        if (!movedAway.contains(it.key()))
            recoverNameOf.insert(it.key(), it.value());

    scan(options);
    m_recoverNameOf = std::move(recoverNameOf);
    QString recover;
    recover.reserve(m_scannedText.size());
    for (qsizetype i = 0; i < m_scan.names.size(); ++i) {
        const QString& current = m_scan.names.at(i);
        const QString before = m_recoverNameOf.value(current, current);
        QString line = displayName(before);
        if (applyExtensionRule(current, line) != before)
            line = before;  // the extension changed: only the full name brings it back
        if (i > 0)
            recover += kCrLf;
        recover += line;
    }
    m_recoverText = std::move(recover);
    return outcome;
}

}  // namespace names
