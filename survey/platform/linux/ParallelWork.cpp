#include "ParallelWork.h"

#include <system_error>
#include <thread>
#include <vector>

void ParallelWork::Run(int threads, const std::function<void()>& work)
{
    std::vector<std::jthread> workers;
    for (int i = 0; i < threads; ++i) {
        try {
            workers.emplace_back(work);
        } catch (const std::system_error&) {
            break;
        }
    }
    if (workers.empty())
        work();
}
