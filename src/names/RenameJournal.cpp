#include "names/RenameJournal.h"

#include "names/DirectoryScan.h"
#include "names/SafeRename.h"

#include <QDateTime>
#include <QDir>
#include <QHash>
#include <QRandomGenerator>
#include <QSaveFile>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cerrno>
#include <vector>

#ifdef _WIN32
#include <io.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace names {

namespace {

const QByteArray kMagic = "quillet-journal 1";
const QByteArray kPlanEnd = "plan";
const QByteArray kFinished = "finished";      // ran to its end (or was finished by a recovery)
const QByteArray kRolledBack = "rolled-back"; // a recovery put the old names back
const QByteArray kUndone = "undone";          // an undo put the old names back
const QString kSuffix = QStringLiteral(".journal");
constexpr qint64 kTailBytes = 64;  // enough for the last mark

QByteArray kindText(RenameJournal::Kind kind)
{
    return kind == RenameJournal::Kind::Undo ? "undo" : "rename";
}

// Names may hold tabs and backslashes; the journal's fields are tab-separated lines.
void appendEscaped(QByteArray& out, const QString& text)
{
    const qsizetype start = out.size();
    const qsizetype n = text.size();
    const char16_t* u = reinterpret_cast<const char16_t*>(text.constData());
    out.resize(start + n);
    char* dst = out.data() + start;
    qsizetype i = 0;
    // Plain ASCII without the escaped characters is copied as it is, without a UTF-8 copy of its own.
    for (; i < n; ++i) {
        const char16_t c = u[i];
        if (c >= 0x80 || c == '\\' || c == '\t' || c == '\n' || c == '\r')
            break;
        dst[i] = char(c);
    }
    if (i == n)
        return;
    out.truncate(start);
    for (char c : text.toUtf8()) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
}

QByteArray escaped(const QString& text)
{
    QByteArray out;
    appendEscaped(out, text);
    return out;
}

QString unescaped(const QByteArray& field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        char c = field[i];
        if (c == '\\' && i + 1 < field.size()) {
            const char next = field[++i];
            c = next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
        }
        out += c;
    }
    return QString::fromUtf8(out);
}

void syncFile(int fd)
{
#ifdef _WIN32
    ::_commit(fd);
#else
    ::fsync(fd);
#endif
}

// Makes a new or renamed file of `folder` durable; without it a power cut may lose the name.
void syncFolder(const QString& folder)
{
#ifndef _WIN32
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    (void)folder;  // the file system commits directory changes with the file
#endif
}

int lastErrorOr(int fallback)
{
    return errno != 0 ? errno : fallback;
}

struct LoadedJournal {
    QString file;
    QByteArray kind;
    QString directoryPath;
    FileIdentity directory;
    qint64 started = 0;  // nanoseconds since the epoch
    qsizetype entryCount = 0;
    QByteArray lastMark;
    QList<JournalEntry> entries;  // only when asked for
};

QByteArray lastLineOf(QFile& f)
{
    const qint64 size = f.size();
    f.seek(std::max<qint64>(0, size - kTailBytes));
    QByteArray tail = f.read(kTailBytes);
    if (!tail.endsWith('\n'))
        return {};  // a mark cut short by a crash
    tail.chop(1);
    return tail.mid(tail.lastIndexOf('\n') + 1);
}

std::optional<LoadedJournal> load(const QString& file, bool withEntries)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    LoadedJournal j;
    j.file = file;
    auto line = [&] {
        QByteArray l = f.readLine();
        if (l.endsWith('\n'))
            l.chop(1);
        return l;
    };
    if (line() != kMagic)
        return std::nullopt;
    const QList<QByteArray> kind = line().split('\t');
    const QList<QByteArray> dir = line().split('\t');
    const QList<QByteArray> id = line().split('\t');
    const QList<QByteArray> started = line().split('\t');
    const QList<QByteArray> count = line().split('\t');
    if (kind.size() != 2 || dir.size() != 2 || id.size() != 3 || started.size() != 2 || count.size() != 2)
        return std::nullopt;
    j.started = started[1].toLongLong();
    j.kind = kind[1];
    j.directoryPath = unescaped(dir[1]);
    j.directory = {id[1].toULongLong(), id[2].toULongLong()};
    j.entryCount = count[1].toLongLong();
    if (withEntries) {
        j.entries.reserve(j.entryCount);
        for (qsizetype i = 0; i < j.entryCount; ++i) {
            const QByteArray l = line();
            const QList<QByteArray> fields = l.split('\t');
            if (fields.size() != 5)
                return std::nullopt;
            j.entries.append({fields[0].toInt(), unescaped(fields[2]), unescaped(fields[3]), unescaped(fields[4]),
                              fields[1].toULongLong()});
        }
        if (line() != kPlanEnd)
            return std::nullopt;
    }
    j.lastMark = lastLineOf(f);
    return j;
}

