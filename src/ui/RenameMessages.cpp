#include "ui/RenameMessages.h"

#include <QLocale>
#include <QStringList>

#include <cerrno>

namespace ui {

QString visible(const QString& name)
{
    QString out = name;
    for (QChar& c : out) {
        const char16_t u = c.unicode();
        if (u < 0x20)
            c = QChar(char16_t(0x2400 + u));
        else if (u == 0x7F)
            c = QChar(char16_t(0x2421));
    }
    return out;
}

QString errorText(int err)
{
    switch (err) {
    case EEXIST: return QStringLiteral("Ziel existiert bereits");
    case ENOENT: return QStringLiteral("Eintrag nicht gefunden");
    case EACCES:
    case EPERM: return QStringLiteral("Zugriff verweigert");
    case EBUSY: return QStringLiteral("Eintrag ist in Benutzung");
    case ENAMETOOLONG: return QStringLiteral("Name zu lang");
    case EINVAL: return QStringLiteral("Name ungültig");
    case EROFS: return QStringLiteral("Das Dateisystem ist schreibgeschützt");
    case ENOSPC: return QStringLiteral("Kein Speicherplatz mehr frei");
#ifdef EDQUOT
    case EDQUOT: return QStringLiteral("Speicherkontingent erschöpft");
#endif
    case EIO: return QStringLiteral("Ein-/Ausgabefehler des Datenträgers");
    case ENOTDIR: return QStringLiteral("Kein Verzeichnis");
    case EISDIR: return QStringLiteral("Ist ein Verzeichnis");
    case ENOTEMPTY: return QStringLiteral("Verzeichnis ist nicht leer");
    case EXDEV: return QStringLiteral("Ziel liegt auf einem anderen Datenträger");
    case EMLINK: return QStringLiteral("Zu viele Verknüpfungen");
    case ELOOP: return QStringLiteral("Zu viele symbolische Verknüpfungen");
    case ETXTBSY: return QStringLiteral("Programmdatei wird gerade ausgeführt");
    case EOPNOTSUPP: return unsafeRenameText({});
    case ENOMEM: return QStringLiteral("Nicht genügend Arbeitsspeicher");
    case ENODEV:
    case ENXIO: return QStringLiteral("Datenträger nicht verfügbar");
#ifdef ESTALE
    case ESTALE: return QStringLiteral("Verbindung zum Netzlaufwerk veraltet");
#endif
    case ETIMEDOUT: return QStringLiteral("Zeitüberschreitung");
    default: return QStringLiteral("Fehler Nr. %1").arg(err);
    }
}

QString unsafeRenameText(const QString& fileSystem)
{
    return fileSystem.isEmpty()
        ? QStringLiteral("Das Dateisystem kann diesen Eintrag nicht ohne Risiko umbenennen")
        : QStringLiteral("Das Dateisystem „%1“ kann diesen Eintrag nicht ohne Risiko umbenennen").arg(visible(fileSystem));
}

QString renameReasonText(const names::RenameProblem& p)
{
    using names::RenameReason;
    switch (p.reason) {
    case RenameReason::EmptyName: return QStringLiteral("Name ist leer");
    case RenameReason::DotName: return QStringLiteral("„.“ und „..“ sind keine gültigen Namen");
    case RenameReason::ControlCharacter:
        return QStringLiteral("Name enthält ein Steuerzeichen (z. B. Tabulator oder Zeilenumbruch)");
    case RenameReason::Slash: return QStringLiteral("Name enthält „/“");
    case RenameReason::NotRepresentable: return QStringLiteral("Name lässt sich im Dateisystem nicht darstellen");
    case RenameReason::TooLong:
        return QStringLiteral("Zu lang für das Dateisystem (%1 Bytes, höchstens %2)").arg(p.nameBytes).arg(p.byteLimit);
    case RenameReason::NeverListed:
        return p.to.startsWith(QLatin1Char('.'))
            ? QStringLiteral("Dieser Name würde den Eintrag aus der Liste verbergen")
            : QStringLiteral("Name ist dem Hilfsprogramm vorbehalten: der Eintrag verschwände aus der Liste");
    case RenameReason::SameTargetAsLine: return sameAsLineText(p.otherLine);
    case RenameReason::TargetHeldByStayingLine:
        return QStringLiteral("Der Name ist schon vergeben: „%1“ (Zeile %2 behält ihn)").arg(visible(p.to)).arg(p.otherLine);
    case RenameReason::TargetExists:
        return QStringLiteral("Der Name ist schon vergeben: „%1“ (nicht in der Liste)").arg(visible(p.to));
    case RenameReason::NoFreeTemporaryName: return QStringLiteral("kein freier vorläufiger Name gefunden");
    case RenameReason::DiskError:
        return p.errorCode == EOPNOTSUPP ? unsafeRenameText(p.fileSystem) : errorText(p.errorCode);
    case RenameReason::LeftUnderTemporaryName:
        return errorText(p.errorCode) + QStringLiteral("; der Eintrag heißt jetzt „%1“").arg(visible(p.currentName));
    case RenameReason::KeptUnderOtherName:
        return QStringLiteral("Name ist belegt; der Eintrag heißt jetzt „%1“").arg(visible(p.currentName));
    case RenameReason::EntryMissing: return QStringLiteral("Eintrag ist nicht mehr vorhanden");
    case RenameReason::EntryReplaced: return QStringLiteral("unter diesem Namen steht inzwischen ein anderer Eintrag");
    case RenameReason::EntryRenamedElsewhere:
        return QStringLiteral("wurde inzwischen anders benannt und heißt jetzt „%1“; er bleibt, wie er ist")
            .arg(visible(p.currentName));
    case RenameReason::StrayTemporaryName:
        return QStringLiteral("steht noch unter diesem vorläufigen Namen; bitte von Hand umbenennen");
    }
    return errorText(p.errorCode);
}

QString lineLabel(qsizetype line)
{
    return QStringLiteral("Zeile %1: ").arg(line);
}

QString sameAsLineText(qsizetype line)
{
    return QStringLiteral("Gleich wie Zeile %1").arg(line);
}

QString renameProblemLine(const names::RenameProblem& p)
{
    if (p.line == 0)  // an entry no line stands for
        return QStringLiteral("„%1“: %2").arg(visible(p.currentName), renameReasonText(p));
    return lineLabel(p.line)
        + QStringLiteral("„%1“ → „%2“: %3").arg(visible(p.from), visible(p.to), renameReasonText(p));
}

QString lineMarkText(const names::LineMark& mark)
{
    using names::LineIssue;
    switch (mark.issue) {
    case LineIssue::InvalidCharacter: return QStringLiteral("Ungültiges Zeichen „%1“").arg(mark.character);
    case LineIssue::DuplicateLine: return sameAsLineText(mark.otherLine + 1);
    case LineIssue::Refused: return renameReasonText(mark.refusal);
    case LineIssue::ExtraLine:
        return mark.count == 1 ? QStringLiteral("Zu dieser Zeile gibt es keinen Eintrag (die Liste hat 1 Eintrag)")
                               : QStringLiteral("Zu dieser Zeile gibt es keinen Eintrag (die Liste hat %1 Einträge)")
                                     .arg(mark.count);
    case LineIssue::MissingLines:
        return mark.count == 1 ? QStringLiteral("Es fehlt 1 Zeile: die Liste hat einen Eintrag mehr")
                               : QStringLiteral("Es fehlen %1 Zeilen: die Liste hat %1 Einträge mehr").arg(mark.count);
    }
    return {};
}

QString lineMarkLine(const names::LineMark& mark)
{
    if (mark.issue == names::LineIssue::Refused)
        return renameProblemLine(mark.refusal);
    return lineLabel(mark.line + 1) + lineMarkText(mark);
}

QString markedLinesNote(qsizetype lines)
{
    if (lines == 0)
        return {};
    return lines == 1 ? QStringLiteral("1 Zeile ist markiert: Sie würde nicht umbenannt oder hält die Umbenennung auf (F8: zur Markierung).")
                      : QStringLiteral("%1 Zeilen sind markiert: Sie würden nicht umbenannt oder halten die Umbenennung auf "
                                       "(F8: zur nächsten Markierung).")
                            .arg(lines);
}

QString marksOffNote(qsizetype mostLines)
{
    return QStringLiteral("Mehr als %1 Zeilen: Probleme werden nicht beim Schreiben markiert, sondern beim Umbenennen gemeldet.")
        .arg(QLocale(QLocale::German).toString(mostLines));
}

QString renameProblemsHeading(const QList<names::RenameProblem>& problems)
{
    if (problems.isEmpty())
        return {};
    return problems.size() == 1 ? QStringLiteral("1 Eintrag wurde nicht umbenannt:")
                                : QStringLiteral("%1 Einträge wurden nicht umbenannt:").arg(problems.size());
}

QString renameProblemsList(const QList<names::RenameProblem>& problems)
{
    QStringList lines;
    lines.reserve(problems.size());
    for (const names::RenameProblem& p : problems)
        lines.append(renameProblemLine(p));
    return lines.join(QLatin1Char('\n'));
}

QString renameStopText(const names::RenameOutcome& outcome, const QString& directory)
{
    switch (outcome.stopped) {
    case names::RenameStop::None: return {};
    case names::RenameStop::DirectoryMoved: return directoryMovedText(directory);
    case names::RenameStop::UnfinishedRename:
        return QStringLiteral("Im Verzeichnis wurde eine Umbenennung unterbrochen. Sie muss erst zu Ende geführt "
                              "oder zurückgenommen werden; es wurde nichts umbenannt.");
    case names::RenameStop::JournalNotWritten:
        return QStringLiteral("Das Protokoll der Umbenennung konnte nicht gespeichert werden (%1). "
                              "Ohne Protokoll ließe sich eine unterbrochene Umbenennung nicht wiederherstellen; "
                              "es wurde nichts umbenannt.")
            .arg(errorText(outcome.stopError));
    }
    return {};
}

QString directoryMovedText(const QString& path)
{
    return QStringLiteral("Unter „%1“ steht nicht mehr das eingelesene Verzeichnis (es wurde verschoben, gelöscht "
                          "oder ersetzt). Es wurde nichts umbenannt; bitte das Verzeichnis neu einlesen.")
        .arg(visible(path));
}

QString interruptedRenameTitle()
{
    return QStringLiteral("Unterbrochene Umbenennung");
}

QString journalSetAsideText(const names::RenameOutcome& outcome)
{
    if (outcome.journalSetAside.isEmpty())
        return {};
    return QStringLiteral("Das Protokoll der Umbenennung in „%1“ war beschädigt; was sich daraus lesen ließ, wurde "
                          "ausgeführt. Es liegt jetzt unter „%2“ und hält das Verzeichnis nicht mehr auf.")
        .arg(visible(outcome.journalDirectory), visible(outcome.journalSetAside));
}

QString interruptedRenameText(const names::UnfinishedRename& rename)
{
    if (rename.damaged) {
        const QString readable = rename.entryCount == 1
            ? QStringLiteral("nur 1 Eintrag ist lesbar")
            : QStringLiteral("nur %1 Einträge sind lesbar").arg(rename.entryCount);
        return QStringLiteral("Im Verzeichnis „%1“ wurde eine Umbenennung unterbrochen. Ihr Protokoll ist beschädigt; "
                              "%2.\n\n"
                              "Ja: die lesbaren Einträge zu Ende umbenennen\n"
                              "Nein: die lesbaren Einträge wieder wie vorher benennen\n"
                              "Abbrechen: nichts ändern und beim nächsten Öffnen wieder fragen\n\n"
                              "Danach wird das Protokoll beiseitegelegt; Einträge, die noch vorläufige Namen "
                              "(„quillet-tmp-…“) tragen, werden aufgelistet.")
            .arg(visible(rename.directoryPath), readable);
    }
    const QString affected = rename.entryCount == 1
        ? QStringLiteral("1 Eintrag ist betroffen")
        : QStringLiteral("%1 Einträge sind betroffen").arg(rename.entryCount);
    return QStringLiteral("Im Verzeichnis „%1“ wurde eine Umbenennung unterbrochen; %2.\n\n"
                          "Ja: die Umbenennung zu Ende führen\n"
                          "Nein: alle Einträge wieder wie vorher benennen\n"
                          "Abbrechen: nichts ändern und beim nächsten Öffnen wieder fragen")
        .arg(visible(rename.directoryPath), affected);
}

}  // namespace ui
