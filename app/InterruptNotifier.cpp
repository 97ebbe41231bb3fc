#include "InterruptNotifier.h"

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

int s_writeFd = -1;
// Interrupts received; the second ends the program at once, for a user
// who does not want to wait for a slow stop.
volatile sig_atomic_t s_interrupts = 0;
constexpr int kInterruptedExit = 130;
struct sigaction s_previousInt;
struct sigaction s_previousTerm;

} // namespace

InterruptNotifier::InterruptNotifier(QObject* parent)
    : QObject(parent)
{
    s_interrupts = 0;
    if (::pipe2(m_fds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    s_writeFd = m_fds[1];
    m_notifier = std::make_unique<QSocketNotifier>(m_fds[0], QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &InterruptNotifier::onReadable);
    struct sigaction action = {};
    action.sa_handler = &InterruptNotifier::handle;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &s_previousInt);
    sigaction(SIGTERM, &action, &s_previousTerm);
}

InterruptNotifier::~InterruptNotifier()
{
    if (m_fds[0] < 0)
        return;
    sigaction(SIGINT, &s_previousInt, nullptr);
    sigaction(SIGTERM, &s_previousTerm, nullptr);
    s_writeFd = -1;
    m_notifier.reset();
    ::close(m_fds[0]);
    ::close(m_fds[1]);
}

bool InterruptNotifier::Received() const
{
    return s_interrupts > 0;
}

void InterruptNotifier::handle(int)
{
    s_interrupts = s_interrupts + 1;
    if (s_interrupts > 1)
        ::_exit(kInterruptedExit);
    const char byte = 1;
    if (s_writeFd >= 0 && ::write(s_writeFd, &byte, 1) < 0) {
        // A full pipe already holds a pending interrupt.
    }
}

void InterruptNotifier::onReadable()
{
    char buffer[16];
    while (::read(m_fds[0], buffer, sizeof buffer) > 0) {
    }
    emit interrupted();
}
