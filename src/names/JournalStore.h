#pragma once
// The journal files of one folder, as the journal's writer, its look-ups and its recovery share them.
#include "names/DirectoryHandle.h"
#include "names/JournalFormat.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace names::journalstore {

inline const QString kSuffix = QStringLiteral(".journal");
inline const QString kSetAsideSuffix = QStringLiteral(".set-aside");

// Journal files, newest first (their names begin with the time they were made).
QStringList journalFiles(const QString& folder);
// The folder of journals, made when missing, readable by its owner only.
bool makeFolder(const QString& folder);

// The head of a journal (header and first entries, bounded) with its end read from the file's last line.
std::optional<ParsedJournal> readHead(const QString& file);
// The header alone, from the first bytes of the file.
std::optional<JournalHeader> readHeader(const QString& file);
// How the journal ended, by its last line alone: a cheap first look before its head is read.
std::optional<JournalEnd> readEnd(const QString& file);
// The whole journal, bounded in size; a journal cut by the bound reads as damaged.
std::optional<ParsedJournal> readWhole(const QString& file);

// Makes a written file durable, and a new or renamed file of `folder`; without the latter a power cut
// may lose the name.
void syncJournalFile(int fd);
void syncJournalFolder(const QString& folder);

// Appends an end mark and makes it durable.
void appendEnd(const QString& file, JournalEnd end);
// Renames a journal nobody can act on out of the way (never deletes it); returns its new path.
QString setAside(const QString& file);

struct Found {
    QString file;
    ParsedJournal head;
};
// The newest journal of the directory held by `dir` that ended as `end` and that `wanted` accepts. On the
// way, journals of a directory that is proven gone are set aside, and so are damaged ones that ended as
// `end` (nothing to act on). The journals that ended otherwise are passed by their last line: every rename
// leaves one, and each is looked up before every rename.
std::optional<Found> newestOf(const QString& folder, const DirectoryHandle& dir, JournalEnd end,
                              const std::function<bool(const ParsedJournal&)>& wanted = {});

}  // namespace names::journalstore
