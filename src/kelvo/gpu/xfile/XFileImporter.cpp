#include "kelvo/gpu/xfile/XFileImporter.h"

#include "kelvo/gpu/xfile/ImportedMeshBytes.h"
#include "platform/DynamicLibrary.h"
#include "platform/ProcessOutput.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace
{
// A mesh may take this many times its file's bytes (a compressed file holds more than its
// size); a little more for small files.
constexpr std::uintmax_t kMaxBytesPerFileByte = 256;
constexpr std::uintmax_t kMinOutputBytes = 1 << 20;
// A large model takes well under a second.
constexpr int kReaderTimeoutMs = 60000;
// The reader's error message is one short line.
constexpr std::size_t kMaxMessageLength = 400;
}

bool ImportXFile(const std::string& path, SImportedMesh& outMesh, std::string& outError)
{
    std::error_code error;
    const std::uintmax_t fileSize = std::filesystem::file_size(path, error);
    if (error)
    {
        outError = "cannot read \"" + path + "\": " + error.message();
        return false;
    }
    const std::string reader = platform::GetExecutableDirectory() + kXFileReaderName;
    platform::SProcessOutput result;
    std::string problem;
    const std::size_t maxOutput = kMinOutputBytes + fileSize * kMaxBytesPerFileByte;
    if (!platform::RunForOutput({reader, path}, maxOutput, kReaderTimeoutMs, result, problem))
    {
        outError = "cannot read \"" + path + "\": " + problem;
        return false;
    }
    const auto* output = result.m_Output.data();
    if (result.m_ExitCode == 0 && DecodeImportedMesh(output, result.m_Output.size(), outMesh, problem))
        return true;
    if (result.m_ExitCode == 1 && !result.m_Output.empty())
        problem.assign(reinterpret_cast<const char*>(output),
                       std::min(result.m_Output.size(), kMaxMessageLength));
    else if (result.m_ExitCode != 0)
        problem = "\"" + reader + "\" ended with code " + std::to_string(result.m_ExitCode);
    outError = "cannot read \"" + path + "\": " + problem;
    return false;
}
