#pragma once
// Entry names between the file system's bytes and text, with the shortcut that nearly every name
// takes: plain ASCII needs neither the locale's codec nor a copy on the heap, nor Unicode's case
// folding. The scan, the sort, the rename checks, the journal and the rename all go through here, at
// 100,000 names a time.
#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QLatin1StringView>
#include <QString>
#include <QStringView>

namespace names {

inline bool isAscii(QByteArrayView raw)
{
    for (char c : raw)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

inline bool isAscii(QStringView name)
{
    for (QChar c : name)
        if (c.unicode() >= 0x80)
            return false;
    return true;
}

// A-Z to a-z, every other character as it is: the case folding of ASCII.
constexpr char16_t foldAscii(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
}

// The text of an entry name in the file system's encoding.
inline QString decodedName(QByteArrayView raw)
{
    return isAscii(raw) ? QString(QLatin1StringView(raw)) : QFile::decodeName(raw.toByteArray());
}

// Whether the entry name `raw` is `name`, decoding only names beyond ASCII.
inline bool isNamed(QByteArrayView raw, QStringView name)
{
    if (isAscii(raw))
        return QLatin1StringView(raw) == name;
    return QFile::decodeName(raw.toByteArray()) == name;
}

// A name in the file system's encoding, zero-terminated for the system calls. ASCII names are copied
// into the object itself: a rename of 100,000 entries then allocates nothing per entry.
class EncodedName {
public:
    explicit EncodedName(QStringView name)
    {
        const qsizetype n = name.size();
        if (n < kInlineBytes && isAscii(name)) {
            for (qsizetype i = 0; i < n; ++i)
                m_inline[i] = char(name[i].unicode());
            m_inline[n] = '\0';
            m_data = m_inline;
            return;
        }
        m_heap = QFile::encodeName(name.toString());
        m_data = m_heap.constData();
    }
    EncodedName(const EncodedName&) = delete;
    EncodedName& operator=(const EncodedName&) = delete;
    const char* data() const { return m_data; }

private:
    static constexpr qsizetype kInlineBytes = 512;
    char m_inline[kInlineBytes];
    QByteArray m_heap;
    const char* m_data = nullptr;
};

}  // namespace names
