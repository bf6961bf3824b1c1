#include "app/CommandLine.h"

#include "quillet_version.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QTextStream>

namespace app {

namespace {

struct Options {
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Zeigt diese Hilfe an.")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("Zeigt die Versionsnummer an.")};
    QCommandLineOption apply{QStringLiteral("apply"),
                             QStringLiteral("Benennt ohne Fenster die Dateien von VERZEICHNIS nach den Zeilen von "
                                            "NAMEN.txt um: Zeile N wird der neue Name von Eintrag N, in der "
                                            "Reihenfolge der Liste des Fensters."),
                             QStringLiteral("NAMEN.txt")};
    QCommandLineOption recover{QStringLiteral("recover"),
                               QStringLiteral("Beendet ohne Fenster eine unterbrochene Umbenennung in VERZEICHNIS: "
                                              "„finish“ führt sie zu Ende, „rollback“ gibt allen Einträgen ihre "
                                              "Namen von vorher zurück."),
                               QStringLiteral("finish|rollback")};
    QCommandLineOption undo{QStringLiteral("undo"),
                            QStringLiteral("Macht ohne Fenster die letzte Umbenennung in VERZEICHNIS rückgängig "
                                           "(mehrmals: die vorletzte und so fort).")};
    QCommandLineOption directories{QStringLiteral("verzeichnisse"),
                                   QStringLiteral("Mit --apply: benennt die Ordner statt der Dateien um. "
                                                  "--recover und --undo wirken auf beide und nehmen es "
                                                  "ohne Wirkung an.")};
    QCommandLineOption dryRun{QStringLiteral("dry-run"),
                              QStringLiteral("Mit --apply: zeigt die geplanten Umbenennungen „alt → neu“ und "
                                             "ändert nichts.")};
};

void addHidden(QCommandLineParser& parser, QCommandLineOption option)
{
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
}

void setUp(QCommandLineParser& parser, const Options& options)
{
    // "-platform" and the other options of the window system must not read as compacted short options.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("Quillet %1 – Umbenennen mehrerer Dateien\n"
                       "\n"
                       "Ohne Fenster:\n"
                       "  quillet --apply NAMEN.txt [--verzeichnisse] [--dry-run] VERZEICHNIS\n"
                       "  quillet --recover finish|rollback VERZEICHNIS\n"
                       "  quillet --undo VERZEICHNIS\n"
                       "NAMEN.txt enthält eine Zeile je Eintrag (UTF-8 oder Windows-1252); eine Zeile ohne\n"
                       "dreistellige Dateiendung behält die Endung des Eintrags. Ergebnis:\n"
                       "  0  alle Namen gesetzt; --recover auch, wenn nichts unterbrochen war\n"
                       "  1  nicht alle Namen gesetzt, eine Prüfung hat alles angehalten, eine unterbrochene\n"
                       "     Umbenennung ist erst mit --recover zu beenden, oder --undo findet nichts\n"
                       "     (Grund auf stderr)\n"
                       "  2  falsche Argumente, Datei oder Verzeichnis nicht lesbar")
            .arg(QStringLiteral(QUILLET_VERSION)));
    parser.addOptions({options.help, options.version, options.apply, options.recover, options.undo,
                       options.directories, options.dryRun});
    // The window system's own options ("-style fusion", "-display :1"): Qt takes them out of the arguments
    // once it starts, but a start without a display reads the arguments as they were given.
    for (const char* name : {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
                             "geometry", "qwindowtitle", "title", "qwindowicon", "icon", "session", "display",
                             "name", "style", "stylesheet", "qmljsdebugger"})
        addHidden(parser, QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("x")));
    for (const char* name : {"reverse", "widgetcount", "sync", "nograb", "dograb"})
        addHidden(parser, QCommandLineOption(QString::fromLatin1(name)));
    parser.addPositionalArgument(QStringLiteral("Verzeichnis"),
                                 QStringLiteral("Das Verzeichnis, das geöffnet wird (eine Datei öffnet ihr "
                                                "Verzeichnis); mit --apply, --recover oder --undo das "
                                                "Verzeichnis, dessen Einträge umbenannt werden."),
                                 QStringLiteral("[Verzeichnis]"));
}

CommandLine invalid(const QString& reason)
{
    CommandLine result;
    result.mode = CommandLine::Mode::Invalid;
    result.text = reason;
    return result;
}

}  // namespace

