#include "NamesTestKit.h"

#include "names/DirectoryScan.h"
#include "names/NameTable.h"
#include "names/RenamePlanner.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>

using namespace namestest;

namespace {

// A directory whose files hold their own original names, renamed by one set of lines.
struct Scenario {
    TempTree dir;
    QStringList originals;

    explicit Scenario(const QStringList& names) : originals(names) { dir.addOwnNames(names); }
    RenameOutcome run(const QStringList& lines, DirRenamer::Strategy s = DirRenamer::Strategy::Auto)
    {
        DirRenamer r(dir.path(), s);
        return executeRenames(planRenames(originals, lines), r);
    }
};

TEST(SplitNameLines, ACrEndsTheLineAndTakesTheNextCharacterWithIt)
{
    const std::tuple<QString, qsizetype, QStringList> cases[] = {
        {"", 5, {""}},
        {"a b \r\n\r\nc", 5, {"a b ", "", "c"}},
        {"a\r\n", 5, {"a", ""}},
        {"a\r", 5, {"a", ""}},
        {"a\rxb\r\rc", 5, {"a", "b", "c"}},  // whatever follows the CR goes, another CR too
        {"a\nb", 5, {"a\nb"}},                 // a lone LF stays in the line
        {"a\r\nb\r\nc", 2, {"a", "b"}},
        {"a", 0, {}},
    };
    for (const auto& [text, max, expected] : cases)
        EXPECT_EQ(splitNameLines(text, max), expected) << text.toStdString() << " max " << max;
}

TEST(RenameOnDisk, ExtensionRuleCaseOnlyChangesSwapsCyclesAndChainsWithAndWithoutTheFlag)
{
    const QList<std::tuple<QString, QString, QString>> cases = {
        {"a.mp3", "b", "b.mp3"},        {"a.mp3", "b.wav", "b.wav"}, {"a.mp3", "b.jpeg", "b.jpeg.mp3"},
        {"a.mp3", "ab", "ab.mp3"},      {"README", "README.txt", "README.txt"},
        {"a.mp3", "A", "A.mp3"},        {"a.mp3", " a ", " a .mp3"},
    };
    for (const auto& [original, line, expected] : cases) {
        SCOPED_TRACE((original + " / " + line).toStdString());
        Scenario s({original});
        const RenameOutcome out = s.run({line});
        EXPECT_EQ(out.renamed, 1);
        EXPECT_EQ(s.dir.withContent(), QStringList({expected + "=" + original}));  // no temporary name left behind
    }

    for (auto strategy : {DirRenamer::Strategy::Auto, DirRenamer::Strategy::WithoutFlag}) {
        Scenario s({"a.txt", "b.txt", "c.txt", "d.txt", "e.txt", "x.txt", "y.txt", "z.txt", "p", "q"});
        // a<->b swap; c->d->e->c cycle; x->y->z->w chain; p<->q case-and-swap mix.
        const RenameOutcome out = s.run({"b", "a", "d", "e", "c", "y", "z", "w", "Q", "p"}, strategy);
        EXPECT_EQ(out.renamed, 10);
        EXPECT_EQ(s.dir.withContent(), QStringList({"Q=p", "a.txt=b.txt", "b.txt=a.txt", "c.txt=e.txt", "d.txt=c.txt",
                                                     "e.txt=d.txt", "p=q", "w.txt=z.txt", "y.txt=x.txt", "z.txt=y.txt"}));
    }
}

TEST(RenameOnDisk, RandomPlansLoseNothing)
{
    // Targets drawn from the entries' own names (in any case), new names and
    // duplicates: every planned move must succeed and every byte stay somewhere.
    QRandomGenerator rng(11);
    const QStringList pool = {"a", "b", "c", "d", "e", "f", "A", "B", "n1", "n2", ""};
    for (int round = 0; round < 40; ++round) {
        Scenario s({"a", "b", "c", "d", "e", "f"});
        QStringList lines;
        for (int i = 0; i < 6; ++i)
            lines.append(pool[rng.bounded(int(pool.size()))]);
        const RenamePlan plan = planRenames(s.originals, lines);
        DirRenamer r(s.dir.path());
        const RenameOutcome out = executeRenames(plan, r);
        ASSERT_EQ(out.renamed, plan.moves.size()) << lines.join(',').toStdString();
        ASSERT_EQ(out.failed.size(), plan.refused.size());
        // Every entry once, each moved one under its planned name.
        QStringList expected;
        for (const QString& name : s.originals)
            expected << name + "=" + name;
        for (const PlannedRename& m : plan.moves)
            expected[s.originals.indexOf(m.from)] = m.to.toString() + "=" + m.from.toString();
        expected.sort();
        ASSERT_EQ(s.dir.withContent(), expected);
    }
}

TEST(RenamePlan, RefusesWhatCannotWorkAlongTheChainAndKeepsBlankLines)
{
    const QString long255 = QString(251, 'x') + ".txt";
    const QString umlauts = QString(128, QChar(0xE4));  // 128 characters, 256 bytes
    const QStringList originals = {"k1.mp3", "k2.mp3", "a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "l", "m"};
    const QStringList lines = {"", "   ", ".", "..", "x/y", "x\ty", "x\ny", long255, long255 + "x", umlauts,
                               QString(QChar(0xD800)), "f", "new", "new"};
    RenamePlan plan = planRenames(originals, lines + QStringList({"past the list"}));

    // Blank lines keep their names (never ".mp3"); j may take f's name because f moves on.
    EXPECT_EQ(seen(plan.refused), QList<Seen>({{3, R::DotName}, {4, R::DotName}, {5, R::Slash}, {6, R::ControlCharacter},
                                               {7, R::ControlCharacter}, {9, R::TooLong}, {10, R::TooLong},
                                               {11, R::NotRepresentable}, {14, R::SameTargetAsLine, "", 13}}));
    ASSERT_EQ(plan.moves.size(), 3);
    EXPECT_EQ(QStringList({plan.moves[0].to.toString(), plan.moves[1].to.toString(), plan.moves[2].to.toString()}),
              QStringList({long255, "f", "new"}));

    // c stays, so b -> c is refused, so b stays, so a -> b is refused, so d -> a is refused too; e -> f works
    // because f moves on to g.
    plan = planRenames({"a", "b", "c", "d", "e", "f"}, {"b", "c", "", "a", "f", "g"});
    EXPECT_EQ(seen(plan.refused), QList<Seen>({{1, R::TargetHeldByStayingLine, "", 2}, {2, R::TargetHeldByStayingLine, "", 3},
                                               {4, R::TargetHeldByStayingLine, "", 1}}));
    ASSERT_EQ(plan.moves.size(), 2);
    EXPECT_EQ(plan.moves[0].from, u"e");

    // The moves view the listed names, which the plan keeps: the list may change or go while it runs.
    NameColumn listed({"x1", "x2"});
    RenamePlan kept = planRenames(listed, QStringList({"y1", "y2"}));
    listed.append(u"x3");
    listed.reorder({2, 1, 0});
    listed = NameColumn();
    const RenamePlan copy = kept;
    kept = {};
    ASSERT_EQ(copy.moves.size(), 2);
    EXPECT_EQ(copy.moves[1].from, u"x2");
    EXPECT_EQ(copy.moves[1].to, u"y2");
    // A planner that plans anew leaves the new names of a plan it gave out as they were.
    const QStringList first = {"z1", "z2"}, second = {"w1", "w2"};
    RenamePlanner planner(NameColumn({"x1", "x2"}), {first[0], first[1]});
    planner.advance();
    const RenamePlan before = planner.takePlan();
    planner.restart({second[0], second[1]});
    planner.advance();
    EXPECT_EQ(planner.takePlan().moves[0].to, u"w1");
    EXPECT_EQ(before.moves[1].to, u"z2");

    // A name longer than the packed new names take is refused as too long, with all its characters.
    const QString huge(NameColumn::kMaxNameUnits + 1, QLatin1Char('h'));
    plan = planRenames({"a", "b", "c"}, {huge, "d", huge + "2"});
    ASSERT_EQ(plan.refused.size(), 2);
    EXPECT_EQ(std::make_pair(plan.refused[0].to, plan.refused[1].to), std::make_pair(huge, huge + "2"));
    EXPECT_EQ(plan.refused[1].reason, R::TooLong);
    ASSERT_EQ(plan.moves.size(), 1);
    EXPECT_EQ(plan.moves[0].to, u"d");
}

TEST(RenameOnDisk, ExistingOrLateTargetsStayUntouchedAndOthersGoOn)
{
    Scenario s({"a.txt", "b.txt", "c.txt", "d.txt", "e.txt", "f.txt"});
    s.dir.add(".hidden.txt", "hidden");
    s.dir.add("sub.txt/inner/");
    ASSERT_TRUE(QFile::remove(s.dir.file("c.txt")));  // vanished after the scan
    const RenamePlan plan = planRenames(s.originals, {".hidden", "sub", "c2", "late", "E", "x"});

    HookedRenamer r(s.dir.path(), [&](const QString&, const QString& to) {
        if (to == "late.txt" || to == "E.txt")  // appears between plan and rename
            s.dir.add(to, "intruder");
        return 0;
    });
    std::pair<qsizetype, qsizetype> last{-1, -1};
    const RenameOutcome out = executeRenames(plan, r, [&](qsizetype done, qsizetype total) {
        EXPECT_GE(done, last.first);
        last = {done, total};
    });
    EXPECT_EQ(last, std::make_pair(qsizetype(5), qsizetype(5)));  // five moves (the plan refuses the hidden name)
    EXPECT_EQ(seen(out.failed), QList<Seen>({{1, R::NeverListed}, {2, R::TargetExists}, {3, R::DiskError},
                                             {4, R::TargetExists}, {5, R::TargetExists}}));
    EXPECT_EQ(out.failed.value(2).errorCode, ENOENT);
    EXPECT_EQ(out.renamed, 1);
    // The case-only change whose target was taken went back to its own name.
    EXPECT_EQ(s.dir.withContent(), QStringList({".hidden.txt=hidden", "E.txt=intruder", "a.txt=a.txt", "b.txt=b.txt", "d.txt=d.txt",
                                               "e.txt=e.txt", "late.txt=intruder", "sub.txt=<missing>", "x.txt=f.txt"}));
    EXPECT_TRUE(QDir(s.dir.file("sub.txt/inner")).exists());
}

// A directory of a file system that ignores letter case (but keeps it), in memory.
struct CaselessDirectory final : Renamer {
    QMap<QString, QString> entries;  // folded name -> name as stored
    int rename(QStringView fromView, QStringView toView) override
    {
        const QString from = fromView.toString(), to = toView.toString();
        const auto it = entries.constFind(from.toCaseFolded());
        if (it == entries.cend() || it.value() != from)
            return ENOENT;
        if (entries.contains(to.toCaseFolded()))
            return EEXIST;  // even when it is the entry itself, as a no-replace rename does there
        entries.erase(it);
        entries.insert(to.toCaseFolded(), to);
        return 0;
    }
};

TEST(RenameOnCaselessFileSystem, DependenciesIgnoreLetterCase)
{
    // a.txt <-> B.txt swap by other case; c.txt -> C.txt; x.txt -> D.txt while d.txt
    // leaves: on such a file system no move may run before the name it needs is free.
    const QStringList originals = {"a.txt", "B.txt", "c.txt", "x.txt", "d.txt"};
    CaselessDirectory dir;
    for (const QString& n : originals)
        dir.entries.insert(n.toCaseFolded(), n);
    const RenamePlan plan = planRenames(originals, {"b", "A", "C", "D", "y"});
    const RenameOutcome out = executeRenames(plan, dir);
    EXPECT_TRUE(out.failed.isEmpty()) << out.failed.size();
    EXPECT_EQ(QStringList(dir.entries.values()), QStringList({"A.txt", "b.txt", "C.txt", "D.txt", "y.txt"}));
}

TEST(RenamePlan, NamesTheScanWouldNeverListAreRefused)
{
    Scenario s({"h.txt", "dot.mp3", "p.exe", "q.exe", "keep.txt"});
    const RenameOutcome out = s.run({".h", ".", "peldra", "PelDra.EXE", "..keep"});
    QStringList refused;
    for (const RenameProblem& p : out.failed)
        refused << p.to + (p.reason == R::NeverListed ? "" : " (other reason)");
    EXPECT_EQ(refused, QStringList({".h.txt", "..mp3", "peldra.exe", "PelDra.EXE", "..keep.txt"}));
    // Every entry is still listed under its name.
    EXPECT_EQ(scanDirectory(s.dir.path(), {false, false}).names.toList(), QStringList({"dot.mp3", "h.txt", "keep.txt", "p.exe", "q.exe"}));
    EXPECT_TRUE(isListableName("peldra.exe.bak") && isListableName("a.b"));
}

// The table that finds a moving entry's name up to letter case, against the library's own comparison, on
// names mixing ASCII with letters whose folded forms lie elsewhere (Kelvin sign, long s, Greek sigma,
// Deseret in two units, a lone surrogate) at every offset of the four-unit words.
TEST(NameTable, FindsNamesEqualButForCaseAsTheLibraryComparesThem)
{
    const QString pieces[] = {"a", "A", "k", "\u212A", "s", "\u017F", "S", "\u03C3", "\u03A3", "\u03C2", "\u00DF", "\u1E9E",
                              QString::fromUcs4(U"\U00010400"), QString::fromUcs4(U"\U00010428"), QString(QChar(0xD800)), "Z", "_", "7"};
    QRandomGenerator rng(12345);
    QStringList names;
    for (int n = 0; n < 3000; ++n) {
        QString name;
        for (int k = int(rng.bounded(1, 11)); k > 0; --k)
            name += pieces[rng.bounded(int(std::size(pieces)))];
        names.append(name);
    }
    NameTable<Qt::CaseInsensitive> table(names.size(), [&](int k) { return QStringView(names.at(k)); });
    for (int k = 0; k < names.size(); ++k)
        table.insert(names.at(k), k);
    int matched = 0;
    for (int probe = 0; probe < 3000; ++probe) {
        // Either a stored name with its letters' cases flipped, or a new one.
        QString name = probe % 2 ? names.at(probe) : QString();
        if (name.isEmpty())
            for (int k = int(rng.bounded(1, 11)); k > 0; --k)
                name += pieces[rng.bounded(int(std::size(pieces)))];
        else
            name = probe % 4 == 1 ? name.toUpper() : name.toLower();
        int expected = -1;
        for (int k = 0; k < names.size() && expected < 0; ++k)
            if (names.at(k).compare(name, Qt::CaseInsensitive) == 0)
                expected = k;
        const int found = table.value(name);
        ASSERT_EQ(found < 0, expected < 0) << name.toStdString();
        if (found >= 0) {
            EXPECT_EQ(names.at(found).compare(name, Qt::CaseInsensitive), 0) << name.toStdString();
            ++matched;
        }
    }
    EXPECT_GT(matched, 1000);
}

TEST(RenameOnDisk, ProgressCountsEntriesNotSteps)
{
    QStringList names, upper;
    for (int i = 0; i < 600; ++i) {
        names.append(QString("track%1").arg(i));
        upper.append(names.last().toUpper());  // every one a case change: two renames each
    }
    Scenario s(names);
    DirRenamer r(s.dir.path());
    QList<qsizetype> done;
    const RenameOutcome out = executeRenames(planRenames(names, upper), r, [&](qsizetype d, qsizetype total) {
        done.append(total == 600 && d <= total ? d : -1);
    });
    EXPECT_EQ(out.renamed, 600);
    ASSERT_GE(done.size(), 3);
    EXPECT_FALSE(done.contains(-1));
    EXPECT_EQ(std::make_pair(done.first(), done.last()), std::make_pair(qsizetype(0), qsizetype(600)));
}

}  // namespace
