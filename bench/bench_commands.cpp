// Whole tool commands on the window, widget update included, at 100,000 lines.
#include "mainwindow/Form1.h"
#include "mainwindow/ListSync.h"
#include "mainwindow/NameTextEdit.h"
#include "ui/Messenger.h"
#include "settings/AppDefOps.h"

#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>


#include <memory>

namespace {

struct Fixture {
    QTemporaryDir dir;
    std::unique_ptr<Form1> form;
    QString text;
};

Fixture& fixture()
{
    static Fixture f;
    if (f.form)
        return f;
    if (!bench::createEmptyFiles(f.dir.path(), 100000,
                                 [](int i) { return "track " + QByteArray::number(i) + " - some_title äöü!.mp3"; }))
        std::exit(1);  // the fixture is static: its folder goes with it
    AppDefOps::SaveAppSetting(QStringLiteral("Options"), QStringLiteral("Directorys"), QStringLiteral("0"));
    f.form = std::make_unique<Form1>();
    f.form->findChild<QAction*>(QStringLiteral("ShowMessageBox"))->setChecked(true);
    f.form->set_Startpfad(f.dir.path());
    f.form->InitializeMe();
    f.text = f.form->Get_Eingabe_Text();
    return f;
}

void runCommand(benchmark::State& state, const char* button, const std::function<void(Form1&)>& prepare = {})
{
    Fixture& f = fixture();
    for (auto _ : state) {
        state.PauseTiming();
        f.form->Set_Eingabe_Text(f.text);
        if (prepare)
            prepare(*f.form);
        state.ResumeTiming();
        f.form->findChild<QPushButton*>(QString::fromLatin1(button))->click();
    }
}

void BM_Replace(benchmark::State& s)
{
    runCommand(s, "Command11", [](Form1& f) {
        f.findChild<QLineEdit*>(QStringLiteral("Text4"))->setText(QStringLiteral("title"));
        f.findChild<QLineEdit*>(QStringLiteral("Text5"))->setText(QStringLiteral("Titel"));
    });
}
void BM_ReplacePlaceholder(benchmark::State& s)
{
    runCommand(s, "Command11", [](Form1& f) {
        f.findChild<QLineEdit*>(QStringLiteral("Text4"))->setText(QStringLiteral("_*"));
        f.findChild<QLineEdit*>(QStringLiteral("Text5"))->setText(QStringLiteral(" *"));
    });
}
void BM_Underscores(benchmark::State& s) { runCommand(s, "Command1"); }
void BM_Umlauts(benchmark::State& s) { runCommand(s, "Command5"); }
void BM_Trim(benchmark::State& s) { runCommand(s, "Command2"); }
void BM_Case(benchmark::State& s) { runCommand(s, "Command4"); }
void BM_Words(benchmark::State& s) { runCommand(s, "WordUcase"); }
void BM_Numbering(benchmark::State& s) { runCommand(s, "Nummerieren"); }
void BM_Append(benchmark::State& s)
{
    runCommand(s, "Command16", [](Form1& f) { f.findChild<QLineEdit*>(QStringLiteral("Text10"))->setText(QStringLiteral(" (live)")); });
}
void BM_Cut(benchmark::State& s) { runCommand(s, "Command13"); }

// The whole rename command: checks, plan, 100,000 renames, rescan and the recover text.
void BM_RenameCommand(benchmark::State& state)
{
    Fixture& f = fixture();
    bool forward = true;
    for (auto _ : state) {
        state.PauseTiming();
        f.form->InitializeMe();
        QString text = f.form->Get_Eingabe_Text();
        text.replace(forward ? QStringLiteral("track ") : QStringLiteral("Titel "), forward ? QStringLiteral("Titel ") : QStringLiteral("track "));
        f.form->Set_Eingabe_Text(text);
        forward = !forward;
        state.ResumeTiming();
        f.form->SetzenClick();
    }
}
BENCHMARK(BM_RenameCommand)->Unit(benchmark::kMillisecond)->Iterations(2);

// One poll of the list sync (the cursor's line selects its entry) on the real name text at 100,000
// lines, the cursor somewhere else every time; it runs twice a second while the text has the focus.
void BM_ListSyncPoll(benchmark::State& state)
{
    constexpr int kLines = 100000;
    QStringList lines;
    for (int i = 0; i < kLines; ++i)
        lines.append(QStringLiteral("Träck %1 - söme title").arg(i, 6, 10, QLatin1Char('0')));
    NameTextEdit box;
    box.loadText(lines.join(QStringLiteral("\r\n")));
    int selected = -1;
    listsync::Editor editor;
    editor.cursorPosition = [&] { return box.cursorLine(); };
    editor.lineOfPosition = [](qsizetype line) { return line; };
    listsync::ListSync sync(std::move(editor), {[] { return kLines; }, [&](int row) { selected = row; }});
    const qsizetype lineLength = lines.first().size() + 2;
    int step = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const int line = step * 7919 % kLines;
        box.setSelection(line * lineLength + 3 + step % 2, 0);
        ++step;
        state.ResumeTiming();
        sync.textToList();
    }
    if (selected < 0)
        state.SkipWithError("the poll selected no entry");
}
BENCHMARK(BM_ListSyncPoll)->Unit(benchmark::kMicrosecond)->Iterations(2000);

BENCHMARK(BM_Replace)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReplacePlaceholder)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Underscores)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Umlauts)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Trim)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Case)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Words)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Numbering)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Append)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Cut)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv)
{
    bench::OffscreenApp app(argc, argv);
    bench::SilentMessenger silent;
    ui::setMessenger(&silent);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fixture().form.reset();
    ui::setMessenger(nullptr);
    return 0;
}
