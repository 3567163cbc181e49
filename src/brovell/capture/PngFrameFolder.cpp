#include "brovell/capture/PngFrameFolder.h"

#include <stb/stb_image_write.h>

#include <cstdio>
#include <filesystem>
#include <system_error>
#include <utility>

CPngFrameFolder::CPngFrameFolder(std::string folder, uint32_t width, uint32_t height)
    : m_Folder(std::move(folder))
    , m_Width(width)
    , m_Height(height)
{
}

bool CPngFrameFolder::Start(std::string& error)
{
    std::error_code failure;
    std::filesystem::create_directories(m_Folder, failure);
    if (failure || !std::filesystem::is_directory(m_Folder, failure))
    {
        error = "cannot make the folder \"" + m_Folder + "\"" + (failure ? ": " + failure.message() : "");
        return false;
    }
    return true;
}

bool CPngFrameFolder::Write(const uint8_t* rgba, std::string& error)
{
    char name[32];
    std::snprintf(name, sizeof(name), "/frame-%06u.png", m_Next);
    const std::string path = m_Folder + name;
    // Written under a temporary name first, so a file under the final name is always whole.
    const std::string partial = path + ".partial";
    const int stride = static_cast<int>(m_Width * 4);
    if (!stbi_write_png(partial.c_str(), static_cast<int>(m_Width), static_cast<int>(m_Height), 4, rgba,
                        stride))
    {
        error = "cannot write \"" + partial + "\"";
        return false;
    }
    std::error_code failure;
    std::filesystem::rename(partial, path, failure);
    if (failure)
    {
        error = "cannot rename \"" + partial + "\": " + failure.message();
        return false;
    }
    ++m_Next;
    return true;
}

bool CPngFrameFolder::Finish(std::string& /*error*/)
{
    return true;
}
