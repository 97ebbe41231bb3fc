#include "DrawingThreads.h"

#include <QSemaphore>
#include <QThread>

#include <algorithm>
#include <memory>
#include <vector>

bool DrawingThreads::CanStart()
{
    // The pool's default size; each probe holds its thread until all ran.
    const int wanted = std::max(1, QThread::idealThreadCount());
    QSemaphore done;
    std::vector<std::unique_ptr<QThread>> probes;
    bool started = true;
    while (started && int(probes.size()) < wanted) {
        probes.emplace_back(QThread::create([&done] { done.acquire(); }));
        probes.back()->start();
        started = probes.back()->isRunning() || probes.back()->isFinished();
    }
    done.release(int(probes.size()));
    for (const std::unique_ptr<QThread>& probe : probes)
        probe->wait();
    return started;
}