bool isUnfinished(const LoadedJournal& j)
{
    return j.lastMark != kFinished && j.lastMark != kRolledBack && j.lastMark != kUndone;
}

// Journal files, newest first (their names begin with the time they were made).
QStringList journalFiles(const QString& folder)
{
    QDir dir(folder);
    QStringList files = dir.entryList({QStringLiteral("*") + kSuffix}, QDir::Files, QDir::Name | QDir::Reversed);
    for (QString& f : files)
        f = dir.filePath(f);
    return files;
}

std::optional<LoadedJournal> newestMatching(const QString& folder, const DirectoryHandle& dir,
                                            const std::function<bool(const LoadedJournal&)>& wanted)
{
    if (!dir.isOpen())
        return std::nullopt;
    for (const QString& file : journalFiles(folder)) {
        std::optional<LoadedJournal> j = load(file, false);
        if (j && j->directory == dir.identity() && wanted(*j))
            return j;
    }
    return std::nullopt;
}

void appendMark(const QString& file, const QByteArray& mark)
{
    QFile f(file);
    if (!f.open(QIODevice::Append))
        return;
    f.write(mark + '\n');
    f.flush();
    syncFile(f.handle());
}

struct Listed {
    QString name;
    quint64 inode;
};

// Every name in the directory with its inode, through the held handle; one pass, no look-up per name.
QList<Listed> listing(const DirectoryHandle& dir)
{
    QList<Listed> entries;
#ifndef _WIN32
    const int fd = ::openat(dir.fd(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* d = fd >= 0 ? ::fdopendir(fd) : nullptr;
    if (!d) {
        if (fd >= 0)
            ::close(fd);
        return entries;
    }
    while (dirent* e = ::readdir(d)) {
        const QByteArray raw(e->d_name);
        if (raw != "." && raw != "..")
            entries.append({QFile::decodeName(raw), quint64(e->d_ino)});
    }
    ::closedir(d);
#else
    const QStringList names =
        QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden);
    for (const QString& name : names)
        entries.append({name, dir.entryIdentity(name).inode});
#endif
    return entries;
}

#ifndef _WIN32
// Whether the raw entry name `raw` is `name`, without decoding it: most names are plain ASCII.
bool isSameName(const char* raw, const QString& name)
{
    const qsizetype n = name.size();
    const char16_t* u = reinterpret_cast<const char16_t*>(name.constData());
    for (qsizetype i = 0; i < n; ++i) {
        const unsigned char c = static_cast<unsigned char>(raw[i]);
        if (c == 0 || c >= 0x80 || u[i] >= 0x80)
            return QFile::decodeName(raw) == name;
        if (c != u[i])
            return false;
    }
    return raw[n] == '\0';
}
#endif

// Sets each entry's inode to what has its old name now. A listed inode whose name no other program has
// touched since (by `changed`, the names a watch saw change) is kept; a few others are looked up one by
// one. Many are confirmed against one pass over the directory that decodes no name; only entries without
// one, or whose name leads elsewhere by now, are looked up by name.
void readInodes(const DirectoryHandle& dir, QList<JournalEntry>& entries, const std::optional<QSet<QString>>& changed)
{
    constexpr qsizetype kSingleLookUps = 256;
    std::vector<bool> confirmed(size_t(entries.size()), false);
    qsizetype unconfirmed = 0;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const JournalEntry& e = entries.at(i);
        confirmed[size_t(i)] = e.inode != 0 && !DirectoryWatch::mayHaveChanged(changed, e.oldName);
        unconfirmed += confirmed[size_t(i)] ? 0 : 1;
    }
    if (unconfirmed <= kSingleLookUps) {
        for (qsizetype i = 0; i < entries.size(); ++i)
            if (!confirmed[size_t(i)])
                entries[i].inode = dir.entryIdentity(entries.at(i).oldName).inode;
        return;
    }
#ifndef _WIN32
    if (std::any_of(entries.cbegin(), entries.cend(), [](const JournalEntry& e) { return e.inode != 0; })) {
        QHash<quint64, qsizetype> entryOfInode;
        entryOfInode.reserve(entries.size());
        for (qsizetype i = 0; i < entries.size(); ++i)
            if (entries.at(i).inode != 0)
                entryOfInode.insert(entries.at(i).inode, i);
        const int fd = ::openat(dir.fd(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        DIR* d = fd >= 0 ? ::fdopendir(fd) : nullptr;
        if (!d && fd >= 0)
            ::close(fd);
        while (d) {
            const dirent* e = ::readdir(d);
            if (!e)
                break;
            const auto it = entryOfInode.constFind(quint64(e->d_ino));
            if (it != entryOfInode.cend() && isSameName(e->d_name, entries.at(it.value()).oldName))
                confirmed[size_t(it.value())] = true;
        }
        if (d)
            ::closedir(d);
    }
#endif
    if (std::all_of(confirmed.cbegin(), confirmed.cend(), [](bool c) { return c; }))
        return;
    QHash<QString, quint64> inodeOf;
    inodeOf.reserve(entries.size());
    for (Listed& listed : listing(dir))
        inodeOf.insert(std::move(listed.name), listed.inode);
    for (qsizetype i = 0; i < entries.size(); ++i)
        if (!confirmed[size_t(i)])
            entries[i].inode = inodeOf.value(entries.at(i).oldName);
}

// Whether `id` is the entry the journal recorded: the same inode, and not born after the rename began
// (a file system may give a freed inode number to the next new file at once).
bool isEntry(const FileIdentity& id, const DirectoryHandle& dir, const JournalEntry& e, qint64 started)
{
    return id.device == dir.identity().device && id.inode == e.inode && (id.birth == 0 || id.birth <= started);
}

// For each entry of the journal, the names that lead to it now.
QList<QStringList> whereEntriesAre(const DirectoryHandle& dir, const LoadedJournal& j)
{
    QHash<quint64, qsizetype> entryOfInode;
    entryOfInode.reserve(j.entries.size());
    for (qsizetype i = 0; i < j.entries.size(); ++i)
        if (j.entries.at(i).inode != 0)
            entryOfInode.insert(j.entries.at(i).inode, i);
    QList<QStringList> where(j.entries.size());
    for (const Listed& listed : listing(dir)) {
        const auto it = entryOfInode.constFind(listed.inode);
        if (it != entryOfInode.cend() && isEntry(dir.entryIdentity(listed.name), dir, j.entries.at(it.value()), j.started))
            where[it.value()].append(listed.name);
    }
    // Where the file system numbers its entries anew (FAT after a remount, say) or a program saved over the
    // entry while it had its temporary name, the inode leads nowhere; the entry is then found under that
    // name, which no other program can have made.
    for (qsizetype i = 0; i < j.entries.size(); ++i) {
        const JournalEntry& e = j.entries.at(i);
        if (where.at(i).isEmpty() && e.inode != 0 && !e.tempName.isEmpty() && dir.entryIdentity(e.tempName).isValid())
            where[i].append(e.tempName);
    }
    return where;
}

// "name (2).mp3" for "name.mp3": a free name for an entry whose wanted names are all taken.
QString numberedName(const QString& name, int number)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const qsizetype split = dot > 0 ? dot : name.size();
    return name.left(split) + QStringLiteral(" (%1)").arg(number) + name.mid(split);
}

constexpr int kNumberedNameAttempts = 99;

}  // namespace

