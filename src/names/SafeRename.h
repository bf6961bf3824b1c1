#pragma once
// Renaming one entry of a directory without ever replacing another one.
//
// The usual rename calls replace an existing target (a file, an empty
// directory, a dangling symbolic link), and some fall back to copying.
// Both have cost users files, so every rename of this program goes through
// here: it either moves the entry under the new name or leaves everything
// as it was and says why.
#include "names/DirectoryHandle.h"
#include "names/TemporaryName.h"

#include <QString>

#include <functional>

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
    // that request takes the way without it; the other two force that way
    // so that it can be exercised on a file system that would not need it.
    enum class Strategy {
        Auto,
        WithoutFlag,         // as on a file system without the no-replace request
        WithoutFlagOrLinks,  // as on one that has no hard links either
    };

    // Opens `dirPath`; entries are addressed relative to that handle, so a
    // later change of the process's current directory cannot redirect them.
    explicit DirRenamer(const QString& dirPath, Strategy strategy = Strategy::Auto);
    // Renames inside the directory held by `dir`, wherever its path leads by now.
    explicit DirRenamer(const DirectoryHandle& dir, Strategy strategy = Strategy::Auto);
    ~DirRenamer() override;
    DirRenamer(const DirRenamer&) = delete;
    DirRenamer& operator=(const DirRenamer&) = delete;

    bool isOpen() const;
    int rename(const QString& from, const QString& to) override;

    // Removes `name` when it is one more name of the entry `identity` (a hard
    // link left by an interrupted rename), so that no data goes with it.
    // Returns 0, EEXIST when `name` is something else, or an errno value.
    int removeExtraName(const QString& name, const FileIdentity& identity);

    // Runs between the steps of the way without the no-replace request, so
    // that tests can let another program act in between.
    void setStepHook(std::function<void()> hook) { m_stepHook = std::move(hook); }

private:
#ifndef _WIN32
    int renameWithoutFlag(const QByteArray& from, const QByteArray& to);
    int renameFileByLinks(const QByteArray& from, const QByteArray& to);
    int renameDirectory(const QByteArray& from, const QByteArray& to, const FileIdentity& identity);
    int moveToOwnName(const QByteArray& name, const QByteArray& ownName);
    void putBack(const QByteArray& ownName, const QByteArray& name);
    bool dropOwnName(const QByteArray& ownName, const FileIdentity& identity);
#endif
    void step() const
    {
        if (m_stepHook)
            m_stepHook();
    }

#ifdef _WIN32
    QString m_dir;  // native separators, no trailing separator
#else
    int m_fd = -1;
#endif
    int m_openError = 0;
    Strategy m_strategy;
    bool m_flagRefused = false;  // the file system refused the no-replace request once
    std::function<void()> m_stepHook;
};

}  // namespace names
