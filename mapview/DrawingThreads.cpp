#include "DrawingThreads.h"

#include "document/NativeThread.h"

#include <QScopeGuard>
#include <QSemaphore>
#include <QThread>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// What a thread gets when its creator asks for nothing, as the pool's do.
std::size_t DefaultStackSize()
{
    pthread_attr_t attributes;
    std::size_t size = 0;
    if (pthread_attr_init(&attributes) == 0) {
        pthread_attr_getstacksize(&attributes, &size);
        pthread_attr_destroy(&attributes);
    }
    return size;
}

} // namespace

bool DrawingThreads::CanStart()
{
    // The pool's default size; each probe holds its thread until all ran.
    const int wanted = std::max(1, QThread::idealThreadCount());
    const std::size_t stackSize = DefaultStackSize();
    QSemaphore done;
    std::vector<std::unique_ptr<NativeThread>> probes;
    probes.reserve(std::size_t(wanted));
    // Let go of before they are joined, whatever happens meanwhile.
    const auto letGo = qScopeGuard([&] { done.release(int(probes.size())); });
    bool started = true;
    while (started && int(probes.size()) < wanted) {
        probes.push_back(std::make_unique<NativeThread>([&done] { done.acquire(); }, stackSize));
        started = probes.back()->Start();
    }
    return started;
}

QString DrawingThreads::Refusal(const QString& picture)
{
    if (CanStart())
        return {};
    return QStringLiteral("cannot draw %1: the system refused to start the threads drawing needs").arg(picture);
}