RenameJournal::RenameJournal(const QString& folder, const DirectoryHandle& dir, Kind kind, DirectoryWatch* watch)
    : m_folder(folder), m_dir(dir), m_kind(kind), m_watch(watch)
{
}

RenameJournal::~RenameJournal()
{
    // A rename that stopped short still leaves its marks for the recovery to read.
    if (m_marks.isOpen())
        writeMarks();
}

int RenameJournal::writePlan(QList<JournalEntry> entries)
{
    errno = 0;
    if (!m_dir.isOpen())
        return m_dir.openError();
    if (!QDir().mkpath(m_folder))
        return lastErrorOr(EACCES);
    m_filePath = QDir(m_folder).filePath(QStringLiteral("%1-%2")
                                             .arg(QDateTime::currentMSecsSinceEpoch(), 15, 10, QLatin1Char('0'))
                                             .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'))
                                         + kSuffix);

    QByteArray text;
    text.reserve(64 + entries.size() * 96);
    text += kMagic + '\n';
    text += "kind\t" + kindText(m_kind) + '\n';
    text += "dir\t" + escaped(m_dir.path()) + '\n';
    text += "id\t" + QByteArray::number(m_dir.identity().device) + '\t' + QByteArray::number(m_dir.identity().inode)
        + '\n';
    // Nanoseconds, as the file system keeps the birth times it is compared with.
    const qint64 started =
        std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch()).count();
    text += "started\t" + QByteArray::number(started) + '\n';
    text += "entries\t" + QByteArray::number(entries.size()) + '\n';
    // The watch is read last, right before the plan is written: a name changed until then is looked up.
    readInodes(m_dir, entries, m_watch ? m_watch->takeChangedNames() : std::nullopt);
    char number[24];
    auto appendNumber = [&](quint64 value) {
        const auto end = std::to_chars(number, number + sizeof number, value).ptr;
        text.append(number, end - number);
    };
    for (const JournalEntry& e : std::as_const(entries)) {
        appendNumber(quint64(e.line));
        text += '\t';
        appendNumber(e.inode);
        text += '\t';
        appendEscaped(text, e.oldName);
        text += '\t';
        appendEscaped(text, e.tempName);
        text += '\t';
        appendEscaped(text, e.newName);
        text += '\n';
    }
    text += kPlanEnd + '\n';

    // Written under another name and renamed: a journal is either whole or absent.
    QSaveFile file(m_filePath);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        return lastErrorOr(EACCES);
    if (file.write(text) != text.size() || !file.flush()) {
        const int err = lastErrorOr(EIO);
        file.cancelWriting();
        return err;
    }
    syncFile(file.handle());
    errno = 0;
    if (!file.commit())
        return lastErrorOr(EIO);
    syncFolder(m_folder);

    m_marks.setFileName(m_filePath);
    if (!m_marks.open(QIODevice::Append))
        return lastErrorOr(EIO);
    return 0;
}

