#include "RayBatch.h"

#include <atomic>
#include <chrono>
#include <ctime>

namespace bench
{
namespace
{
constexpr size_t kRaysPerTake = 4096;

struct SBatchJob
{
    size_t rays;
    const RayQuery* query;
    uint32_t* answers;
    std::atomic<size_t> next{0};
    std::atomic<int64_t> cpuNanoseconds{0};
};

int64_t ThreadCpuNanoseconds()
{
    timespec now = {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

void RunRays(void* context, uint32_t)
{
    SBatchJob& job = *static_cast<SBatchJob*>(context);
    const int64_t start = ThreadCpuNanoseconds();
    for (;;)
    {
        const size_t first = job.next.fetch_add(kRaysPerTake);
        if (first >= job.rays)
        {
            job.cpuNanoseconds += ThreadCpuNanoseconds() - start;
            return;
        }
        (*job.query)(first, std::min(first + kRaysPerTake, job.rays), job.answers + first);
    }
}
}

double RunBatch(quellbeam::CWorkerPool& workers, size_t rays, const RayQuery& query,
                std::vector<uint32_t>& answers, double* cpuSeconds)
{
    answers.assign(rays, 0);
    SBatchJob job;
    job.rays = rays;
    job.query = &query;
    job.answers = answers.data();
    const auto start = std::chrono::steady_clock::now();
    workers.Run(&RunRays, &job);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    *cpuSeconds = static_cast<double>(job.cpuNanoseconds.load()) * 1e-9;
    return seconds;
}
}
