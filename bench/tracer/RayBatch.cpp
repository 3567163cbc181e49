#include "RayBatch.h"

#include <atomic>
#include <chrono>

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
};

void RunRays(void* context, uint32_t)
{
    SBatchJob& job = *static_cast<SBatchJob*>(context);
    for (;;)
    {
        const size_t first = job.next.fetch_add(kRaysPerTake);
        if (first >= job.rays)
            return;
        (*job.query)(first, std::min(first + kRaysPerTake, job.rays), job.answers + first);
    }
}
}

double RunBatch(quellbeam::CWorkerPool& workers, size_t rays, const RayQuery& query, std::vector<uint32_t>& answers)
{
    answers.assign(rays, 0);
    SBatchJob job;
    job.rays = rays;
    job.query = &query;
    job.answers = answers.data();
    const auto start = std::chrono::steady_clock::now();
    workers.Run(&RunRays, &job);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}
}
