// Files for tests: whole-file reads and writes, and scratch folders under /tmp that the test
// program removes when it ends.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

inline std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// A new, empty folder "/tmp/<prefix>_XXXXXX", removed with everything in it at the end of the
// program.
inline std::string MakeScratchFolder(const std::string& prefix)
{
    struct SFolders
    {
        ~SFolders()
        {
            for (const std::string& folder : m_List)
                std::filesystem::remove_all(folder);
        }
        std::vector<std::string> m_List;
    };
    static SFolders s_Folders;
    std::string pattern = "/tmp/" + prefix + "_XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr)
        return {};
    s_Folders.m_List.push_back(pattern);
    return pattern;
}