CommandLine parseCommandLine(const QStringList& args)
{
    const Options options;
    QCommandLineParser parser;
    setUp(parser, options);
    if (!parser.parse(args))
        return invalid(parser.errorText());

    CommandLine result;
    if (parser.isSet(options.help)) {
        result.mode = CommandLine::Mode::Help;
        result.text = parser.helpText();
        return result;
    }
    if (parser.isSet(options.version)) {
        result.mode = CommandLine::Mode::Version;
        return result;
    }
    const QStringList positional = parser.positionalArguments();
    if (int(parser.isSet(options.apply)) + int(parser.isSet(options.recover)) + int(parser.isSet(options.undo)) > 1)
        return invalid(QStringLiteral("--apply, --recover und --undo schließen einander aus."));
    if (parser.isSet(options.recover) || parser.isSet(options.undo)) {
        const QString option = parser.isSet(options.recover) ? QStringLiteral("--recover") : QStringLiteral("--undo");
        if (parser.isSet(options.dryRun))
            return invalid(QStringLiteral("--dry-run gilt nur zusammen mit --apply."));
        if (positional.isEmpty())
            return invalid(QStringLiteral("Das Verzeichnis fehlt: quillet %1 VERZEICHNIS").arg(
                parser.isSet(options.recover) ? QStringLiteral("--recover finish|rollback") : option));
        if (positional.size() > 1)
            return invalid(QStringLiteral("Zu viele Argumente: %1 gilt genau einem Verzeichnis.").arg(option));
        RecoveryRequest& request = result.recovery;
        request.action = RecoveryRequest::Action::Undo;
        if (parser.isSet(options.recover)) {
            const QString choice = parser.value(options.recover);
            if (choice == QLatin1String("finish"))
                request.action = RecoveryRequest::Action::Finish;
            else if (choice == QLatin1String("rollback"))
                request.action = RecoveryRequest::Action::Rollback;
            else
                return invalid(QStringLiteral("--recover braucht „finish“ (zu Ende führen) oder „rollback“ "
                                              "(zurücknehmen), nicht „%1“.")
                                   .arg(choice));
        }
        request.directory = positional.constFirst();
        request.directories = parser.isSet(options.directories);
        result.mode = CommandLine::Mode::Recovery;
        return result;
    }
    if (parser.isSet(options.apply)) {
        if (parser.value(options.apply).isEmpty())
            return invalid(QStringLiteral("--apply braucht den Namen der Textdatei mit den neuen Namen."));
        if (positional.isEmpty())
            return invalid(QStringLiteral("Das Verzeichnis fehlt: quillet --apply NAMEN.txt VERZEICHNIS"));
        if (positional.size() > 1)
            return invalid(QStringLiteral("Zu viele Argumente: --apply benennt genau ein Verzeichnis um."));
        result.mode = CommandLine::Mode::Batch;
        result.batch.namesFile = parser.value(options.apply);
        result.batch.directory = positional.constFirst();
        result.batch.directories = parser.isSet(options.directories);
        result.batch.dryRun = parser.isSet(options.dryRun);
        return result;
    }
    if (parser.isSet(options.directories) || parser.isSet(options.dryRun))
        return invalid(QStringLiteral("--verzeichnisse und --dry-run gelten nur zusammen mit --apply "
                                      "(--verzeichnisse auch mit --recover und --undo)."));
    if (positional.size() > 1)
        return invalid(QStringLiteral("Zu viele Argumente: Quillet öffnet ein Verzeichnis."));
    result.startPath = positional.value(0);
    return result;
}

bool runsWithoutWindow(const QStringList& args)
{
    const Options options;
    QCommandLineParser parser;
    setUp(parser, options);
    // Options of the window system are unknown here; only ours decide.
    parser.parse(args);
    for (const QCommandLineOption* option :
         {&options.help, &options.version, &options.apply, &options.recover, &options.undo, &options.directories,
          &options.dryRun})
        if (parser.isSet(*option))
            return true;
    return false;
}

void printUsageError(const QString& reason, QTextStream& err)
{
    err << reason << Qt::endl << QStringLiteral("Hilfe: quillet --help") << Qt::endl;
}

int runWithoutWindow(const CommandLine& commandLine, QTextStream& out, QTextStream& err)
{
    switch (commandLine.mode) {
    case CommandLine::Mode::Help:
        out << commandLine.text;
        out.flush();
        return kExitAllRenamed;
    case CommandLine::Mode::Version:
        out << QStringLiteral("Quillet " QUILLET_VERSION) << Qt::endl;
        return kExitAllRenamed;
    case CommandLine::Mode::Batch:
        return runBatch(commandLine.batch, out, err);
    case CommandLine::Mode::Recovery:
        return runRecovery(commandLine.recovery, out, err);
    case CommandLine::Mode::Window:
    case CommandLine::Mode::Invalid:
        break;
    }
    printUsageError(commandLine.text, err);
    return kExitBadInput;
}

}  // namespace app
