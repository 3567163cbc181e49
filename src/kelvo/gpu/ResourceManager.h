// The data registry: maps a bare asset file name to the path of that file inside the data
// folder, so that every loader opens files by name alone. Filled by scanning the folder tree
// once at start-up; when two files share a name, the one listed later wins (with a log).
// Not thread-safe: scans and look-ups come from the main thread.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
#include <string>

class CResourceManager
{
public:
    // The single registry, built on first use.
    static CResourceManager& Instance();

    CResourceManager(const CResourceManager&) = delete;
    CResourceManager& operator=(const CResourceManager&) = delete;

    // Indexes the tree below directory, skipping every entry whose name begins with ".".
    // The number of files newly entered; 0 when the directory cannot be listed.
    uint32_t ScanDirectory(const std::string& directory);
    // Enters one listed file, or scans one listed sub-directory, of directoryPath (which ends
    // with "/"). The number of files newly entered.
    uint32_t AddEntry(const std::string& directoryPath, const std::filesystem::directory_entry& entry);
    // The registered path of fileName, or "" when there is none.
    std::string GetPath(const std::string& fileName) const;
    // Forgets every registered file, as before the first scan.
    void Clear() { m_Paths.clear(); }

private:
    CResourceManager() = default;
    ~CResourceManager() = default;

    std::map<std::string, std::string> m_Paths;
    // Directories being scanned, so that a link back up the tree is not entered again.
    std::set<std::filesystem::path> m_ScansInProgress;
};
