#pragma once

#include <functional>

#include <cstddef>

// Runs work on a helper thread with a stack deep enough for the archive's
// recursion over a large object graph, waits for it and rethrows whatever it
// threw. The caller blocks meanwhile, so the work may use the caller's objects.
// Under a limit on the address space the stack is made smaller, down to a
// floor; std::bad_alloc when not even that can be had.
void runOnLargeStack(const std::function<void()>& work);

// The stack the calling thread got from runOnLargeStack; 0 on other threads.
std::size_t largeStackBytes();
// The stack a recursion of that many archive levels was sized for.
constexpr std::size_t kLargeStackBytesPerLevel = 10u * 1024u;
