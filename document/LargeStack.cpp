#include "LargeStack.h"

#include "NativeThread.h"

#include <exception>
#include <new>

namespace {

// Address space only; pages are committed as the recursion reaches them.
constexpr std::size_t kStackBytes = 1024u * 1024u * 1024u;

} // namespace

void runOnLargeStack(const std::function<void()>& work)
{
    std::exception_ptr failure;
    NativeThread thread(
        [&] {
            try {
                work();
            } catch (...) {
                failure = std::current_exception();
            }
        },
        kStackBytes);
    if (!thread.Start())
        throw std::bad_alloc();
    thread.Join();
    if (failure)
        std::rethrow_exception(failure);
}
