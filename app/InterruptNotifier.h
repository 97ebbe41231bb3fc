#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <memory>

// Turns Ctrl+C (SIGINT) and SIGTERM into a Qt signal on the thread that
// created it, so a command can stop its work cleanly. One at a time; the
// previous handlers come back when it is destroyed.
class InterruptNotifier : public QObject {
    Q_OBJECT

public:
    explicit InterruptNotifier(QObject* parent = nullptr);
    ~InterruptNotifier() override;

    // Whether an interrupt came since this notifier was made, seen by the
    // event loop yet or not: work done outside it checks here.
    bool Received() const;

signals:
    void interrupted();

private:
    static void handle(int signal);
    void onReadable();

    int m_fds[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> m_notifier;
};
