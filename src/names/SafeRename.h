#pragma once
// Renaming one entry of a directory without ever replacing another one.
//
// The usual rename calls replace an existing target (a file, an empty
// directory, a dangling symbolic link), and some fall back to copying.
// Both have cost users files, so every rename of this program goes through
// here: it either moves the entry under the new name or leaves everything
// as it was and says why.
//
// The way differs per system and file system: SafeRename_posix.cpp and
// SafeRename_win.cpp hold the two implementations.
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
    // (file, directory, dangling symbolic link); EOPNOTSUPP when the file
    // system offers no way to rename this entry without risking another.
    virtual int rename(QStringView from, QStringView to) = 0;
    // The file system renamed on, for a refusal that names it; empty when not known.
    virtual QString fileSystemName() const { return {}; }
};

// The name under which users know a file system type as the system reports
// it: "fuse.fusefat" and "fuseblk" become "fusefat" and "FUSE".
QString fileSystemDisplayName(const QString& type);

class DirRenamer final : public Renamer {
public:
    // How a rename is carried out. Auto asks the file system for a rename
    // that refuses to replace, and only where the file system does not know
    // that request takes a way without it; the other two force such a way
    // so that it can be exercised on a file system that would not need it.
    enum class Strategy {
        Auto,
        WithoutFlag,         // as on a file system without the no-replace request (FUSE)
        WithoutFlagOrLinks,  // as on one that has no hard links either (FAT, exFAT through FUSE)
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
    int rename(QStringView from, QStringView to) override;

    // Removes `name` when it is one more name of the entry `identity` (a hard
    // link left by an interrupted rename), so that no data goes with it.
    // Returns 0, EEXIST when `name` is something else, or an errno value.
    int removeExtraName(const QString& name, const FileIdentity& identity);

    // The file system the directory lies on ("ext4", "fusefat", "NTFS").
    QString fileSystemName() const override;

    // Runs between the steps of the ways without the no-replace request, so
    // that tests can let another program act in between.
    void setStepHook(std::function<void()> hook) { m_stepHook = std::move(hook); }

private:
    struct Steps;  // the steps of one system's ways, defined beside its implementation

    void step() const
    {
        if (m_stepHook)
            m_stepHook();
    }

    QString m_dirPath;  // as opened (Windows: absolute, native separators, no trailing separator)
    int m_fd = -1;      // the held directory where the system renames relative to one
    int m_openError = 0;
    Strategy m_strategy;
    bool m_flagRefused = false;    // the file system refused the no-replace request once
    bool m_linksUnusable = false;  // its hard links cannot be told from other files
    std::function<void()> m_stepHook;
};

}  // namespace names
