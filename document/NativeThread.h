#pragma once

#include <pthread.h>

#include <cstddef>
#include <functional>

// A thread of the operating system with a stack size of our choosing, joined
// before it is destroyed. Started explicitly, so that threads can be made
// first and started later one by one.
class NativeThread {
public:
    NativeThread(std::function<void()> body, std::size_t stackSize);
    ~NativeThread();

    NativeThread(const NativeThread&) = delete;
    NativeThread& operator=(const NativeThread&) = delete;

    // False when the system could not create the thread.
    bool Start();
    // Waits for the body to return; nothing when the thread never started.
    void Join();
    bool Started() const { return m_bStarted; }

private:
    static void* Entry(void* self);

    std::function<void()> m_body;
    std::size_t m_nStackSize;
    pthread_t m_thread{};
    bool m_bStarted = false;
    bool m_bJoined = false;
};
