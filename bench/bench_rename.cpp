// Cost of the safe rename against the bare system call, at 10,000 and 100,000
// entries in one directory under the temporary folder.
#include "names/DirectoryHandle.h"
#include "names/RenameJournal.h"
#include "names/RenamePlan.h"
#include "names/SafeRename.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <fcntl.h>
#include <map>
#include <memory>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

using namespace names;

namespace {

// One directory per size, shared by the benchmarks. Every run renames all
// entries from one set of names to the other, so the next run goes back.
struct Corpus {
    QTemporaryDir tmp;
    QStringList names[2];
    std::vector<QByteArray> paths[2];  // absolute, for the bare rename(2) loop
    std::vector<QByteArray> bare[2];   // encoded bare names, for the bare renameat2 loop
    RenamePlan across[2];              // names[k] -> names[1 - k]
    RenamePlan swaps[2];               // neighbours in names[k] trade names
    int side = 0;

    explicit Corpus(int n)
    {
        for (int i = 0; i < n; ++i) {
            names[0].append(QStringLiteral("track %1 - original.mp3").arg(i, 6, 10, QLatin1Char('0')));
            names[1].append(QStringLiteral("CD1 %1 Renamed Title.mp3").arg(i, 6, 10, QLatin1Char('0')));
        }
        for (int k = 0; k < 2; ++k) {
            for (const QString& name : names[k]) {
                paths[k].push_back(QFile::encodeName(tmp.filePath(name)));
                bare[k].push_back(QFile::encodeName(name));
            }
            across[k] = planRenames(names[k], names[1 - k]);
            QStringList swapped = names[k];
            for (int i = 0; i + 1 < n; i += 2)
                swapped.swapItemsAt(i, i + 1);
            swaps[k] = planRenames(names[k], swapped);
        }
        for (const QByteArray& p : paths[0]) {
            const int fd = ::open(p.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
            if (fd >= 0)
                ::close(fd);
        }
    }
};

Corpus& corpus(int n)
{
    static std::map<int, std::unique_ptr<Corpus>> all;
    auto& c = all[n];
    if (!c)
        c = std::make_unique<Corpus>(n);
    return *c;
}

void BareRename(benchmark::State& state)
{
    Corpus& c = corpus(int(state.range(0)));
    for (auto _ : state) {
        const auto& from = c.paths[c.side];
        const auto& to = c.paths[1 - c.side];
        for (size_t i = 0; i < from.size(); ++i)
            if (::rename(from[i].constData(), to[i].constData()) != 0)
                state.SkipWithError("rename failed");
        c.side = 1 - c.side;
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BareRenameatNoReplace(benchmark::State& state)
{
    Corpus& c = corpus(int(state.range(0)));
    const int dirFd = ::open(QFile::encodeName(c.tmp.path()).constData(), O_RDONLY | O_DIRECTORY);
    for (auto _ : state) {
        const auto& from = c.bare[c.side];
        const auto& to = c.bare[1 - c.side];
        for (size_t i = 0; i < from.size(); ++i)
            if (::syscall(SYS_renameat2, dirFd, from[i].constData(), dirFd, to[i].constData(), RENAME_NOREPLACE) != 0)
                state.SkipWithError("renameat2 failed");
        c.side = 1 - c.side;
    }
    ::close(dirFd);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void ExecuteRenames(benchmark::State& state)
{
    Corpus& c = corpus(int(state.range(0)));
    for (auto _ : state) {
        DirRenamer renamer(c.tmp.path());
        const RenameOutcome out = executeRenames(c.across[c.side], renamer);
        if (!out.failed.isEmpty())
            state.SkipWithError("executeRenames reported failures");
        c.side = 1 - c.side;
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The whole rename as the window runs it: through the held directory, with its journal made durable first.
void ExecuteRenamesWithJournal(benchmark::State& state)
{
    Corpus& c = corpus(int(state.range(0)));
    QTemporaryDir journals;
    for (auto _ : state) {
        const DirectoryHandle dir(c.tmp.path());
        DirRenamer renamer(dir);
        RenameJournal journal(journals.path(), dir);
        const RenameOutcome out = executeRenames(c.across[c.side], renamer, {}, &journal);
        if (!out.failed.isEmpty() || out.stopped != RenameStop::None)
            state.SkipWithError("executeRenames reported failures");
        c.side = 1 - c.side;
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The journal's share alone: the plan read (inodes) and made durable, one mark per entry.
void JournalWritePlan(benchmark::State& state)
{
    Corpus& c = corpus(int(state.range(0)));
    QTemporaryDir journals;
    const DirectoryHandle dir(c.tmp.path());
    QList<JournalEntry> entries;
    for (const PlannedRename& m : c.across[c.side].moves)
        entries.append({m.line, m.from.toString(), QString(), m.to.toString()});
    for (auto _ : state) {
        RenameJournal journal(journals.path(), dir);
        if (journal.writePlan(entries) != 0)
            state.SkipWithError("journal not written");
        for (qsizetype i = 0; i < entries.size(); ++i)
            journal.markDone(i);
        journal.finish();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void ExecuteRenamesSwapAll(benchmark::State& state)
{
    // Every entry trades names with its neighbour: each move takes two renames.
    Corpus& c = corpus(int(state.range(0)));
    for (auto _ : state) {
        DirRenamer renamer(c.tmp.path());
        const RenameOutcome out = executeRenames(c.swaps[c.side], renamer);
        if (!out.failed.isEmpty())
            state.SkipWithError("executeRenames reported failures");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The bookkeeping of executeRenames without the file system.
struct NoDiskRenamer final : Renamer {
    int rename(QStringView, QStringView) override { return 0; }
};

void ExecuteRenamesNoDisk(benchmark::State& state)
{
    Corpus& c = corpus(int(state.range(0)));
    NoDiskRenamer renamer;
    for (auto _ : state)
        benchmark::DoNotOptimize(executeRenames(c.across[0], renamer));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void PlanRenames(benchmark::State& state)
{
    Corpus& c = corpus(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(planRenames(c.names[0], c.names[1]));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void SplitNameLines(benchmark::State& state)
{
    const QString text = corpus(int(state.range(0))).names[1].join(QStringLiteral("\r\n"));
    for (auto _ : state)
        benchmark::DoNotOptimize(splitNameLines(text, state.range(0)));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

}  // namespace

BENCHMARK(BareRename)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BareRenameatNoReplace)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ExecuteRenames)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ExecuteRenamesWithJournal)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(JournalWritePlan)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ExecuteRenamesSwapAll)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ExecuteRenamesNoDisk)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(PlanRenames)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(SplitNameLines)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
