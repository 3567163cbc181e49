// A program started with a pipe to its standard input, for handing it a stream of data (raw
// video frames to an encoder). The program is looked up on PATH. Writes block until all is
// written; a closed pipe makes them fail instead of ending this process. One thread.
#pragma once

#include <cstddef>
#include <string>
#include <sys/types.h>
#include <vector>

namespace platform
{
class CChildProcess
{
public:
    CChildProcess() = default;
    ~CChildProcess(); // closes the pipe and waits for the program if still running
    CChildProcess(const CChildProcess&) = delete;
    CChildProcess& operator=(const CChildProcess&) = delete;

    // Starts arguments[0] with the arguments. False with a message in error; a program not
    // on PATH says so.
    bool Start(const std::vector<std::string>& arguments, std::string& error);
    // Writes all of data to the program's standard input; false when the program has gone.
    bool Write(const void* data, std::size_t size);
    // Closes the program's standard input and waits for it to end. Its exit code, or 128 +
    // the signal that ended it, or -1 when it was not running.
    int Finish();

private:
    pid_t m_Pid = -1;
    int m_Input = -1;
};
}
