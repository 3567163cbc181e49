#include "kelvo/render/ZoomBankCache.h"

#include "platform/Log.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <utility>

namespace
{
void PutWord(uint8_t* bytes, uint32_t value)
{
    bytes[0] = static_cast<uint8_t>(value);
    bytes[1] = static_cast<uint8_t>(value >> 8);
    bytes[2] = static_cast<uint8_t>(value >> 16);
    bytes[3] = static_cast<uint8_t>(value >> 24);
}

uint32_t GetWord(const uint8_t* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
           (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

std::string Join(const std::string& folder, const char* name)
{
    if (folder.empty())
        return {};
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}
}

bool ReadZoomBankFile(const std::string& path, std::vector<uint32_t>& table)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return false;
    uint8_t countBytes[4];
    bool whole = std::fread(countBytes, 1, 4, file) == 4 && GetWord(countBytes) == table.size();
    std::vector<uint8_t> bytes;
    if (whole)
    {
        bytes.resize(table.size() * 4);
        whole = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    }
    std::fclose(file);
    if (!whole)
    {
        DebugLog("[CZoomBankCache::Load] %s is not a table of %u entries; it is computed again.\n",
                 path.c_str(), static_cast<unsigned>(table.size()));
        return false;
    }
    for (std::size_t i = 0; i < table.size(); ++i)
        table[i] = GetWord(bytes.data() + 4 * i);
    return true;
}

bool WriteZoomBankFile(const std::string& path, const std::vector<uint32_t>& table)
{
    std::vector<uint8_t> bytes((table.size() + 1) * 4);
    PutWord(bytes.data(), static_cast<uint32_t>(table.size()));
    for (std::size_t i = 0; i < table.size(); ++i)
        PutWord(bytes.data() + 4 * (i + 1), table[i]);

    // The process id keeps two programs starting at once from writing the same temporary file.
    const std::string temporary = path + ".tmp" + std::to_string(static_cast<long>(getpid()));
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    std::error_code error;
    if (written && closed)
    {
        std::filesystem::rename(temporary, path, error);
        if (!error)
            return true;
    }
    std::filesystem::remove(temporary, error);
    return false;
}

CZoomBankCache::CZoomBankCache(std::string dataFolder, std::string userFolder)
    : m_DataFolder(std::move(dataFolder))
    , m_UserFolder(std::move(userFolder))
{
}

std::string CZoomBankCache::UserCacheFolder()
{
    // The XDG rules ignore a relative XDG_CACHE_HOME.
    const char* cacheHome = std::getenv("XDG_CACHE_HOME");
    if (cacheHome != nullptr && cacheHome[0] == '/')
        return std::string(cacheHome) + "/brovell";
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0')
        return std::string(home) + "/.cache/brovell";
    return {};
}

std::string CZoomBankCache::GetDataPath() const
{
    return Join(m_DataFolder, kFileName);
}

std::string CZoomBankCache::GetUserPath() const
{
    return Join(m_UserFolder, kFileName);
}

bool CZoomBankCache::Load(std::vector<uint32_t>& table) const
{
    for (const std::string& path : {GetDataPath(), GetUserPath()})
        if (!path.empty() && ReadZoomBankFile(path, table))
            return true;
    return false;
}

bool CZoomBankCache::Store(const std::vector<uint32_t>& table) const
{
    const std::string dataPath = GetDataPath();
    if (!dataPath.empty() && WriteZoomBankFile(dataPath, table))
        return true;
    const std::string userPath = GetUserPath();
    if (!userPath.empty())
    {
        std::error_code error;
        std::filesystem::create_directories(m_UserFolder, error);
        if (WriteZoomBankFile(userPath, table))
            return true;
    }
    DebugLog("[CZoomBankCache::Store] Cannot write %s nor %s; the table is computed at every start.\n",
             dataPath.c_str(), userPath.empty() ? "a user cache folder" : userPath.c_str());
    return false;
}
