#pragma once
// Renaming one entry of a directory without ever replacing another one.
//
// The usual rename calls replace an existing target (a file, an empty
// directory, a dangling symbolic link), and some fall back to copying.
// Both have cost users files, so every rename of this program goes through
// here: it either moves the entry under the new name or leaves everything
// as it was and says why.
#include <QString>

namespace names {

class Renamer {
public:
    virtual ~Renamer() = default;
    // Renames entry `from` to `to` (bare names inside one directory).
    // Returns 0 or an errno value; EEXIST when `to` exists in any form
    // (file, directory, dangling symbolic link).
    virtual int rename(const QString& from, const QString& to) = 0;
};

class DirRenamer final : public Renamer {
public:
    // How a rename is carried out. Auto asks the file system for a rename
    // that refuses to replace, and only where the file system does not know
    // that request uses the slower ways; the other two force a slower way
    // so that it can be exercised on a file system that would not need it.
    enum class Strategy {
        Auto,
        LinkThenUnlink,   // hard link under the new name, then drop the old name;
                          // entries that cannot be linked take the placeholder way
        Placeholder,      // claim the new name with an empty file or directory,
                          // then rename over that claim
    };

    // Opens `dirPath`; entries are addressed relative to that handle, so a
    // later change of the process's current directory cannot redirect them.
    explicit DirRenamer(const QString& dirPath, Strategy strategy = Strategy::Auto);
    ~DirRenamer() override;
    DirRenamer(const DirRenamer&) = delete;
    DirRenamer& operator=(const DirRenamer&) = delete;

    bool isOpen() const;
    int rename(const QString& from, const QString& to) override;

private:
    int renameWithoutFlag(const QByteArray& from, const QByteArray& to);
    int renameOverPlaceholder(const QByteArray& from, const QByteArray& to, bool isDir);

#ifdef _WIN32
    QString m_dir;  // native separators, no trailing separator
#else
    int m_fd = -1;
#endif
    int m_openError = 0;
    Strategy m_strategy;
    bool m_flagRefused = false;  // the file system refused the no-replace request once
};

// Short German reason for an errno value returned by Renamer::rename.
QString describeError(int err);

}  // namespace names
