#include "LargeStack.h"

#include <QThread>

#include <exception>
#include <memory>

namespace {

// Address space only; pages are committed as the recursion reaches them.
constexpr uint kStackBytes = 1024u * 1024u * 1024u;

} // namespace

void runOnLargeStack(const std::function<void()>& work)
{
    std::exception_ptr failure;
    std::unique_ptr<QThread> thread(QThread::create([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
    }));
    thread->setStackSize(kStackBytes);
    thread->start();
    thread->wait();
    if (failure)
        std::rethrow_exception(failure);
}
