#pragma once

#include <QString>

#include <sys/types.h>

// Edit snapshots are whole copies of a map, its WMI password included. They
// live in a directory only this user can enter: "varnex-snapshots" in the
// session's runtime directory, else "varnex/snapshots" in the user's cache.
// Each file carries the machine and the process that wrote it, so a later
// start removes what killed processes left.
class SnapshotDirectory {
public:
    // The directory, created 0700 when missing; empty when neither place is
    // the user's own (a link, another owner, not a directory).
    static QString Path();
    // A template for QTemporaryFile in the directory, for this process.
    static QString FileTemplate(const QString& directory);
    static QString FileTemplate(const QString& directory, pid_t pid);
    // Removes the snapshots of this machine's dead processes.
    static void RemoveLeftovers();

private:
    static QString UsableDirectory(const QString& path);
};
