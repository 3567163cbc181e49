#include "quellbeam/cpu/BvhTrace.h"

namespace quellbeam
{
bool HasAvx2()
{
    return __builtin_cpu_supports("avx2") != 0 && __builtin_cpu_supports("fma") != 0;
}

const SBvhTraceFunctions& GetBvhTrace()
{
    static const SBvhTraceFunctions chosen = HasAvx2() ? GetBvhTraceAvx2() : GetBvhTraceSse();
    return chosen;
}
}
