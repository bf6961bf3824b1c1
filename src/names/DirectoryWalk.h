#pragma once
// One pass over the entries of a held directory, in the order the file system gives them: the scan
// and the rename journal list a directory through here only.
#include "names/DirectoryHandle.h"

#include <QByteArrayView>

#include <memory>
#include <optional>

namespace names {

class DirectoryWalk {
public:
    enum class Kind { File, Directory, Link, Other, Unknown };
    struct Entry {
        QByteArrayView name;  // in the file system's encoding (QFile::encodeName); valid until the next call
        quint64 inode = 0;
        Kind kind = Kind::Unknown;  // as the listing tells it; Link and Unknown may be resolved with kindOf
        bool hidden = false;        // a name beginning with "." or, where there is one, the hidden attribute
    };

    // Starts at the first entry, whatever earlier walks of the same handle read; "." and ".." are left out.
    explicit DirectoryWalk(const DirectoryHandle& dir);
    ~DirectoryWalk();
    DirectoryWalk(const DirectoryWalk&) = delete;
    DirectoryWalk& operator=(const DirectoryWalk&) = delete;

    bool isOpen() const;
    std::optional<Entry> next();
    // The kind of entry `name`, following a symbolic link or not; nothing when it cannot be read.
    std::optional<Kind> kindOf(QByteArrayView name, bool followLinks) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace names
