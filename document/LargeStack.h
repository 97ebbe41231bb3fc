#pragma once

#include <functional>

// Runs work on a helper thread with a stack deep enough for the archive's
// recursion over a large object graph, waits for it and rethrows whatever it
// threw. The caller blocks meanwhile, so the work may use the caller's objects.
void runOnLargeStack(const std::function<void()>& work);
