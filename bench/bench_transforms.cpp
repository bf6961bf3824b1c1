// Name text tools on a large text: 100,000 lines of about 30 characters.
#include "transforms/LineTools.h"
#include "transforms/StringOps.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

constexpr qint64 kLines = 100000;

const QString& nameText()
{
    static const QString text = [] {
        static const char* words[] = {"das", "Lied", "live", "teil", "zwei", "Grüße", "straße", "über",
                                      "mp3", "cd",   "dvd",  "mix",  "a",    "the",   "und",    "Ärger"};
        static const char* seps[] = {" ", " ", "_", "-", " - ", "."};
        std::mt19937 rng(7);
        QString t;
        t.reserve(kLines * 34);
        for (qint64 i = 0; i < kLines; ++i) {
            if (i > 0)
                t += QLatin1String("\r\n");
            if (rng() % 8 == 0)
                t += QLatin1String("  ");
            QString line;
            while (line.size() < 28) {
                if (!line.isEmpty())
                    line += QLatin1String(seps[rng() % 6]);
                line += QString::fromUtf8(words[rng() % 16]);
            }
            t += line;
            if (rng() % 8 == 0)
                t += QLatin1Char(' ');
        }
        return t;
    }();
    return text;
}

// Every line carries a four-character number, so the check runs to the end
// (numbers from 1000 on are one character wider and would stop it early).
const QString& numberedText()
{
    static const QString text = transforms::appendToLines(nameText(), QStringLiteral("000-"), true);
    return text;
}

template <typename Fn>
void run(benchmark::State& state, const QString& input, Fn fn)
{
    for (auto _ : state) {
        auto result = fn(input);
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * input.size() * 2);
}

void BM_ReplaceText(benchmark::State& s)
{
    run(s, nameText(), [](const QString& t) { return ReplaceText(t, QStringLiteral("_"), QStringLiteral(" "), false); });
}
void BM_ReplaceAllPlain(benchmark::State& s)
{
    run(s, nameText(), [](const QString& t) { return transforms::replaceAllPlain(t, QStringLiteral("LIVE"), QStringLiteral("Konzert"), false); });
}
void BM_JoinLines(benchmark::State& s)
{
    const QString crlf = transforms::expandLineBreakMarks(QStringLiteral("^P"));
    run(s, nameText(), [&](const QString& t) { return transforms::replaceAllPlain(t, crlf, QStringLiteral(" | "), true); });
}
void BM_UmlautTable(benchmark::State& s)
{
    run(s, nameText(), [](QString t) {
        for (const auto& [from, to] : transforms::umlautTable())
            t = transforms::replaceAllPlain(t, from, to, true).text;
        return t;
    });
}
void BM_PlaceholderSameLength(benchmark::State& s)
{
    run(s, nameText(), [](const QString& t) { return ReplaceWithPlaceholder(t, QStringLiteral("_*"), QStringLiteral(" *"), QStringLiteral("*"), false); });
}
void BM_PlaceholderLonger(benchmark::State& s)
{
    run(s, nameText(), [](const QString& t) { return ReplaceWithPlaceholder(t, QStringLiteral("e*"), QStringLiteral("e*x*"), QStringLiteral("*"), false); });
}
void BM_PlaceholderOnly(benchmark::State& s)
{
    run(s, nameText(), [](const QString& t) { return ReplaceWithPlaceholder(t, QStringLiteral("**"), QStringLiteral("*"), QStringLiteral("*"), true); });
}
void BM_UpperSameLength(benchmark::State& s)
{
    run(s, nameText(), [](const QString& t) { return transforms::upperSameLength(t); });
}
void BM_AppendLeft(benchmark::State& s)
{
    run(s, nameText(), [](const QString& t) { return transforms::appendToLines(t, QStringLiteral("CD1-"), true); });
}
void BM_CutRight(benchmark::State& s)
{
    run(s, nameText(), [](const QString& t) { return transforms::cutLines(t, 4, false); });
}
void BM_TrimBlanks(benchmark::State& s)
{
    run(s, nameText(), [](const QString& t) { return transforms::trimLineBlanks(t); });
}
void BM_NumberLines(benchmark::State& s)
{
    run(s, nameText(), [](const QString& t) { return transforms::numberLines(t, kLines); });
}
void BM_CheckNumbering(benchmark::State& s)
{
    run(s, numberedText(), [](const QString& t) { return transforms::numberingLooksRight(t, kLines); });
}
void BM_RemoveNumbers(benchmark::State& s)
{
    run(s, numberedText(), [](const QString& t) { return transforms::removeNumbers(t, kLines); });
}
void BM_CapitaliseWords(benchmark::State& s)
{
    run(s, nameText(), [](const QString& t) { return transforms::capitaliseWords(t); });
}

}  // namespace

BENCHMARK(BM_ReplaceText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaceAllPlain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JoinLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UmlautTable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlaceholderSameLength)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlaceholderLonger)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlaceholderOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UpperSameLength)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AppendLeft)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CutRight)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TrimBlanks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NumberLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckNumbering)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RemoveNumbers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CapitaliseWords)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
