#pragma once
// Whether the program may update itself: only from a folder of the user's own, and never as root. Where
// the system's package manager installed it, updates come from there.
#include <QString>

#include <optional>

namespace web {

struct ProgramFolderFacts {
    QString folder;                   // the program's folder, symbolic links resolved
    bool hasUsers = false;            // the platform gives processes and folders a user id (POSIX)
    unsigned effectiveUser = 0;       // the ids the program runs as
    unsigned realUser = 0;
    std::optional<unsigned> owner;    // the folder's owner; none when the folder cannot be read
    bool writable = false;            // the effective user may create files in the folder
};

enum class UpdateRefusal {
    None,
    RunningAsRoot,   // a downloaded file would run with every right on the system
    NotUsersFolder,  // owned by someone else, not writable, or a system folder: the package manager's
};

UpdateRefusal updateRefusal(const ProgramFolderFacts& facts);

// The facts of this process and `folder`, read from the platform.
ProgramFolderFacts programFolderFacts(const QString& folder);

}  // namespace web
