// Scanning a data folder of hostile names. The input is a list of entries separated by NUL
// bytes (which no file name holds); each is one letter and a name:
//   f name   a file in the current folder       d name   a folder, which becomes current
//   u        back to the enclosing folder       l name   a link to the data folder (a loop)
//   m name   a link to nothing
// Names are taken as they are: any bytes, long, with spaces, newlines, "%" or a leading "-".
// Every file not hidden under a "." name must then be registered under a path that names it.
#include "FuzzFolder.h"
#include "kelvo/gpu/ResourceManager.h"

#include <cstdio>
#include <set>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace
{
constexpr size_t kMaxEntries = 24;

std::vector<std::string> SplitEntries(const uint8_t* data, size_t size)
{
    std::istringstream input(std::string(reinterpret_cast<const char*>(data), size));
    std::vector<std::string> entries;
    for (std::string entry; entries.size() < kMaxEntries && std::getline(input, entry, '\0');)
        entries.push_back(entry);
    return entries;
}

bool IsUsableName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

// Whether a path below the data folder passes through a "." name.
bool IsHidden(const fs::path& relative)
{
    for (const fs::path& part : relative)
        if (part.native()[0] == '.')
            return true;
    return false;
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const fs::path root = FuzzFolder() / "data";
    std::error_code error;
    fs::remove_all(root, error);
    fs::create_directory(root, error);

    std::set<std::string> visibleFiles;
    fs::path folder; // the current folder, relative to the root
    for (const std::string& entry : SplitEntries(data, size))
    {
        const char kind = entry.empty() ? '\0' : entry[0];
        const std::string name = entry.empty() ? std::string() : entry.substr(1);
        const fs::path path = root / folder / name;
        if (kind == 'u')
            folder = folder.parent_path();
        else if (!IsUsableName(name) || fs::symlink_status(path, error).type() != fs::file_type::not_found)
            continue;
        else if (kind == 'f')
        {
            if (FILE* file = std::fopen(path.c_str(), "w"))
            {
                std::fclose(file);
                if (!IsHidden(folder / name))
                    visibleFiles.insert(name);
            }
        }
        else if (kind == 'd' && fs::create_directory(path, error))
            folder /= name;
        else if (kind == 'l')
            fs::create_directory_symlink(root, path, error);
        else if (kind == 'm')
            fs::create_symlink(root / "missing", path, error);
    }

    CResourceManager& registry = CResourceManager::Instance();
    registry.Clear();
    registry.ScanDirectory(root.string());
    for (const std::string& name : visibleFiles)
    {
        const std::string path = registry.GetPath(name);
        if (path.empty() || fs::path(path).filename() != name || !fs::exists(path, error))
            __builtin_trap();
    }
    return 0;
}
