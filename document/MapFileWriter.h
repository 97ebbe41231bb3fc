#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

#include <sys/types.h>

// Writes a map file beside its path, on the disk, and renames it over the
// path, so an interrupted save never leaves a damaged map. The file beside
// is named after the writing machine and process
// (".office.vxnj.<host>.<pid>.vxtmp"): one left by a process of this
// machine that was killed is removed by the next save of that map, while a
// save still running, or one of another machine, is left alone.
class MapFileWriter {
public:
    // A new file gets newFileMode (less the umask); an existing one keeps
    // its mode. A link is followed to the file it names.
    static bool Write(const QString& path, const QByteArray& bytes, mode_t newFileMode, QString* error);
    // Writes what the producer writes into the descriptor of the file
    // beside; it returns false with a reason, or an empty one for errno's.
    using Producer = std::function<bool(int fd, QString& reason)>;
    static bool Write(const QString& path, const Producer& produce, mode_t newFileMode, QString* error);
    // Every byte to the descriptor, through short writes and interruptions.
    static bool WriteAll(int fd, const QByteArray& bytes);
    // Removes the files beside the path that dead processes left.
    static void SweepLeftovers(const QString& path);
    static QString BesideName(const QString& path, pid_t pid);
};
