#include "platform/Log.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <unistd.h>

void DebugLog(const char* format, ...)
{
    char buffer[kDebugLogBufferSize];
    va_list args;
    va_start(args, format);
    int length = std::vsnprintf(buffer, sizeof(buffer), format, args);
    va_end(args);
    if (length < 0)
        return;
    // vsnprintf reports the untruncated length; only what fits was written.
    std::size_t size = static_cast<std::size_t>(length);
    if (size >= sizeof(buffer))
        size = sizeof(buffer) - 1;
    ssize_t written;
    do
        written = ::write(STDERR_FILENO, buffer, size);
    while (written < 0 && errno == EINTR);
}