void RenameJournal::markDone(qsizetype index)
{
    if (!m_marks.isOpen())
        return;
    char mark[32] = "d\t";
    char* end = std::to_chars(mark + 2, mark + sizeof mark - 1, index).ptr;
    *end++ = '\n';
    m_pendingMarks.append(mark, end - mark);
    if (m_pendingMarks.size() >= kMarkBufferBytes)
        writeMarks();
}

void RenameJournal::writeMarks()
{
    m_marks.write(m_pendingMarks);
    m_marks.flush();
    m_pendingMarks.clear();
}

void RenameJournal::finish()
{
    if (!m_marks.isOpen())
        return;
    // Not forced to disk: should the mark be lost, the next opening offers a recovery that finds
    // every entry already in place, and waiting here would cost as much as a good share of the renames.
    m_pendingMarks += kFinished + '\n';
    writeMarks();
    m_marks.close();

    // Keep the newest journals; an unfinished one stays until it is recovered.
    const QStringList files = journalFiles(m_folder);
    for (qsizetype i = JournalFolder::kKeptJournals; i < files.size(); ++i) {
        const std::optional<LoadedJournal> j = load(files.at(i), false);
        if (!j || !isUnfinished(*j))
            QFile::remove(files.at(i));
    }
}

JournalFolder::JournalFolder(const QString& folder) : m_folder(folder) {}

std::optional<UnfinishedRename> JournalFolder::findUnfinished(const DirectoryHandle& dir) const
{
    const auto j = newestMatching(m_folder, dir, isUnfinished);
    if (!j)
        return std::nullopt;
    return UnfinishedRename{j->file, j->directoryPath, j->entryCount};
}

bool JournalFolder::hasLastRename(const DirectoryHandle& dir) const
{
    return newestMatching(m_folder, dir, [](const LoadedJournal& j) {
               return j.kind == kindText(RenameJournal::Kind::Rename) && j.lastMark == kFinished;
           }).has_value();
}

