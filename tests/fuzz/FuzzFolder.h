// A private scratch folder for the fuzz targets whose readers take a path: each input is
// written to a file there and read back through the reader itself. Removed at exit.
#pragma once

#include "support/TestFiles.h"

#include <cstdint>

inline const std::filesystem::path& FuzzFolder()
{
    static const std::filesystem::path s_Folder = MakeScratchFolder("brovell-fuzz");
    if (s_Folder.empty())
        std::abort();
    return s_Folder;
}

// Writes the bytes to the named file in the folder (replacing it); its path.
inline std::string WriteFuzzInput(const std::string& name, const uint8_t* data, std::size_t size)
{
    const std::string path = FuzzFolder() / name;
    WriteFile(path, std::string(reinterpret_cast<const char*>(data), size));
    if (std::filesystem::file_size(path) != size)
        std::abort();
    return path;
}
