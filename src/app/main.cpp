#include "app/CommandLine.h"
#include "app/Startup.h"
#include "app/Translations.h"
#include "app/WindowStart.h"
#include "mainwindow/Form1.h"
#include "names/FreedMemory.h"
#include "quillet_version.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QTextStream>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kExitNoDisplay = 1;

QStringList rawArguments(int argc, char** argv)
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    return args;
}

}  // namespace

int main(int argc, char** argv)
{
    names::keepFreedMemory();
    const QStringList args = rawArguments(argc, argv);

    // Help, version and the batch mode need no display: no QApplication for them. Without a display the
    // arguments are read here too, so that wrong ones are told as such, with exit 2, as with a display.
    const QString noDisplay = app::missingDisplayReason(args);
    if (app::runsWithoutWindow(args) || !noDisplay.isEmpty()) {
        app::attachToParentConsole();
        QCoreApplication core(argc, argv);
        app::setIdentity();
        app::loadGermanTranslations();
        QTextStream out(stdout);
        QTextStream err(stderr);
        const app::CommandLine commandLine = app::parseCommandLine(QCoreApplication::arguments());
        if (commandLine.mode == app::CommandLine::Mode::Window) {
            err << noDisplay << Qt::endl;
            return kExitNoDisplay;
        }
        const int code = app::runWithoutWindow(commandLine, out, err);
        // The run is done and its files closed: ending here skips the libraries' teardown, which would
        // touch megabytes of their pages only to end the process (2 MiB more at the end of a rename).
        out.flush();
        err.flush();
        std::fflush(nullptr);
        std::_Exit(code);
    }

    QApplication gui(argc, argv);
    app::setIdentity();
    QGuiApplication::setDesktopFileName(QStringLiteral(QUILLET_APP_ID));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/" QUILLET_APP_ID ".svg")));
    app::loadGermanTranslations();

    // The window system has taken its own options out of the arguments by now.
    const app::CommandLine commandLine = app::parseCommandLine(QCoreApplication::arguments());
    if (commandLine.mode != app::CommandLine::Mode::Window) {
        app::attachToParentConsole();
        QTextStream err(stderr);
        app::printUsageError(commandLine.text, err);
        return app::kExitBadInput;
    }

    // The window's controls are laid out in twips for a small dialog font.
    QFont font = QApplication::font();
    font.setPointSizeF(8.0);
    QApplication::setFont(font);

    Form1 window;
    app::openWindow(window, commandLine.startPath);
    return QApplication::exec();
}
