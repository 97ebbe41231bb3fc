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
    probes.reserve(std::size_t(wanted));
    // A probe still running when its QThread is destroyed would end the
    // program: every one is let go of and waited for, whatever happens.
    const auto finish = [&] {
        done.release(int(probes.size()));
        for (const std::unique_ptr<QThread>& probe : probes)
            probe->wait();
    };
    bool started = true;
    try {
        while (started && int(probes.size()) < wanted) {
            probes.emplace_back(QThread::create([&done] { done.acquire(); }));
            probes.back()->start();
            started = probes.back()->isRunning() || probes.back()->isFinished();
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
    return started;
}
