#include "names/DirectoryScan.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <numeric>
#include <vector>

#ifndef _WIN32
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace names {
namespace {

bool isSiblingTool(const QString& name)
{
    return name.compare(QStringLiteral("PELDRA.EXE"), Qt::CaseInsensitive) == 0;
}

bool wanted(bool isDir, const ListingOptions& o)
{
    if (!o.renameDirs)
        return !isDir;
    if (o.onlyDirs)
        return isDir;
    return true;
}

bool breaksLine(const QString& name)
{
    return name.contains(QLatin1Char('\r')) || name.contains(QLatin1Char('\n')) || name.contains(QChar::ParagraphSeparator);
}

QString escapedName(const QByteArray& raw)
{
    QString shown;
    for (unsigned char c : raw) {
        if (c >= 0x20 && c < 0x7f)
            shown += QLatin1Char(char(c));
        else
            shown += QStringLiteral("\\x%1").arg(c, 2, 16, QLatin1Char('0'));
    }
    return shown;
}

// The sorted order of `names`: case-insensitive, ties broken case-sensitively.
std::vector<qsizetype> sortedOrder(const QStringList& names)
{
    // Fold once, then sort by the folded key; QStringList::sort would order case-sensitively. ASCII names
    // (most of them) are folded into one shared buffer rather than a string each. Both stores are reserved
    // in full, so that the views into them stay valid.
    qsizetype totalLength = 0;
    for (const QString& name : names)
        totalLength += name.size();
    std::vector<char16_t> asciiFolded;
    asciiFolded.reserve(size_t(totalLength));
    std::vector<QString> otherFolded;
    otherFolded.reserve(size_t(names.size()));
    std::vector<QStringView> keys;
    keys.reserve(size_t(names.size()));
    for (const QString& name : names) {
        if (!std::all_of(name.cbegin(), name.cend(), [](QChar c) { return c.unicode() < 0x80; })) {
            otherFolded.push_back(name.toCaseFolded());
            keys.emplace_back(otherFolded.back());
            continue;
        }
        const size_t start = asciiFolded.size();
        for (QChar c : name) {
            const char16_t u = c.unicode();
            asciiFolded.push_back(u >= u'A' && u <= u'Z' ? char16_t(u + (u'a' - u'A')) : u);
        }
        keys.emplace_back(asciiFolded.data() + start, name.size());
    }

    // Names of one folder tend to share their start ("track_0..."). The few characters after the part
    // that all share decide most comparisons; packed into one number they decide them without reading
    // the strings, which at 100,000 names would cost more than the listing itself.
    qsizetype common = keys.empty() ? 0 : keys.front().size();
    for (QStringView k : keys) {
        common = std::min(common, k.size());
        for (qsizetype i = 0; i < common; ++i) {
            if (k[i] != keys.front()[i]) {
                common = i;
                break;
            }
        }
    }
    bool narrow = true;  // the next eight characters of every key fit in a byte each
    for (QStringView k : keys)
        for (qsizetype i = common; narrow && i < std::min(common + 8, k.size()); ++i)
            narrow = k[i].unicode() < 0x100;
    const int packed = narrow ? 8 : 4;
    const int bits = narrow ? 8 : 16;
    struct Item {
        quint64 prefix;
        qsizetype index;
    };
    std::vector<Item> items(keys.size());
    for (size_t n = 0; n < keys.size(); ++n) {
        quint64 prefix = 0;
        for (int i = 0; i < packed; ++i) {
            const qsizetype pos = common + i;
            // A shorter key sorts first, as if padded with the lowest character.
            prefix = (prefix << bits) | (pos < keys[n].size() ? keys[n][pos].unicode() : 0u);
        }
        items[n] = {prefix, qsizetype(n)};
    }
    std::sort(items.begin(), items.end(), [&](const Item& a, const Item& b) {
        if (a.prefix != b.prefix)
            return a.prefix < b.prefix;
        const int c = keys[size_t(a.index)].compare(keys[size_t(b.index)]);
        if (c != 0)
            return c < 0;
        return names.at(a.index) < names.at(b.index);
    });
    std::vector<qsizetype> order(items.size());
    for (size_t n = 0; n < items.size(); ++n)
        order[n] = items[n].index;
    return order;
}

void sortResult(ScanResult& result)
{
    const std::vector<qsizetype> order = sortedOrder(result.names);
    QStringList names;
    QList<FileIdentity> identities;
    names.reserve(result.names.size());
    identities.reserve(result.names.size());
    for (qsizetype i : order) {
        names.append(result.names.at(i));
        identities.append(result.identities.at(i));
    }
    result.names.swap(names);
    result.identities.swap(identities);
}

#ifndef _WIN32

bool isAscii(const char* raw, size_t& length)
{
    size_t i = 0;
    bool ascii = true;
    for (; raw[i]; ++i)
        ascii = ascii && static_cast<unsigned char>(raw[i]) < 0x80;
    length = i;
    return ascii;
}

#endif

}  // namespace

bool isListableName(const QString& name)
{
    return !name.startsWith(QLatin1Char('.')) && !isSiblingTool(name);
}

void sortNames(QStringList& names)
{
    const std::vector<qsizetype> order = sortedOrder(names);
    QStringList sorted;
    sorted.reserve(names.size());
    for (qsizetype i : order)
        sorted.append(names.at(i));
    names.swap(sorted);
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

ScanResult scanDirectory(const DirectoryHandle& handle, const ListingOptions& options)
{
    ScanResult result;
    result.leftOutAreFolders = !options.renameDirs;
    if (!handle.isOpen())
        return result;
#ifndef _WIN32
    // A descriptor of its own, so that the listing starts at the beginning and closing it leaves the handle open.
    const int dirFd = ::openat(handle.fd(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0)
        return result;
    DIR* dir = ::fdopendir(dirFd);
    if (!dir) {
        ::close(dirFd);
        return result;
    }
    const quint64 device = handle.identity().device;
    auto add = [&](const QString& name, ino_t inode) {
        result.names.append(name);
        result.identities.append({device, quint64(inode)});
    };
    while (dirent* e = ::readdir(dir)) {
        const char* raw = e->d_name;
        if (raw[0] == '.')
            continue;  // ".", ".." and hidden entries
        unsigned char type = e->d_type;
        bool isDir = false;
        bool attributesRead = true;
        if (type == DT_DIR) {
            isDir = true;
        } else if (type == DT_REG) {
            isDir = false;
        } else if (type == DT_LNK || type == DT_UNKNOWN) {
            struct stat st {};
            if (::fstatat(dirFd, raw, &st, 0) == 0) {
                if (!S_ISDIR(st.st_mode) && !S_ISREG(st.st_mode))
                    continue;
                isDir = S_ISDIR(st.st_mode);
            } else if (::fstatat(dirFd, raw, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode)) {
                isDir = false;  // a dangling link is listed like a file
            } else if (type != DT_LNK) {
                attributesRead = false;  // listed whatever the filter says
            }
        } else {
            continue;  // sockets, pipes, devices
        }
        if (attributesRead && !wanted(isDir, options)) {
            ++result.leftOutByOptions;
            continue;
        }
        // Most names are plain ASCII, which needs neither the locale's decoder nor the round trip below.
        size_t length = 0;
        if (isAscii(raw, length)) {
            const QString name = QString::fromLatin1(raw, qsizetype(length));
            if (breaksLine(name))
                result.unlistable.append(escapedName(QByteArray(raw, qsizetype(length))));
            else if (!isSiblingTool(name))
                add(name, e->d_ino);
            continue;
        }
        const QByteArray bytes(raw, qsizetype(length));
        const QString name = QFile::decodeName(bytes);
        if (QFile::encodeName(name) != bytes || breaksLine(name)) {
            // No line of the name text can name this entry exactly; renaming by a look-alike could hit
            // another file, and a name that breaks the line would shift every line after it.
            if (attributesRead)
                result.unlistable.append(escapedName(bytes));
            continue;
        }
        if (!isSiblingTool(name))
            add(name, e->d_ino);
    }
    ::closedir(dir);
#else
    QDir dir(handle.path());
    const auto entries = dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, QDir::NoSort);
    for (const QFileInfo& fi : entries) {
        if (fi.isHidden() || isSiblingTool(fi.fileName()))
            continue;
        if (wanted(fi.isDir(), options)) {
            result.names.append(fi.fileName());
            result.identities.append(handle.entryIdentity(fi.fileName()));
        } else {
            ++result.leftOutByOptions;
        }
    }
#endif
    sortResult(result);
    return result;
}

}  // namespace names
