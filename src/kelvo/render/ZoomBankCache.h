// The zoom bank's table cache "bank.dsc": a little-endian 32-bit count, then count 32-bit
// entries in index order. The table is read from it in preference to computing, and written
// after computing: to a temporary name that is renamed into place, so an interrupted write
// never leaves a file that a later start would take as whole. When the data folder cannot be
// written (an installed, read-only copy) the file lives in the user's cache folder instead;
// when neither can be written the table is simply computed at every start. Main thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// True when path holds exactly table.size() entries (its count says so and all of them could
// be read); table is filled then. Otherwise table is left as it was.
bool ReadZoomBankFile(const std::string& path, std::vector<uint32_t>& table);
// Writes the whole table to path through a temporary file; false when it cannot.
bool WriteZoomBankFile(const std::string& path, const std::vector<uint32_t>& table);

class CZoomBankCache
{
public:
    static constexpr const char* kFileName = "bank.dsc";

    // dataFolder: where the file belongs; userFolder: the fallback, "" for none.
    CZoomBankCache(std::string dataFolder, std::string userFolder);

    // "$XDG_CACHE_HOME/brovell" (an absolute XDG_CACHE_HOME only), else "$HOME/.cache/brovell",
    // else "".
    static std::string UserCacheFolder();

    // The data folder's file, else the user folder's; false when neither holds a whole table
    // of table.size() entries.
    bool Load(std::vector<uint32_t>& table) const;
    // Into the data folder, else into the user folder (created when missing); false, with one
    // log line, when neither can be written.
    bool Store(const std::vector<uint32_t>& table) const;

    std::string GetDataPath() const;
    std::string GetUserPath() const;

private:
    std::string m_DataFolder;
    std::string m_UserFolder;
};
