#pragma once
// Runs the built program as a process.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace apptest {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

// An environment without any display, so a start that would need one fails.
inline QProcessEnvironment withoutDisplay()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    return env;
}

// A run of the built program (or of `program`) that takes longer than a minute is killed and reported as
// "<did not finish>".
inline Run quillet(const QStringList& args, const QProcessEnvironment& env = withoutDisplay(),
                   const QString& program = QStringLiteral(QUILLET_PROGRAM))
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, args);
    Run run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        run.err = QStringLiteral("<did not finish>");
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// The run ended with `exitCode` and its standard error holds `errPart`; on failure both outputs are shown.
inline ::testing::AssertionResult ended(const Run& run, int exitCode, const QString& errPart = QString())
{
    if (run.exitCode == exitCode && run.err.contains(errPart))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "exit " << run.exitCode << "\nerr: " << run.err.toStdString()
                                         << "\nout: " << run.out.toStdString();
}

}  // namespace apptest
