#include "names/RenameJournal.h"

#include "names/AsciiNames.h"
#include "names/DirectoryWalk.h"
#include "names/JournalStore.h"

#include <QDateTime>
#include <QDir>
#include <QHash>
#include <QRandomGenerator>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <vector>

namespace names {

namespace {

int lastErrorOr(int fallback)
{
    return errno != 0 ? errno : fallback;
}

// Sets each entry's inode to what has its old name now. A listed inode whose name no other program has
// touched since (by `changed`, the names a watch saw change) is kept; a few others are looked up one by
// one. Many are confirmed against one pass over the directory that decodes no name; only entries without
// one, or whose name leads elsewhere by now, are looked up by name.
std::vector<quint64> readInodes(const DirectoryHandle& dir, const JournalPlan& plan,
                                const std::optional<QSet<QString>>& changed)
{
    constexpr qsizetype kSingleLookUps = 256;
    const auto n = size_t(plan.size);
    std::vector<quint64> inodes(n, 0);
    std::vector<bool> confirmed(n, false);
    qsizetype unconfirmed = 0;
    for (size_t i = 0; i < n; ++i) {
        const JournalEntryView e = plan.entry(qsizetype(i));
        inodes[i] = e.inode;
        confirmed[i] = e.inode != 0 && !DirectoryWatch::mayHaveChanged(changed, e.oldName);
        unconfirmed += confirmed[i] ? 0 : 1;
    }
    if (unconfirmed <= kSingleLookUps) {
        for (size_t i = 0; i < n; ++i)
            if (!confirmed[i])
                inodes[i] = dir.entryIdentity(plan.entry(qsizetype(i)).oldName.toString()).inode;
        return inodes;
    }
    QHash<quint64, qsizetype> entryOfInode;
    entryOfInode.reserve(plan.size);
    for (size_t i = 0; i < n; ++i)
        if (inodes[i] != 0)
            entryOfInode.insert(inodes[i], qsizetype(i));
    QHash<QString, quint64> inodeOfOther;  // names that did not confirm a listed inode
    DirectoryWalk walk(dir);
    while (const std::optional<DirectoryWalk::Entry> e = walk.next()) {
        const auto it = entryOfInode.constFind(e->inode);
        if (it != entryOfInode.cend() && isNamed(e->name, plan.entry(it.value()).oldName))
            confirmed[size_t(it.value())] = true;
        else
            inodeOfOther.insert(decodedName(e->name), e->inode);
    }
    for (size_t i = 0; i < n; ++i)
        if (!confirmed[i])
            inodes[i] = inodeOfOther.value(plan.entry(qsizetype(i)).oldName.toString());
    return inodes;
}

bool isRename(const ParsedJournal& j)
{
    return j.header.kind == JournalKind::Rename;
}

}  // namespace

JournalBelonging journalBelonging(const FileIdentity& recorded, const FileIdentity& opened)
{
    if (recorded.device != opened.device || recorded.inode != opened.inode || recorded.inode == 0)
        return JournalBelonging::Elsewhere;
    if (recorded.birth == 0 || opened.birth == 0)
        return JournalBelonging::NeedsProof;
    return recorded.birth == opened.birth ? JournalBelonging::Yes : JournalBelonging::FolderGone;
}

bool entriesFoundInDirectory(const QList<JournalEntry>& entries, qint64 started, quint64 device,
                             const std::function<FileIdentity(const QString&)>& identityOf)
{
    constexpr qsizetype kSample = 32;
    std::vector<qsizetype> known;
    for (qsizetype i = 0; i < entries.size(); ++i)
        if (entries.at(i).inode != 0)
            known.push_back(i);
    const qsizetype step = std::max<qsizetype>(1, qsizetype(known.size()) / kSample);
    qsizetype sampled = 0;
    qsizetype found = 0;
    for (size_t k = 0; k < known.size(); k += size_t(step)) {
        const JournalEntry& e = entries.at(known[k]);
        ++sampled;
        for (const QString* name : {&e.oldName, &e.tempName, &e.newName}) {
            if (name->isEmpty())
                continue;
            const FileIdentity id = identityOf(*name);
            if (id.device == device && id.inode == e.inode && (id.birth == 0 || id.birth <= started)) {
                ++found;
                break;
            }
        }
    }
    // A stranger may share an inode number and a name by chance, but not with half of a sample.
    return found > 0 && found * 2 >= sampled;
}

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

int RenameJournal::writePlan(const QList<JournalEntry>& entries)
{
    return writePlan(JournalPlan::of(entries));
}

int RenameJournal::writePlan(const JournalPlan& plan)
{
    errno = 0;
    if (!m_dir.isOpen())
        return m_dir.openError();
    if (!journalstore::makeFolder(m_folder))
        return lastErrorOr(EACCES);
    m_filePath = QDir(m_folder).filePath(QStringLiteral("%1-%2")
                                             .arg(QDateTime::currentMSecsSinceEpoch(), 15, 10, QLatin1Char('0'))
                                             .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'))
                                         + journalstore::kSuffix);

    JournalHeader header;
    header.kind = m_kind;
    header.directoryPath = m_dir.path();
    header.directory = m_dir.identity();
    // Nanoseconds, as the file system keeps the birth times it is compared with.
    header.started =
        std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch()).count();
    // The watch is read last, right before the plan is written: a name changed until then is looked up.
    const std::vector<quint64> inodes = readInodes(m_dir, plan, m_watch ? m_watch->takeChangedNames() : std::nullopt);

