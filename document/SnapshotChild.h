#pragma once

#include <chrono>
#include <functional>
#include <memory>

#include <sys/types.h>

// A copy of this process, made with fork(), that does one piece of work on
// the memory as it was at that moment and ends: an undo snapshot of a large
// map is serialised and written there while the interface goes on. The
// work may touch only the document, memory and plain system calls, and
// start threads (glibc allows both after fork), but no Qt event machinery
// and no lock another thread may have held; the child ends with _exit so
// that nothing of the parent's is torn down twice. Start it from the
// interface thread: the child dies with the thread that made it.
class SnapshotChild {
public:
    // The started child, or null when none could be made: the caller then
    // does the work itself.
    static std::unique_ptr<SnapshotChild> Start(const std::function<bool()>& work);
    ~SnapshotChild();
    SnapshotChild(const SnapshotChild&) = delete;
    SnapshotChild& operator=(const SnapshotChild&) = delete;

    // Far beyond what the largest map takes; and how often a wait looks.
    static constexpr std::chrono::milliseconds kDeadline{60000};
    static constexpr std::chrono::milliseconds kPollInterval{1};

    // Waits for the child to end: true when its work succeeded. A child
    // still running at the deadline is killed, and has failed.
    bool Wait(std::chrono::milliseconds deadline = kDeadline);

private:
    explicit SnapshotChild(pid_t pid) : m_pid(pid) {}
    // False when the child is still running at the deadline (or is not ours).
    bool EndsWithin(std::chrono::milliseconds deadline, int& status) const;

    pid_t m_pid = -1;
    bool m_bSucceeded = false;
};
