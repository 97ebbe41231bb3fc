#include "HelperProcess.h"

#include "survey/platform/linux/UniqueFd.h"

#include <QElapsedTimer>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <semaphore>

extern char** environ;

namespace {

// Kills and reaps the child unless it has been reaped already.
class Child {
public:
    explicit Child(pid_t pid) : m_pid(pid) {}
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    ~Child()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            Reap();
        }
    }
    void Kill() { ::kill(m_pid, SIGKILL); }
    int Reap()
    {
        int status = 0;
        while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
        }
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t m_pid;
};

std::counting_semaphore<HelperProcess::kMaxRunning> g_running{HelperProcess::kMaxRunning};

// Holds one of the places for running helpers for the life of a run.
class Place {
public:
    Place() { g_running.acquire(); }
    ~Place() { g_running.release(); }
    Place(const Place&) = delete;
    Place& operator=(const Place&) = delete;
};

class FileActions {
public:
    FileActions() { posix_spawn_file_actions_init(&m_actions); }
    ~FileActions() { posix_spawn_file_actions_destroy(&m_actions); }
    FileActions(const FileActions&) = delete;
    FileActions& operator=(const FileActions&) = delete;
    posix_spawn_file_actions_t* get() { return &m_actions; }

private:
    posix_spawn_file_actions_t m_actions;
};

} // namespace

HelperProcess::Outcome HelperProcess::Run(const QString& program, const QByteArray& input, int deadlineMs,
                                          qsizetype maxOutput)
{
    Outcome outcome;
    // A socket pair for the input: a helper that exits early must not
    // raise SIGPIPE in the survey.
    int inputPair[2];
    int outputPipe[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, inputPair) != 0)
        return outcome;
    UniqueFd inputParent(inputPair[0]);
    UniqueFd inputChild(inputPair[1]);
    if (::pipe2(outputPipe, O_CLOEXEC) != 0)
        return outcome;
    UniqueFd outputParent(outputPipe[0]);
    UniqueFd outputChild(outputPipe[1]);
    FileActions actions;
    posix_spawn_file_actions_adddup2(actions.get(), inputChild.get(), STDIN_FILENO);
    posix_spawn_file_actions_adddup2(actions.get(), outputChild.get(), STDOUT_FILENO);
    posix_spawn_file_actions_addopen(actions.get(), STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    // Descriptors other threads opened without close-on-exec (libraries'
    // sockets) stay out of a process that may hold a password.
    posix_spawn_file_actions_addclosefrom_np(actions.get(), STDERR_FILENO + 1);
    const Place place;
    const QByteArray path = program.toLocal8Bit();
    char* const argv[] = {const_cast<char*>(path.constData()), nullptr};
    pid_t pid = -1;
    if (posix_spawn(&pid, path.constData(), actions.get(), nullptr, argv, environ) != 0)
        return outcome;
    Child child(pid);
    outcome.started = true;
    inputChild.reset();
    outputChild.reset();
    ::send(inputParent.get(), input.constData(), size_t(input.size()), MSG_NOSIGNAL | MSG_DONTWAIT);
    inputParent.reset();

    QElapsedTimer clock;
    clock.start();
    char buffer[16384];
    for (;;) {
        const qint64 left = deadlineMs - clock.elapsed();
        if (left <= 0 || outcome.output.size() > maxOutput) {
            outcome.killed = true;
            child.Kill();
            break;
        }
        pollfd pfd{outputParent.get(), POLLIN, 0};
        if (::poll(&pfd, 1, int(left)) <= 0)
            continue;
        const ssize_t n = ::read(outputParent.get(), buffer, sizeof buffer);
        if (n <= 0)
            break; // the helper closed its output: it is done
        outcome.output.append(buffer, qsizetype(n));
    }
    outcome.exitCode = child.Reap();
    if (outcome.output.size() > maxOutput)
        outcome.output.truncate(maxOutput);
    return outcome;
}
