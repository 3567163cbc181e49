// Runs a program to the end and collects what it writes to its standard output: for handing a
// risky job (a third-party file parser) to a short-lived process, so that a crash or a hang
// there becomes an error here. The program is started with posix_spawn (no fork of this
// possibly multi-threaded process); its standard error stays this process's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform
{
struct SProcessOutput
{
    // The exit code, or 128 + the signal that ended the program.
    int m_ExitCode = -1;
    std::vector<uint8_t> m_Output;
};

// Runs arguments[0] (a path, not looked up on PATH) with the arguments. The program is
// killed when it writes more than maxOutputBytes or runs longer than timeoutMs. False with a
// message in outError when it cannot be started, is killed, or is ended by a signal.
bool RunForOutput(const std::vector<std::string>& arguments, std::size_t maxOutputBytes, int timeoutMs,
                  SProcessOutput& outResult, std::string& outError);
}
