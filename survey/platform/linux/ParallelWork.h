#pragma once

#include <functional>

// Runs one piece of work on several threads at once and waits for all of
// them. Where the system refuses more threads, the threads already running
// (or, with none, the calling thread) do the rest: the work must take its
// items from a shared counter.
class ParallelWork {
public:
    static void Run(int threads, const std::function<void()>& work);
};
