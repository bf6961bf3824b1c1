#include "ui/RenameMessages.h"

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
    case RenameReason::TooLong: return QStringLiteral("Name ist länger als 255 Byte");
    case RenameReason::NeverListed:
        return p.to.startsWith(QLatin1Char('.'))
            ? QStringLiteral("Name beginnt mit „.“: der Eintrag wäre versteckt und verschwände aus der Liste")
            : QStringLiteral("Name ist dem Hilfsprogramm vorbehalten: der Eintrag verschwände aus der Liste");
    case RenameReason::SameTargetAsLine: return QStringLiteral("gleicher Zielname wie Zeile %1").arg(p.otherLine);
    case RenameReason::TargetHeldByStayingLine:
        return QStringLiteral("Ziel existiert bereits (Zeile %1 wird nicht umbenannt)").arg(p.otherLine);
    case RenameReason::TargetExists: return errorText(EEXIST);
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

QString renameProblemLine(const names::RenameProblem& p)
{
    if (p.line == 0)  // an entry no line stands for
        return QStringLiteral("„%1“: %2").arg(visible(p.currentName), renameReasonText(p));
    return QStringLiteral("Zeile %1: „%2“ → „%3“: %4")
        .arg(QString::number(p.line), visible(p.from), visible(p.to), renameReasonText(p));
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
