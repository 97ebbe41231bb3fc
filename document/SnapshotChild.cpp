#include "SnapshotChild.h"

#include <cerrno>
#include <csignal>

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
    const pid_t pid = ::fork();
    if (pid < 0)
        return nullptr;
    if (pid == 0) {
        // Nothing outlives the program: a child whose parent died ends too.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(1);
        // The parent's handlers talk to its event loop; a stop ends the copy.
        ::signal(SIGINT, SIG_DFL);
        ::signal(SIGTERM, SIG_DFL);
        bool succeeded = false;
        try {
            succeeded = work();
        } catch (...) {
            succeeded = false;
        }
        ::_exit(succeeded ? 0 : 1);
    }
    return std::unique_ptr<SnapshotChild>(new SnapshotChild(pid));
#endif
}

SnapshotChild::~SnapshotChild()
{
    Wait();
}

bool SnapshotChild::Wait()
{
    if (m_pid < 0)
        return m_bSucceeded;
    int status = 0;
    pid_t ended = -1;
    while ((ended = ::waitpid(m_pid, &status, 0)) < 0 && errno == EINTR) {
    }
    m_bSucceeded = ended == m_pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    m_pid = -1;
    return m_bSucceeded;
}
