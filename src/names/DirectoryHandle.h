#pragma once
// The directory being worked on, held open from the scan to the rename.
//
// Between the scan and the rename the directory may be moved away and
// another one put at its path; renaming through the held directory, and
// asking whether the path still leads to it, keeps the rename on the
// entries the user saw.
#include <QString>

#include <QtGlobal>

#include <cerrno>
#include <cstdint>

namespace names {

// Device and inode (volume and file index on Windows): what a name points at.
// A file system may give a freed inode number to the next new file at once;
// the birth time, where known, tells the two apart.
struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 birth = 0;  // nanoseconds since the epoch; 0 when not known
    bool isValid() const { return inode != 0; }
    bool operator==(const FileIdentity& other) const
    {
        return device == other.device && inode == other.inode
            && (birth == 0 || other.birth == 0 || birth == other.birth);
    }
};

class DirectoryHandle {
public:
    DirectoryHandle() = default;
    explicit DirectoryHandle(const QString& path);
    ~DirectoryHandle();
    DirectoryHandle(DirectoryHandle&& other) noexcept;
    DirectoryHandle& operator=(DirectoryHandle&& other) noexcept;
    DirectoryHandle(const DirectoryHandle&) = delete;
    DirectoryHandle& operator=(const DirectoryHandle&) = delete;

    bool isOpen() const;
    int openError() const { return m_openError; }  // errno value when not open
    QString path() const { return m_path; }        // as opened
    FileIdentity identity() const { return m_identity; }

    // True while `path` names this very directory (symbolic links followed).
    bool isAt(const QString& path) const;

    // The identity of entry `name` itself (a symbolic link is not followed); invalid when it is missing.
    FileIdentity entryIdentity(const QString& name) const;

    // The platform's handle: a descriptor on POSIX systems, a HANDLE opened with backup semantics on
    // Windows; kNoHandle while not open.
    static constexpr std::intptr_t kNoHandle = -1;
    std::intptr_t nativeHandle() const { return m_native; }
    int fd() const { return int(m_native); }  // POSIX systems

private:
    void close();

    QString m_path;
    FileIdentity m_identity;
    int m_openError = ENOENT;
    std::intptr_t m_native = kNoHandle;
};

// The identity of `path` (symbolic links followed); invalid when it cannot be read.
FileIdentity identityOfPath(const QString& path);

}  // namespace names
