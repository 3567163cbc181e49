// A private temporary folder for the fuzz targets whose readers take a path: each input is
// written to a file there and read back through the reader itself. Removed at exit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

class CFuzzFolder
{
public:
    CFuzzFolder();
    ~CFuzzFolder();
    CFuzzFolder(const CFuzzFolder&) = delete;
    CFuzzFolder& operator=(const CFuzzFolder&) = delete;

    const std::filesystem::path& GetPath() const { return m_Path; }
    // Writes the bytes to the named file in the folder (replacing it); its path.
    std::string Write(const std::string& name, const uint8_t* data, std::size_t size) const;

private:
    std::filesystem::path m_Path;
};
