// Scan, display and checks at 10,000 and 100,000 entries.
#include "mainwindow/Form1.h"
#include "names/DirectoryScan.h"
#include "names/NameText.h"
#include "settings/AppDefOps.h"

#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>


#include <map>
#include <memory>

namespace {

// One directory per size, filled once: "Track 00042 - Some Title.mp3" style names.
const QString& directoryOf(int count)
{
    static std::map<int, std::unique_ptr<QTemporaryDir>> dirs;
    static std::map<int, QString> paths;
    auto it = paths.find(count);
    if (it != paths.end())
        return it->second;
    std::unique_ptr<QTemporaryDir>& dir = dirs[count];
    dir = std::make_unique<QTemporaryDir>();
    const bool made = bench::createEmptyFiles(dir->path(), count, [count](int i) {
        return QByteArray("Track ") + QByteArray::number(count - i) + " - Some Title_" + QByteArray::number(i % 97) + ".mp3";
    });
    if (!made)
        std::exit(1);  // the folders are held by statics, which exit() destroys
    paths[count] = dir->path();
    return paths[count];
}

void BM_ScanDirectory(benchmark::State& state)
{
    const QString& dir = directoryOf(int(state.range(0)));
    for (auto _ : state) {
        names::ScanResult r = names::scanDirectory(dir, {false, false});
        benchmark::DoNotOptimize(r.names.size());
    }
}
BENCHMARK(BM_ScanDirectory)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_Checks(benchmark::State& state)
{
    const QString& dir = directoryOf(int(state.range(0)));
    const QString text = names::buildNameText(names::scanDirectory(dir, {false, false}).names);
    for (auto _ : state) {
        benchmark::DoNotOptimize(names::lineCount(text));
        benchmark::DoNotOptimize(names::firstInvalidCharacter(text).line);
        benchmark::DoNotOptimize(names::findDuplicateLines(text).first);
    }
}
BENCHMARK(BM_Checks)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The whole scan as the window does it: list, name text box, labels.
void BM_WindowScan(benchmark::State& state)
{
    const QString& dir = directoryOf(int(state.range(0)));
    AppDefOps::SaveAppSetting(QStringLiteral("Options"), QStringLiteral("Directorys"), QStringLiteral("0"));
    Form1 form;
    form.set_Startpfad(dir);
    for (auto _ : state) {
        form.InitializeMe();
        benchmark::DoNotOptimize(form.LineCount());
    }
}
BENCHMARK(BM_WindowScan)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv)
{
    bench::OffscreenApp app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
