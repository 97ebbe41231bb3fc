#include "LargeStack.h"

#include "NativeThread.h"

#include <exception>
#include <new>

namespace {

// Address space only; pages are committed as the recursion reaches them.
constexpr std::size_t kStackBytes = 1024u * 1024u * 1024u;
// Below this the archive could not nest deep enough for a real map.
constexpr std::size_t kFloorBytes = 16u * 1024u * 1024u;

thread_local std::size_t t_stackBytes = 0;

} // namespace

std::size_t largeStackBytes()
{
    return t_stackBytes;
}

void runOnLargeStack(const std::function<void()>& work)
{
    for (std::size_t bytes = kStackBytes; bytes >= kFloorBytes; bytes /= 4) {
        std::exception_ptr failure;
        NativeThread thread(
            [&] {
                t_stackBytes = bytes;
                try {
                    work();
                } catch (...) {
                    failure = std::current_exception();
                }
            },
            bytes);
        if (!thread.Start())
            continue;
        thread.Join();
        if (failure)
            std::rethrow_exception(failure);
        return;
    }
    throw std::bad_alloc();
}
