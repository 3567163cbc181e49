#include "FuzzFolder.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <vector>

CFuzzFolder::CFuzzFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "brovell-fuzz-XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (mkdtemp(name.data()) == nullptr)
        throw std::runtime_error("cannot make a temporary folder");
    m_Path = name.data();
}

CFuzzFolder::~CFuzzFolder()
{
    std::error_code error;
    std::filesystem::remove_all(m_Path, error);
}

std::string CFuzzFolder::Write(const std::string& name, const uint8_t* data, std::size_t size) const
{
    const std::string path = (m_Path / name).string();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0)
        std::abort();
    return path;
}
