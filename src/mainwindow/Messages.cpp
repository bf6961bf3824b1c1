#include "mainwindow/Messages.h"

#include <QLocale>

#include "names/NameText.h"

namespace msg {

QString lineCountCaption(qsizetype lines, bool matches)
{
    QString caption = QStringLiteral("Modifizierte Namen  (ohne Dateiendung): %1").arg(lines);
    if (!matches)
        caption += QStringLiteral("   Anzahl stimmt nicht! ");
    return caption;
}

QString noEntriesFound() { return QStringLiteral("Es wurden keine Dateien gefunden!"); }

QString originalCaption(qsizetype entries) { return QStringLiteral("Original Namen:  (%1 Stück)").arg(entries); }

QString unlistedTooltip(qsizetype count, const QString& shownNames)
{
    return QStringLiteral("%1 Einträge sind nicht aufgeführt, weil ihr Name nicht als eine Zeile geschrieben "
                          "werden kann (ungültige Zeichenkodierung oder Zeilenumbruch im Namen):\n%2")
        .arg(count)
        .arg(shownNames);
}

QString leftOutTooltip(qsizetype count, bool foldersLeftOut)
{
    const bool one = count == 1;
    const QString what = foldersLeftOut ? (one ? QStringLiteral("Verzeichnis") : QStringLiteral("Verzeichnisse"))
                                        : (one ? QStringLiteral("Datei") : QStringLiteral("Dateien"));
    const QString why = foldersLeftOut ? QStringLiteral("nur Dateien") : QStringLiteral("nur Verzeichnisse");
    return QStringLiteral("%1 %2 dieses Verzeichnisses %3 nicht aufgeführt, weil die Einstellungen %4 zum "
                          "Umbenennen auflisten. Ändern lässt sich das mit „Neues Verz >>“ "
                          "(„Verzeichnisse umbenennen“ und „Nur Verz.“).")
        .arg(QString::number(count), what, one ? QStringLiteral("ist") : QStringLiteral("sind"), why);
}

QString leftOutNote(qsizetype count, bool foldersLeftOut)
{
    const bool one = count == 1;
    const QString what = foldersLeftOut ? (one ? QStringLiteral("Verzeichnis") : QStringLiteral("Verzeichnisse"))
                                        : (one ? QStringLiteral("Datei") : QStringLiteral("Dateien"));
    return QStringLiteral("%1 %2 %3 ausgeblendet. „Neues Verz >>“ ändert das.")
        .arg(QString::number(count), what, one ? QStringLiteral("ist") : QStringLiteral("sind"));
}

QString lineNoLongerThere(const QString& line)
{
    return QStringLiteral("Die Zeile \"%1\" steht nicht mehr im Namenstext. Es wurde nichts geändert.").arg(line);
}

QString invalidCharactersTitle()
{
    return QStringLiteral("Die Dateinamen enthalten ungültige Zeichen (\\/*?\"<>|). Dateien werden nicht umbenannt!");
}

QString wrongLineCount()
{
    return QStringLiteral("Achtung die Anzahl der Eingabe-Dateien stimmt nicht mit der der Ausgabedateien überein");
}
QString wrongLineCountTitle() { return QStringLiteral("Fehler"); }
QString nothingChanged() { return QStringLiteral("Sie haben keine Änderungen an den Dateinamen vorgenommen!"); }
QString nothingChangedTitle() { return QStringLiteral("Kann nicht Umbenennen!"); }

QString duplicateLinesQuestion(const names::DuplicateLines& d)
{
    // The line goes in last, so a "%1" inside it is shown as it is.
    return QStringLiteral("Es sind doppelte Zeilen vorhanden!     Zeile: %1 und Zeile: %2 sind gleich!\r\n\r\n"
                          "Name:  '%3'\r\n\r\nMöchten Sie trotzdem fortfahren?")
        .arg(d.first + 1)
        .arg(d.second + 1)
        .arg(d.line);
}
QString duplicateLinesTitle() { return QStringLiteral("Doppelte Zeilen"); }
QString renameProblemsTitle() { return QStringLiteral("Nicht alle Namen wurden gesetzt"); }
QString undoLastRenameTitle() { return QStringLiteral("Letzte Umbenennung rückgängig machen"); }
QString renameProgress(qint64 done, qint64 total) { return QStringLiteral("Umbenennen: %1 von %2").arg(done).arg(total); }
QString loadProgress(qint64 entriesRead)
{
    return QStringLiteral("Verzeichnis wird gelesen: %1 Einträge").arg(QLocale(QLocale::German).toString(entriesRead));
}
QString exitCaptionAfterRename() { return QStringLiteral("Ende"); }

QString copyNameQuestion(const QString& name)
{
    return QStringLiteral("Dateinamen:\r\"%1\"\r\r in die Zwischenablage kopieren?").arg(name);
}
QString copyNameTitle() { return QStringLiteral("Dateinamen in die Zwischenablage?"); }

QString discardChangesQuestion()
{
    return QStringLiteral("Achtung die Änderungen und die Recover-Möglichkeit (Original Namen) werden dadurch verworfen! "
                          "Möchten sie trotzdem fortfahren?");
}
QString discardChangesTitle() { return QStringLiteral("Änderungen verwerfen?"); }
QString closeWithoutRenameQuestion() { return QStringLiteral("Sie haben die Namen noch nicht gesetzt! Möchten sie trotzdem Beenden?"); }
QString closeWithoutRenameTitle() { return QStringLiteral("Noch nicht gespeichert!"); }

QString tips()
{
    return QStringLiteral("'^P' kann (wie in Winword) beim Ersetzen benutzt werden um Zeilenumbrüche zu ersetzen / einzufügen\r"
                          "Die CD-Combo-Box wird bei jedem Umbennen eins hochgezählt\r"
                          "Unter Optionen können die Meldungen (Messageboxen) reduziert werden\r\r"
                          "NEU: '*' kann beim Suchen & Ersetzen als Platzhalter benutzt werden!");
}
QString tipsTitle() { return QStringLiteral("Tips.."); }

QString replaceInSelectionQuestion()
{
    return QStringLiteral("Sie haben einen Textbereich markiert. Nur in diesem Textbereich ersetzen?");
}
QString replaceReport(qint64 count) { return QStringLiteral("Es wurde(n): %1 Ersetzungen vorgenommen!").arg(count); }
QString replaceReportTitle() { return QStringLiteral("Suchen & ersetzen"); }

QString underscoreReport(const QString& caption, qint64 count)
{
    return QStringLiteral("(%1)  --> Es wurden %2 Zeichen ersetzt").arg(caption).arg(count);
}
QString umlautReport(const QString& caption, qint64 count)
{
    return QStringLiteral("(%1)  -->  Es wurde(n): %2 Umlaute und Sonderzeichen ersetzt!").arg(caption).arg(count);
}
QString trimReport(const QString& caption, qint64 removed)
{
    return QStringLiteral("(%1)  --> Es wurden %2 Zeichen abgeschnitten").arg(caption).arg(removed);
}
QString doneReport(const QString& caption) { return QStringLiteral("(%1) --> wurde ausgeführt!").arg(caption); }
QString overflow() { return QStringLiteral("Überlauf!!"); }

QString numberingMismatchQuestion(int width)
{
    const QString format = width == 4 ? QStringLiteral("XXX-") : QStringLiteral("XX-");
    return QStringLiteral("Nummern stimmen nicht überein '%1' ist das normale Format!\r\n"
                          "sollen die ersten %2 Buchstaben trotzdem abgeschnitten werden?")
        .arg(format)
        .arg(width);
}
QString numberingMismatchTitle() { return QStringLiteral("Falsche Nummerierung"); }
QString numberingProgress(qint64 done, qint64 total) { return QStringLiteral(" %1 von %2").arg(done).arg(total); }

QString underscoreTooltip(bool nextToBlanks)
{
    return nextToBlanks ? QStringLiteral("Unterstriche durch Leerzeichen ersetzten")
                        : QStringLiteral("Leerzeichen durch Unterstrich ersetzten");
}

QString umlautTooltip(bool nextRemoves)
{
    return nextRemoves ? QStringLiteral("Umlaute und Sonderzeichen entfernen") : QStringLiteral("Umlaute herstellen");
}

QString homepageNotOpened(const QString& url)
{
    return QStringLiteral("Die Homepage konnte nicht geöffnet werden:\r\n") + url;
}

}  // namespace msg
