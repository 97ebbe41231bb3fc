#pragma once

#include <QString>

#include <sys/types.h>

// Files a process leaves beside its work carry the machine's name and the
// process number, so a later process can tell a dead writer's leftovers from
// a running one's, also in a folder other machines share.
class ProcessTag {
public:
    static QString ThisMachine();
    static bool IsGone(pid_t pid);
    // Removes the file only when it is a regular file of this user: never
    // through a link, never another user's file.
    static void RemoveOwnFile(const QString& path);
};
