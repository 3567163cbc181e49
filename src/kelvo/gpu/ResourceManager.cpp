#include "kelvo/gpu/ResourceManager.h"

#include "platform/Log.h"

#include <system_error>

namespace fs = std::filesystem;

CResourceManager& CResourceManager::Instance()
{
    static CResourceManager s_Instance;
    return s_Instance;
}

uint32_t CResourceManager::ScanDirectory(const std::string& directory)
{
    std::error_code error;
    // Full path with "." and ".." resolved, as the registry hands it to every loader.
    std::string path = fs::absolute(directory, error).lexically_normal().string();
    if (error)
        return 0;
    if (!path.ends_with('/'))
        path += '/';

    // A directory already being scanned is reached again only through a link loop.
    const fs::path identity = fs::canonical(path, error);
    if (error || !m_ScansInProgress.insert(identity).second)
        return 0;

    uint32_t entered = 0;
    for (fs::directory_iterator listing(path, error), end; !error && listing != end; listing.increment(error))
    {
        if (!listing->path().filename().string().starts_with('.'))
            entered += AddEntry(path, *listing);
    }
    m_ScansInProgress.erase(identity);
    return entered;
}

uint32_t CResourceManager::AddEntry(const std::string& directoryPath, const fs::directory_entry& entry)
{
    const std::string name = entry.path().filename().string();
    std::error_code error;
    if (entry.is_directory(error))
        return ScanDirectory(directoryPath + name);

    const std::string path = directoryPath + name;
    auto [registered, isNew] = m_Paths.try_emplace(name, path);
    if (isNew)
        return 1;
    DebugLog("[CResourceManager::AddEntry] Resource redefinition!\n");
    DebugLog("[CResourceManager::AddEntry] New file: %s\n", path.c_str());
    DebugLog("[CResourceManager::AddEntry] Old file: %s\n", registered->second.c_str());
    registered->second = path;
    return 0;
}

std::string CResourceManager::GetPath(const std::string& fileName) const
{
    auto found = m_Paths.find(fileName);
    return found != m_Paths.end() ? found->second : std::string();
}
