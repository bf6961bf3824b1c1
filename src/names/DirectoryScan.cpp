#include "names/DirectoryScan.h"

#include "names/AsciiNames.h"
#include "names/DirectoryWalk.h"
#include "names/FreedMemory.h"
#include "names/Permute.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <iterator>
#include <numeric>
#include <vector>


namespace names {
namespace {

// Names sorted at a time between two turns of the event loop, in a folder large enough to report progress.
constexpr size_t kSortRun = size_t(1) << 16;
// Entries gathered in one block (see Gathered), which is also what is joined between two turns.
constexpr qsizetype kGatheredBlock = kScanProgressEntries;


template <typename Name>  // QString or ASCII as QLatin1StringView
bool isSiblingTool(const Name& name)
{
    return name.compare(QLatin1StringView("PELDRA.EXE"), Qt::CaseInsensitive) == 0;
}

bool wanted(bool isDir, const ListingOptions& o)
{
    if (!o.renameDirs)
        return !isDir;
    if (o.onlyDirs)
        return isDir;
    return true;
}

template <typename Name>
bool breaksLine(const Name& name)
{
    return name.contains(QLatin1Char('\r')) || name.contains(QLatin1Char('\n')) || name.contains(QChar::ParagraphSeparator);
}

QString escapedName(const QByteArray& raw)
{
    QString shown;
    for (const char byte : raw) {
        const auto c = static_cast<unsigned char>(byte);
        if (c >= 0x20 && c < 0x7f)
            shown += QLatin1Char(char(c));
        else
            shown += QStringLiteral("\\x%1").arg(c, 2, 16, QLatin1Char('0'));
    }
    return shown;
}

// Compares two keys, each either a folded name or an ASCII name still to fold (folding a folded name
// again changes nothing, as folded text has no A-Z).
int compareFolded(QStringView a, QStringView b)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = foldAscii(a[i].unicode());
        const char16_t y = foldAscii(b[i].unicode());
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// The sorted order of `names`: case-insensitive, ties broken case-sensitively.
std::vector<qsizetype> sortedOrder(const NameColumn& names, const std::function<void()>& turn = {})
{
    // Fold once, then sort by the folded key; QStringList::sort would order case-sensitively. ASCII names
    // (most of them) are folded while compared, so that a million names need no second copy; the others
    // are folded into strings of their own.
    // Every pass over a million names takes longer than a turn may wait: each turns the loop now and then.
    auto passed = [&](size_t n) {
        if (turn && n % kSortRun == kSortRun - 1)
            turn();
    };
    std::vector<bool> ascii(size_t(names.size()));
    size_t others = 0;
    for (size_t n = 0; n < ascii.size(); ++n) {
        ascii[n] = isAscii(names.at(qsizetype(n)));
        if (!ascii[n])
            ++others;
        passed(n);
    }
    // The keys are the names themselves but for those folded into strings of their own: no table of a
    // million views beside the names.
    std::vector<QString> otherFolded;
    otherFolded.reserve(others);
    std::vector<qint32> foldedAt;  // per name, when any is not ASCII: its folded string, or -1
    if (others > 0) {
        foldedAt.reserve(ascii.size());
        for (size_t n = 0; n < ascii.size(); ++n) {
            foldedAt.push_back(ascii[n] ? -1 : qint32(otherFolded.size()));
            if (!ascii[n])
                otherFolded.push_back(names.at(qsizetype(n)).toString().toCaseFolded());
            passed(n);
        }
    }
    const size_t count = ascii.size();
    const auto key = [&](size_t n) {
        return foldedAt.empty() || foldedAt[n] < 0 ? names.at(qsizetype(n))
                                                   : QStringView(otherFolded[size_t(foldedAt[n])]);
    };

    // Names of one folder tend to share their start ("track_0..."). The few characters after the part
    // that all share decide most comparisons; packed into one number they decide them without reading
    // the strings, which at 100,000 names would cost more than the listing itself.
    qsizetype common = count == 0 ? 0 : key(0).size();
    for (size_t n = 0; n < count; ++n) {
        const QStringView k = key(n);
        passed(n);
        common = std::min(common, k.size());
        for (qsizetype i = 0; i < common; ++i) {
            if (foldAscii(k[i].unicode()) != foldAscii(key(0)[i].unicode())) {
                common = i;
                break;
            }
        }
    }
    bool narrow = true;  // the next eight characters of every key fit in a byte each
    for (size_t n = 0; narrow && n < count; ++n) {
        const QStringView k = key(n);
        for (qsizetype i = common; narrow && i < std::min(common + 8, k.size()); ++i)
            narrow = k[i].unicode() < 0x100;
        passed(n);
    }
    const int packed = narrow ? 8 : 4;
    const int bits = narrow ? 8 : 16;
    struct Item {
        quint64 prefix;
        qsizetype index;
    };
    // Filled as they are made, not zeroed first: memory touched in one go at a million names would hold
    // up the caller's turns (so with the order below).
    std::vector<Item> items;
    items.reserve(count);
    for (size_t n = 0; n < count; ++n) {
        const QStringView k = key(n);
        quint64 prefix = 0;
        for (int i = 0; i < packed; ++i) {
            const qsizetype pos = common + i;
            // A shorter key sorts first, as if padded with the lowest character.
            prefix = (prefix << bits) | (pos < k.size() ? foldAscii(k[pos].unicode()) : 0u);
        }
        items.push_back({prefix, qsizetype(n)});
        passed(n);
    }
    const auto before = [&](const Item& a, const Item& b) {
        if (a.prefix != b.prefix)
            return a.prefix < b.prefix;
        const int c = compareFolded(key(size_t(a.index)), key(size_t(b.index)));
        if (c != 0)
            return c < 0;
        return names.at(a.index) < names.at(b.index);
    };
    // A million names take a while to sort: in runs sorted one by one, then merged pair by pair, with a
    // turn of the caller's event loop between two steps.
    const size_t run = turn ? kSortRun : std::max<size_t>(items.size(), 1);
    for (size_t from = 0; from < items.size(); from += run) {
        std::sort(items.begin() + ptrdiff_t(from), items.begin() + ptrdiff_t(std::min(items.size(), from + run)), before);
        if (turn)
            turn();
    }
    for (size_t width = run; width < items.size(); width *= 2) {
        for (size_t from = 0; from + width < items.size(); from += 2 * width) {
            const auto first = items.begin() + ptrdiff_t(from);
            std::inplace_merge(first, first + ptrdiff_t(width),
                               items.begin() + ptrdiff_t(std::min(items.size(), from + 2 * width)), before);
            if (turn)
                turn();
        }
    }
    std::vector<qsizetype> order;
    order.reserve(items.size());
    for (size_t n = 0; n < items.size(); ++n) {
        order.push_back(items[n].index);
        passed(n);
    }
    return order;
}

// Entries gathered in blocks of a fixed size and joined into one list at the end, with a turn of the
// caller between two blocks: a list that doubles its room while a million entries are read copies itself
// into fresh memory at once, which held up the window longer than anything else the scan did. The blocks
// have memory of their own, which goes back whole: in the heap they would leave holes between the names.
template <typename T>
class Gathered {
public:
    void append(T value)
    {
        if (m_blocks.empty() || m_blocks.back().size() == size_t(kGatheredBlock)) {
            m_blocks.emplace_back();
            m_blocks.back().reserve(size_t(kGatheredBlock));
        }
        m_blocks.back().push_back(std::move(value));
        ++m_size;
    }
    void moveInto(QList<T>& list, const std::function<void()>& turn)
    {
        list.reserve(m_size);
        for (Block& block : m_blocks) {
            std::move(block.begin(), block.end(), std::back_inserter(list));
            Block().swap(block);
            if (turn)
                turn();
        }
        m_blocks.clear();
    }

private:
    using Block = std::vector<T, PageAllocator<T>>;
    std::vector<Block> m_blocks;
    qsizetype m_size = 0;
};

void sortResult(ScanResult& result, const std::function<void()>& turn)
{
    std::vector<qsizetype> order = sortedOrder(result.names, turn);
    permute(result.inodes, order);
    if (turn)
        turn();
    result.names.reorder(std::move(order));
}

}  // namespace

bool isListableName(const QString& name)
{
    return !name.startsWith(QLatin1Char('.')) && !isSiblingTool(name);
}

void sortNames(NameColumn& names)
{
    names.reorder(sortedOrder(names));
}

QString withTrailingSeparator(const QString& path)
{
    if (path.endsWith(QLatin1Char('/')) || path.endsWith(QDir::separator()))
        return path;
    return path + QLatin1Char('/');
}

ScanResult scanDirectory(const QString& dirPath, const ListingOptions& options)
{
    return scanDirectory(DirectoryHandle(dirPath), options);
}

ScanResult scanDirectory(const DirectoryHandle& handle, const ListingOptions& options, const ScanProgress& progress)
{
    ScanResult result;
    qsizetype read = 0;
    auto goOn = [&] {
        if (!progress || progress(read))
            return true;
        result = ScanResult();
        result.leftOutAreFolders = !options.renameDirs;
        result.stopped = true;
        return false;
    };
    result.leftOutAreFolders = !options.renameDirs;
    DirectoryWalk walk(handle);
    if (!walk.isOpen())
        return result;
    using Kind = DirectoryWalk::Kind;
    result.device = handle.identity().device;
    Gathered<quint64> inodes;
    // A name longer than the list takes (longer than any file system allows) is shown as not listable.
    auto listed = [&](bool appended, const DirectoryWalk::Entry& entry) {
        if (appended)
            inodes.append(entry.inode);
        else
            result.unlistable.append(escapedName(entry.name.toByteArray()));
    };
    // A name that is not listed still occupies its name: the rename checks its targets against these.
    auto leftOut = [&](const DirectoryWalk::Entry& entry) {
        const QString name = isAscii(entry.name) ? QString::fromLatin1(entry.name) : QFile::decodeName(entry.name.toByteArray());
        if (name != QLatin1String(".") && name != QLatin1String(".."))
            result.otherNames.append(name);
    };
    while (const std::optional<DirectoryWalk::Entry> e = walk.next()) {
        if (++read % kScanProgressEntries == 0 && !goOn())
            return result;
        if (e->hidden) {
            leftOut(*e);
            continue;
        }
        bool isDir = e->kind == Kind::Directory;
        bool attributesRead = true;
        if (e->kind == Kind::Other) {
            leftOut(*e);
            continue;  // sockets, pipes, devices
        } else if (e->kind == Kind::Link || e->kind == Kind::Unknown) {
            if (const std::optional<Kind> target = walk.kindOf(e->name, true)) {
                if (*target != Kind::Directory && *target != Kind::File) {
                    leftOut(*e);
                    continue;
                }
                isDir = *target == Kind::Directory;
            } else if (walk.kindOf(e->name, false) == Kind::Link) {
                isDir = false;  // a dangling link is listed like a file
            } else if (e->kind != Kind::Link) {
                attributesRead = false;  // listed whatever the filter says
            }
        }
        if (attributesRead && !wanted(isDir, options)) {
            ++result.leftOutByOptions;
            leftOut(*e);
            continue;
        }
        // Most names are plain ASCII, which needs neither the locale's decoder nor the round trip below.
        if (isAscii(e->name)) {
            const QLatin1StringView name(e->name);
            if (breaksLine(name))
                result.unlistable.append(escapedName(e->name.toByteArray()));
            else if (isSiblingTool(name))
                result.otherNames.append(QString(name));
            else
                listed(result.names.appendLatin1(name), *e);
            continue;
        }
        const QByteArray bytes = e->name.toByteArray();
        const QString name = QFile::decodeName(bytes);
        if (QFile::encodeName(name) != bytes || breaksLine(name)) {
            // No line of the name text can name this entry exactly; renaming by a look-alike could hit
            // another file, and a name that breaks the line would shift every line after it.
            if (attributesRead)
                result.unlistable.append(escapedName(bytes));
            continue;
        }
        if (!isSiblingTool(name))
            listed(result.names.append(name), *e);
        else
            result.otherNames.append(name);
    }
    if (read >= kScanProgressEntries && !goOn())
        return result;
    std::function<void()> turn;
    if (read >= kScanProgressEntries && progress)
        turn = [&] { progress(read); };
    inodes.moveInto(result.inodes, turn);
    sortResult(result, turn);
    return result;
}

}  // namespace names
