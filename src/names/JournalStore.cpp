#include "names/JournalStore.h"

#include "names/RenameJournal.h"

#include <QDir>
#include <QFile>

namespace names::journalstore {

namespace {

constexpr qint64 kTailBytes = 64;  // enough for the last mark
// Enough for the header of a journal of any real folder; a longer one is read with the head.
constexpr qint64 kHeaderBytes = 16 * 1024;
// Far above the journal of any real directory (a million entries make some 100 MB).
constexpr qint64 kMaxJournalBytes = qint64(1) << 30;

const QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

QByteArray tailOf(QFile& f)
{
    f.seek(std::max<qint64>(0, f.size() - kTailBytes));
    return f.read(kTailBytes);
}

}  // namespace

QStringList journalFiles(const QString& folder)
{
    QDir dir(folder);
    QStringList files = dir.entryList({QStringLiteral("*") + kSuffix}, QDir::Files, QDir::Name | QDir::Reversed);
    for (QString& f : files)
        f = dir.filePath(f);
    return files;
}

bool makeFolder(const QString& folder)
{
    if (!QDir().mkpath(folder))
        return false;
    // Journals hold a folder's path and every old and new name in it: no one else's business.
    return QFile::setPermissions(folder, kOwnerOnly | QFileDevice::ExeOwner);
}

std::optional<ParsedJournal> readHead(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly) || f.isSequential())
        return std::nullopt;
    const QByteArray head = f.read(kJournalHeadBytes);
    std::optional<ParsedJournal> j = parseJournal(head, f.size() <= head.size());
    if (j && f.size() > head.size())
        j->end = journalEndFromTail(tailOf(f));
    return j;
}

std::optional<JournalHeader> readHeader(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly) || f.isSequential())
        return std::nullopt;
    const QByteArray head = f.read(kHeaderBytes);
    if (std::optional<ParsedJournal> j = parseJournal(head, f.size() <= head.size()))
        return j->header;
    if (f.size() <= head.size())
        return std::nullopt;
    f.close();
    if (std::optional<ParsedJournal> j = readHead(file))
        return j->header;
    return std::nullopt;
}

std::optional<JournalEnd> readEnd(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly) || f.isSequential())
        return std::nullopt;
    return journalEndFromTail(tailOf(f));
}

std::optional<ParsedJournal> readWhole(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly) || f.isSequential())
        return std::nullopt;
    const QByteArray bytes = f.read(std::min(f.size(), kMaxJournalBytes));
    std::optional<ParsedJournal> j = parseJournal(bytes, true);
    if (j && f.size() > bytes.size()) {
        j->damaged = true;
        j->end = journalEndFromTail(tailOf(f));
    }
    return j;
}

void appendEnd(const QString& file, JournalEnd end)
{
    QFile f(file);
    if (!f.open(QIODevice::Append))
        return;
    f.write(journalEndMark(end) + '\n');
    f.flush();
    syncJournalFile(f.handle());
}

QString setAside(const QString& file)
{
    QString target = file + kSetAsideSuffix;
    for (int n = 2; QFile::exists(target); ++n)
        target = file + QStringLiteral(".%1").arg(n) + kSetAsideSuffix;
    return QFile::rename(file, target) ? target : QString();
}

std::optional<Found> newestOf(const QString& folder, const DirectoryHandle& dir, JournalEnd end,
                              const std::function<bool(const ParsedJournal&)>& wanted)
{
    if (!dir.isOpen())
        return std::nullopt;
    for (const QString& file : journalFiles(folder)) {
        // Most journals are other folders': their header tells, and their entries are not read.
        const std::optional<JournalHeader> header = readHeader(file);
        if (!header)
            continue;  // not a journal that names a directory: nothing can be done with it here
        const JournalBelonging belonging = journalBelonging(header->directory, dir.identity());
        if (belonging == JournalBelonging::Elsewhere)
            continue;
        if (readEnd(file) != end)
            continue;
        std::optional<ParsedJournal> j = readHead(file);
        if (!j)
            continue;
        if (belonging == JournalBelonging::FolderGone || (j->damaged && j->end != JournalEnd::Open)) {
            setAside(file);
            continue;
        }
        if (j->end != end || (wanted && !wanted(*j)))
            continue;
        if (belonging == JournalBelonging::NeedsProof
            && !entriesFoundInDirectory(j->entries, j->header.started, dir.identity().device,
                                        [&](const QString& name) { return dir.entryIdentity(name); })) {
            // Same device and inode, but not its entries: the directory it was written for is gone.
            setAside(file);
            continue;
        }
        return Found{file, std::move(*j)};
    }
    return std::nullopt;
}

}  // namespace names::journalstore
