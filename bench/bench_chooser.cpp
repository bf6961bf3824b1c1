// How long the window stalls while the chooser lists a folder of 100,000 files.
#include "chooser/Browser.h"
#include "ui/LastFolder.h"

#include "BenchSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>


#include <cstdio>

int main(int argc, char** argv)
{
    bench::OffscreenApp offscreen(argc, argv);
    QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quillet"), QStringLiteral("Quillet"))
        .setValue(QStringLiteral("Options/OnlyDirectorys"), QStringLiteral("0"));

    QTemporaryDir dir;
    if (!bench::createEmptyFiles(dir.path(), 100000, [](int i) { return "photo_" + QByteArray::number(i) + ".jpg"; }))
        return 1;

    QElapsedTimer clock;
    clock.start();
    ui::LastFolder lastFolder;
    auto* chooser = new Browser(dir.path(), false, lastFolder);
    chooser->show();
    const qint64 opened = clock.elapsed();

    // A timer that should fire every 10 ms; the longest gap is the longest freeze.
    qint64 last = clock.elapsed();
    qint64 worst = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        worst = std::max(worst, now - last);
        last = now;
    });
    tick.start(10);
    QTimer::singleShot(8000, qApp, &QApplication::quit);
    QApplication::exec();
    std::printf("chooser on 100000 files: opened in %lld ms, longest stall over 8 s: %lld ms\n", opened, worst);
    chooser->closeSilently();
    return 0;
}
