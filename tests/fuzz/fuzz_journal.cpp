// Rename journals are read back from disk, where anything may have happened to them: whatever the
// bytes, the reader keeps only entries that name bare entries, and what it keeps writes back the same.
#include "FuzzCheck.h"

#include "names/JournalFormat.h"
#include "names/TemporaryName.h"

#include <QByteArray>

namespace {

bool sameEntries(const QList<names::JournalEntry>& a, const QList<names::JournalEntry>& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a[i].line != b[i].line || a[i].inode != b[i].inode || a[i].oldName != b[i].oldName
            || a[i].tempName != b[i].tempName || a[i].newName != b[i].newName)
            return false;
    return true;
}

bool isEntryName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
        && !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<names::ParsedJournal> j = names::parseJournal(bytes, true);
    if (!j)
        return 0;
    FUZZ_CHECK(j->entries.size() <= names::kMaxJournalEntries);
    for (const names::JournalEntry& e : j->entries) {
        FUZZ_CHECK(e.line >= 1);
        FUZZ_CHECK(isEntryName(e.oldName) && isEntryName(e.newName));
        FUZZ_CHECK(e.tempName.isEmpty() || names::isTemporaryName(e.tempName));
    }
    // The head of the same bytes reads no entry that the whole does not.
    const std::optional<names::ParsedJournal> head = names::parseJournal(bytes.left(qsizetype(size) / 2), false);
    if (head) {
        FUZZ_CHECK(head->entries.size() <= j->entries.size());
        FUZZ_CHECK(sameEntries(head->entries, j->entries.first(head->entries.size())));
    }
    // What was read, written again, reads back the same and whole.
    const std::optional<names::ParsedJournal> again =
        names::parseJournal(names::formatJournalPlan(j->header, j->entries), true);
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(sameEntries(again->entries, j->entries));
    FUZZ_CHECK(again->header.directoryPath == j->header.directoryPath);
    FUZZ_CHECK(again->header.directory.inode == j->header.directory.inode);
    FUZZ_CHECK(again->damaged == j->entries.isEmpty());
    return 0;
}
