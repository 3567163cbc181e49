// Gives the heap's free pages back to the operating system. Blocks freed after a burst of
// large allocations (a driver's per-frame vertex memory, say) otherwise stay resident in the
// C library's heap; call this where such a burst has ended, not every frame.
#pragma once

namespace platform
{
void ReturnFreeHeapPages();
}