RenameOutcome JournalFolder::recover(const DirectoryHandle& dir, RecoveryChoice choice)
{
    RenameOutcome outcome;
    const auto found = newestMatching(m_folder, dir, isUnfinished);
    const std::optional<LoadedJournal> j = found ? load(found->file, true) : std::nullopt;
    if (!j)
        return outcome;
    const QList<JournalEntry>& entries = j->entries;
    const bool finish = choice == RecoveryChoice::Finish;
    auto wanted = [&](const JournalEntry& e) -> const QString& { return finish ? e.newName : e.oldName; };
    auto other = [&](const JournalEntry& e) -> const QString& { return finish ? e.oldName : e.newName; };

    DirRenamer renamer(dir);
    QList<RenameProblem> problems;
    RenamePlan plan;
    QList<QStringList> where = whereEntriesAre(dir, *j);
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const JournalEntry& e = entries.at(i);
        QStringList& names = where[i];
        if (e.inode == 0)
            continue;  // missing before the rename began: nothing was done to it
        if (names.isEmpty()) {
            problems.append({e.line, e.oldName, wanted(e), RenameReason::EntryMissing});
            continue;
        }
        // An interrupted rename without the no-replace request may have left the entry under more than one
        // name; keep the wanted one, or else one of ours, and remove the others while they are extra names.
        QString keep = names.contains(wanted(e)) ? wanted(e) : names.first();
        for (const QString& n : std::as_const(names))
            if (n != keep && (isTemporaryName(n) || n == e.oldName || n == e.newName))
                renamer.removeExtraName(n, {dir.identity().device, e.inode, 0});
        if (keep != wanted(e))
            plan.moves.append({e.line, keep, wanted(e)});
    }
    const RenameOutcome moved = executeRenames(plan, renamer);

    // An entry that could not get the wanted name must not stay under a temporary one.
    where = whereEntriesAre(dir, *j);
    bool temporaryLeft = false;
    QHash<int, RenameProblem> movedElsewhere;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const JournalEntry& e = entries.at(i);
        const QStringList& names = where.at(i);
        if (names.contains(wanted(e))) {
            ++outcome.renamed;
            if (finish && e.newName != e.oldName)
                outcome.moved.append({e.newName, e.oldName});
            continue;
        }
        if (names.isEmpty() || !isTemporaryName(names.first()))
            continue;
        const QString temp = names.first();
        QStringList candidates = {other(e)};
        for (int k = 1; k <= kNumberedNameAttempts; ++k)
            candidates.append(numberedName(wanted(e), k));
        bool placed = false;
        for (const QString& candidate : std::as_const(candidates)) {
            if (isListableName(candidate) && renamer.rename(temp, candidate) == 0) {
                movedElsewhere.insert(e.line, {e.line, e.oldName, wanted(e), RenameReason::KeptUnderOtherName, 0, 0,
                                               candidate});
                placed = true;
                break;
            }
        }
        if (!placed) {
            temporaryLeft = true;
            movedElsewhere.insert(e.line, {e.line, e.oldName, wanted(e), RenameReason::LeftUnderTemporaryName, EEXIST,
                                           0, temp});
        }
    }
    for (const RenameProblem& p : moved.failed)
        if (!movedElsewhere.contains(p.line))
            problems.append(p);
    for (const RenameProblem& p : std::as_const(movedElsewhere))
        problems.append(p);
    std::stable_sort(problems.begin(), problems.end(),
                     [](const RenameProblem& a, const RenameProblem& b) { return a.line < b.line; });
    outcome.failed = problems;
    // Asked again next time while an entry could be placed nowhere but under a temporary name.
    if (!temporaryLeft)
        appendMark(j->file, finish ? kFinished : kRolledBack);
    return outcome;
}

RenameOutcome JournalFolder::undoLastRename(const DirectoryHandle& dir)
{
    RenameOutcome outcome;
    const auto last = newestMatching(m_folder, dir, [](const LoadedJournal& j) {
        return j.kind == kindText(RenameJournal::Kind::Rename) && j.lastMark == kFinished;
    });
    const std::optional<LoadedJournal> j = last ? load(last->file, true) : std::nullopt;
    if (!j)
        return outcome;

    RenamePlan plan;
    for (const JournalEntry& e : j->entries) {
        if (e.inode == 0 || isEntry(dir.entryIdentity(e.oldName), dir, e, j->started))
            continue;  // never renamed, or already back
        const FileIdentity now = dir.entryIdentity(e.newName);
        if (!now.isValid())
            plan.refused.append({e.line, e.newName, e.oldName, RenameReason::EntryMissing});
        else if (!isEntry(now, dir, e, j->started))
            plan.refused.append({e.line, e.newName, e.oldName, RenameReason::EntryReplaced});
        else
            plan.moves.append({e.line, e.newName, e.oldName, e.inode});
    }
    DirRenamer renamer(dir);
    RenameJournal journal(m_folder, dir, RenameJournal::Kind::Undo);
    outcome = executeRenames(plan, renamer, {}, &journal);
    if (outcome.stopped == RenameStop::None)
        appendMark(j->file, kUndone);
    return outcome;
}

}  // namespace names
