#include "names/JournalFormat.h"

#include "names/TemporaryName.h"

#include <charconv>
#include <limits>

namespace names {

namespace {

const QByteArray kMagic = "quillet-journal 1";
const QByteArray kPlanEnd = "plan";
constexpr qsizetype kFieldsPerEntry = 5;

// Names may hold tabs and backslashes; the journal's fields are tab-separated lines.
void appendEscaped(QByteArray& out, QStringView text)
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

std::optional<QString> unescaped(QByteArrayView field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        char c = field[i];
        if (c == '\\') {
            if (++i == field.size())
                return std::nullopt;
            switch (field[i]) {
            case '\\': c = '\\'; break;
            case 't': c = '\t'; break;
            case 'n': c = '\n'; break;
            case 'r': c = '\r'; break;
            default: return std::nullopt;
            }
        }
        out += c;
    }
    return QString::fromUtf8(out);
}

template <typename T>
std::optional<T> number(QByteArrayView field)
{
    T value{};
    const char* end = field.data() + field.size();
    const auto [ptr, ec] = std::from_chars(field.data(), end, value);
    if (field.isEmpty() || ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

// What a journal may name: one entry of the directory, never a path or the directory itself.
bool isEntryName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
        && !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

// Cuts `bytes` into lines; a line without its line end is cut off (and said so by `cut`).
class Lines {
public:
    explicit Lines(QByteArrayView bytes) : m_bytes(bytes) {}
    std::optional<QByteArrayView> next()
    {
        if (m_pos >= m_bytes.size())
            return std::nullopt;
        const qsizetype end = m_bytes.indexOf('\n', m_pos);
        if (end < 0) {
            m_cut = true;
            m_pos = m_bytes.size();
            return std::nullopt;
        }
        const QByteArrayView line = m_bytes.sliced(m_pos, end - m_pos);
        m_pos = end + 1;
        return line;
    }
    bool cut() const { return m_cut; }
    qsizetype position() const { return m_pos; }

private:
    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
    bool m_cut = false;
};

QList<QByteArrayView> fields(QByteArrayView line)
{
    QList<QByteArrayView> out;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= line.size(); ++i) {
        if (i == line.size() || line[i] == '\t') {
            out.append(line.sliced(start, i - start));
            start = i + 1;
        }
    }
    return out;
}

// "key<TAB>value…": the values, when the line has this key and `count` of them.
std::optional<QList<QByteArrayView>> keyed(std::optional<QByteArrayView> line, const char* key, qsizetype minCount,
                                           qsizetype maxCount)
{
    if (!line || line->size() > kMaxJournalLineBytes)
        return std::nullopt;
    QList<QByteArrayView> f = fields(*line);
    if (f.isEmpty() || f.first() != QByteArrayView(key) || f.size() - 1 < minCount || f.size() - 1 > maxCount)
        return std::nullopt;
    f.removeFirst();
    return f;
}

std::optional<JournalEntry> entryOf(QByteArrayView line)
{
    if (line.size() > kMaxJournalLineBytes)
        return std::nullopt;
    const QList<QByteArrayView> f = fields(line);
    if (f.size() != kFieldsPerEntry)
        return std::nullopt;
    const std::optional<int> lineNumber = number<int>(f[0]);
    const std::optional<quint64> inode = number<quint64>(f[1]);
    std::optional<QString> oldName = unescaped(f[2]);
    std::optional<QString> tempName = unescaped(f[3]);
    std::optional<QString> newName = unescaped(f[4]);
    if (!lineNumber || *lineNumber < 1 || !inode || !oldName || !tempName || !newName)
        return std::nullopt;
    if (!isEntryName(*oldName) || !isEntryName(*newName) || (!tempName->isEmpty() && !isTemporaryName(*tempName)))
        return std::nullopt;
    return JournalEntry{*lineNumber, std::move(*oldName), std::move(*tempName), std::move(*newName), *inode};
}

}  // namespace

QByteArray journalKindText(JournalKind kind)
{
    return kind == JournalKind::Undo ? "undo" : "rename";
}

QByteArray journalEndMark(JournalEnd end)
{
    switch (end) {
    case JournalEnd::Finished: return "finished";
    case JournalEnd::RolledBack: return "rolled-back";
    case JournalEnd::Undone: return "undone";
    case JournalEnd::Open: break;
    }
    return {};
}

bool writeJournalPlan(const JournalHeader& header, const JournalPlan& plan, const std::vector<quint64>& inodes,
                      const std::function<bool(QByteArrayView)>& sink)
{
    constexpr qsizetype kPieceBytes = 64 * 1024;
    QByteArray text;
    text.reserve(kPieceBytes + 1024);
    text += kMagic + '\n';
    text += "kind\t" + journalKindText(header.kind) + '\n';
    text += "dir\t";
    appendEscaped(text, header.directoryPath);
    text += '\n';
    text += "id\t" + QByteArray::number(header.directory.device) + '\t' + QByteArray::number(header.directory.inode);
    if (header.directory.birth != 0)
        text += '\t' + QByteArray::number(header.directory.birth);
    text += '\n';
    text += "started\t" + QByteArray::number(header.started) + '\n';
    text += "entries\t" + QByteArray::number(plan.size) + '\n';
    char number[24];
    auto appendNumber = [&](quint64 value) {
        const auto end = std::to_chars(number, number + sizeof number, value).ptr;
        text.append(number, end - number);
    };
    for (qsizetype i = 0; i < plan.size; ++i) {
        const JournalEntryView e = plan.entry(i);
        appendNumber(quint64(e.line));
        text += '\t';
        appendNumber(inodes.at(size_t(i)));
        text += '\t';
        appendEscaped(text, e.oldName);
        text += '\t';
        appendEscaped(text, e.tempName);
        text += '\t';
        appendEscaped(text, e.newName);
        text += '\n';
        // Handed on in pieces: a plan of a million entries is never held whole.
        if (text.size() >= kPieceBytes) {
            if (!sink(text))
                return false;
            text.truncate(0);
        }
    }
    text += kPlanEnd + '\n';
    return sink(text);
}

QByteArray formatJournalPlan(const JournalHeader& header, const QList<JournalEntry>& entries)
{
    QByteArray all;
    std::vector<quint64> inodes;
    inodes.reserve(size_t(entries.size()));
    for (const JournalEntry& e : entries)
        inodes.push_back(e.inode);
    writeJournalPlan(header, JournalPlan::of(entries), inodes, [&](QByteArrayView piece) {
        all += piece;
        return true;
    });
    return all;
}

std::optional<ParsedJournal> parseJournal(QByteArrayView bytes, bool whole)
{
    Lines lines(bytes);
    if (lines.next() != QByteArrayView(kMagic))
        return std::nullopt;
    const auto kind = keyed(lines.next(), "kind", 1, 1);
    const auto dir = keyed(lines.next(), "dir", 1, 1);
    const auto id = keyed(lines.next(), "id", 2, 3);
    if (!kind || !dir || !id)
        return std::nullopt;
    ParsedJournal j;
    const std::optional<QString> path = unescaped(dir->at(0));
    const std::optional<quint64> device = number<quint64>(id->at(0));
    const std::optional<quint64> inode = number<quint64>(id->at(1));
    const std::optional<qint64> birth = id->size() > 2 ? number<qint64>(id->at(2)) : std::optional<qint64>(0);
    if (!path || !device || !inode || *inode == 0 || !birth)
        return std::nullopt;
    j.header.directoryPath = *path;
    j.header.directory = {*device, *inode, *birth};
    if (kind->at(0) == journalKindText(JournalKind::Undo))
        j.header.kind = JournalKind::Undo;
    else if (kind->at(0) != journalKindText(JournalKind::Rename))
        j.damaged = true;

    const auto started = keyed(lines.next(), "started", 1, 1);
    const auto count = keyed(lines.next(), "entries", 1, 1);
    const std::optional<qint64> startedAt = started ? number<qint64>(started->at(0)) : std::nullopt;
    const std::optional<qint64> announced = count ? number<qint64>(count->at(0)) : std::nullopt;
    // Without the start time no entry can be told from a newer file that took its inode number.
    if (!startedAt)
        return std::nullopt;
    j.header.started = *startedAt;
    if (!announced || *announced < 1 || *announced > kMaxJournalEntries) {
        j.damaged = true;
    } else {
        j.header.entryCount = qsizetype(*announced);
        // Never more room than the bytes could hold (an entry line has at least ten).
        j.entries.reserve(std::min(j.header.entryCount, bytes.size() / 10 + 1));
    }

    bool planEnded = false;
    while (j.entries.size() < kMaxJournalEntries) {
        const std::optional<QByteArrayView> line = lines.next();
        if (!line)
            break;
        if (*line == QByteArrayView(kPlanEnd)) {
            planEnded = true;
            break;
        }
        std::optional<JournalEntry> entry = entryOf(*line);
        if (!entry) {
            // Entries after a line that did not read cannot be trusted to be the plan's.
            j.damaged = true;
            break;
        }
        j.entries.append(std::move(*entry));
    }
    if (!whole && !planEnded && !j.damaged)
        return j;  // the head ends inside the plan; the end comes from the tail
    if (!planEnded || j.entries.size() != j.header.entryCount)
        j.damaged = true;
    if (planEnded && whole) {
        // The end marks follow the progress marks; the last whole line decides.
        QByteArrayView last;
        while (const std::optional<QByteArrayView> line = lines.next())
            last = *line;
        j.end = journalEndFromTail(last.toByteArray() + '\n');
    }
    if (j.damaged)
        j.entries.squeeze();
    return j;
}

JournalEnd journalEndFromTail(QByteArrayView tail)
{
    if (!tail.endsWith('\n'))
        return JournalEnd::Open;  // a mark cut short by a crash
    tail.chop(1);
    const QByteArrayView last = tail.sliced(tail.lastIndexOf('\n') + 1);
    for (JournalEnd end : {JournalEnd::Finished, JournalEnd::RolledBack, JournalEnd::Undone})
        if (last == QByteArrayView(journalEndMark(end)))
            return end;
    return JournalEnd::Open;
}

}  // namespace names
