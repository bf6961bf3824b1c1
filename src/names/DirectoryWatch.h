#pragma once
// Which names of a directory other programs created, removed or moved since
// a point in time, where the platform can tell.
//
// The scan reads every entry's inode; the rename needs it again for the
// journal and to recognise entries replaced meanwhile. Asking the directory
// once more costs a pass over all of it; a watch set before the scan names
// the few entries that need it.
#include "names/DirectoryHandle.h"

#include <QSet>
#include <QString>

#include <optional>

namespace names {

class DirectoryWatch {
public:
    DirectoryWatch() = default;
    ~DirectoryWatch();
    DirectoryWatch(const DirectoryWatch&) = delete;
    DirectoryWatch& operator=(const DirectoryWatch&) = delete;

    // Starts watching the directory held by `dir`; earlier changes are forgotten.
    void restart(const DirectoryHandle& dir);
    // The names created, removed or moved in the directory since restart(), case-folded (some file
    // systems ignore case). No value when that cannot be told: no watch on this platform or file
    // system, more changes than the system queues, the file system unmounted, or the watch stopped.
    std::optional<QSet<QString>> changedNames();
    // The same, then stops watching: a rename of our own would only fill the watch.
    std::optional<QSet<QString>> takeChangedNames();

    // Whether entry `name` may lead elsewhere than when the watch started, by what it saw (`changed`).
    static bool mayHaveChanged(const std::optional<QSet<QString>>& changed, QStringView name)
    {
        return !changed || (!changed->isEmpty() && changed->contains(name.toString().toCaseFolded()));
    }

private:
    void stop();
    int m_fd = -1;  // the watch, where the platform has one
    QSet<QString> m_changed;
};

}  // namespace names