    // Written under another name and renamed: a journal is either whole or absent.
    QSaveFile file(m_filePath);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        return lastErrorOr(EACCES);
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const bool written = writeJournalPlan(header, plan, inodes, [&](QByteArrayView piece) {
        return file.write(piece.data(), piece.size()) == piece.size();
    });
    if (!written || !file.flush()) {
        const int err = lastErrorOr(EIO);
        file.cancelWriting();
        return err;
    }
    journalstore::syncJournalFile(file.handle());
    errno = 0;
    if (!file.commit())
        return lastErrorOr(EIO);
    journalstore::syncJournalFolder(m_folder);

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
    m_pendingMarks += journalEndMark(JournalEnd::Finished) + '\n';
    writeMarks();
    m_marks.close();

    // Keep the newest journals; an unfinished one stays until it is recovered.
    const QStringList files = journalstore::journalFiles(m_folder);
    for (qsizetype i = JournalFolder::kKeptJournals; i < files.size(); ++i) {
        const std::optional<JournalEnd> end = journalstore::readEnd(files.at(i));
        if (end && *end != JournalEnd::Open) {
            QFile::remove(files.at(i));
            continue;
        }
        const std::optional<ParsedJournal> j = journalstore::readHead(files.at(i));
        if (!j || j->end != JournalEnd::Open)
            QFile::remove(files.at(i));
    }
}

void RenameJournal::discard()
{
    if (!m_marks.isOpen())
        return;
    m_pendingMarks.clear();
    m_marks.close();
    QFile::remove(m_filePath);
}

JournalFolder::JournalFolder(const QString& folder) : m_folder(folder) {}

std::optional<UnfinishedRename> JournalFolder::findUnfinished(const DirectoryHandle& dir)
{
    std::optional<journalstore::Found> found =
        journalstore::newestOf(m_folder, dir, JournalEnd::Open);
    if (!found)
        return std::nullopt;
    UnfinishedRename rename{found->file, found->head.header.directoryPath, found->head.header.entryCount,
                            found->head.damaged};
    if (rename.damaged || rename.entryCount == 0) {
        // Only the entries read whole count; the head may not hold them all.
        const std::optional<ParsedJournal> whole = journalstore::readWhole(found->file);
        rename.damaged = !whole || whole->damaged;
        rename.entryCount = whole ? whole->entries.size() : 0;
    }
    return rename;
}

bool JournalFolder::hasLastRename(const DirectoryHandle& dir)
{
    return journalstore::newestOf(m_folder, dir, JournalEnd::Finished, isRename).has_value();
}

}  // namespace names
