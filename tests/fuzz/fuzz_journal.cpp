// Rename journals are read back from disk, where anything may have happened to them: whatever the
// bytes, the reader keeps only entries that name bare entries, and what it keeps writes back the same.
#include "Fuzz.h"

#include "names/JournalFormat.h"
#include "names/TemporaryName.h"

#include <QByteArray>

namespace {

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
    // Entries compare by how they are written: every field, in order.
    const auto written = [&](const QList<names::JournalEntry>& entries) { return names::formatJournalPlan(j->header, entries); };
    const std::optional<names::ParsedJournal> head = names::parseJournal(bytes.left(qsizetype(size) / 2), false);
    if (head) {
        FUZZ_CHECK(head->entries.size() <= j->entries.size());
        FUZZ_CHECK(written(head->entries) == written(j->entries.first(head->entries.size())));
    }
    // What was read, written again, reads back the same and whole.
    const std::optional<names::ParsedJournal> again = names::parseJournal(written(j->entries), true);
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(written(again->entries) == written(j->entries));
    FUZZ_CHECK(again->header.directoryPath == j->header.directoryPath);
    FUZZ_CHECK(again->header.directory.inode == j->header.directory.inode);
    FUZZ_CHECK(again->damaged == j->entries.isEmpty());
    return 0;
}
