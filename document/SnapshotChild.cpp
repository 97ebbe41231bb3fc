#include "SnapshotChild.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <thread>

#include <pthread.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

std::unique_ptr<SnapshotChild> SnapshotChild::Start(const std::function<bool()>& work)
{
#if defined(__SANITIZE_THREAD__)
    // The thread sanitizer cannot follow a process with threads into fork().
    return nullptr;
#else
    const pid_t parent = ::getpid();
    // No signal may run the parent's handlers in the copy, which would tell
    // the parent's event loop of a stop it never got.
    sigset_t all;
    sigset_t previous;
    ::sigfillset(&all);
    ::pthread_sigmask(SIG_SETMASK, &all, &previous);
    const pid_t pid = ::fork();
    if (pid != 0) {
        ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
        return pid < 0 ? nullptr : std::unique_ptr<SnapshotChild>(new SnapshotChild(pid));
    }
    // The copy ends with the thread that made it (the interface thread,
    // which lives as long as the program), and a stop meant for the
    // parent's process group is the parent's to handle (it waits for the copy).
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    ::signal(SIGINT, SIG_IGN);
    ::signal(SIGTERM, SIG_IGN);
    ::signal(SIGHUP, SIG_IGN);
    ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    if (::getppid() != parent)
        ::_exit(1);
    // Pipes and sockets of the parent's (a survey helper's output among
    // them) must not stay open in the copy and delay their end of file.
    ::closefrom(STDERR_FILENO + 1);
    bool succeeded = false;
    try {
        succeeded = work();
    } catch (...) {
        succeeded = false;
    }
    ::_exit(succeeded ? 0 : 1);
#endif
}

SnapshotChild::~SnapshotChild()
{
    Wait();
}

bool SnapshotChild::Wait(std::chrono::milliseconds deadline)
{
    if (m_pid < 0)
        return m_bSucceeded;
    // A copy that never ends (stuck on a lock some thread held when it was
    // made) must not freeze the program: past the deadline it is killed and
    // its work counts as failed.
    int status = 0;
    const bool ended = EndsWithin(deadline, status);
    if (!ended) {
        ::kill(m_pid, SIGKILL);
        while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    m_bSucceeded = ended && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    m_pid = -1;
    return m_bSucceeded;
}

bool SnapshotChild::EndsWithin(std::chrono::milliseconds deadline, int& status) const
{
    const auto until = std::chrono::steady_clock::now() + deadline;
    for (;;) {
        const pid_t ended = ::waitpid(m_pid, &status, WNOHANG);
        if (ended == m_pid)
            return true;
        if (ended < 0 && errno != EINTR) {
            // Reaped elsewhere: gone, with nothing to tell of its work (and
            // its pid, free again, must not be killed).
            status = -1;
            return true;
        }
        if (std::chrono::steady_clock::now() >= until)
            return false;
        std::this_thread::sleep_for(kPollInterval);
    }
}
