#pragma once
// Shared set-up of the benchmarks: an offscreen application with a private settings store, and folders
// of empty files.
#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "names/FreedMemory.h"
#include "ui/Messenger.h"

#include <fcntl.h>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include <functional>

namespace bench {

// Construct first in main(): offscreen widgets, and nothing the benchmarks store reaches the user's settings
// or data (the journals of their renames; a journal folder that grew with earlier runs would change the figures).
class OffscreenApp {
public:
    OffscreenApp(int& argc, char** argv) : m_ready(prepare(m_settingsDir)), m_app(argc, argv) {}

private:
    static bool prepare(const QTemporaryDir& settingsDir)
    {
        names::keepFreedMemory();  // as the program does first
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
        qputenv("XDG_DATA_HOME", QFile::encodeName(settingsDir.path() + QStringLiteral("/data")));
        return true;
    }
    QTemporaryDir m_settingsDir;
    bool m_ready;
    QApplication m_app;
};

// Answers every question with Yes and stays silent, so a benchmark measures the work, not a dialog.
class SilentMessenger : public ui::Messenger {
public:
    ui::Answer show(QWidget*, const QString&, const QString&, ui::Buttons b, ui::Icon) override
    {
        return b == ui::Buttons::Ok ? ui::Answer::Ok : ui::Answer::Yes;
    }
    void showDetails(QWidget*, const QString&, const QString&, const QString&, ui::Icon) override {}
    void beep() override {}
    void endProgram() override {}
};

// Creates `count` empty files in dir, named by `name(i)`; false (and said why) when one could not be made.
// Figures of a folder that is not all there would be wrong, not slow: the caller stops, and leaves its
// temporary folders to their destructors, so that a full tmpfs does not stay full.
[[nodiscard]] inline bool createEmptyFiles(const QString& dir, int count, const std::function<QByteArray(int)>& name)
{
    const QByteArray base = QFile::encodeName(dir) + "/";
    for (int i = 0; i < count; ++i) {
        const QByteArray path = base + name(i);
        const int fd = ::open(path.constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        if (fd < 0) {
            std::perror(path.constData());
            return false;
        }
        ::close(fd);
    }
    return true;
}

}  // namespace bench
