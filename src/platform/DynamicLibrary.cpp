#include "platform/DynamicLibrary.h"

#include <dlfcn.h>
#include <link.h>
#include <filesystem>
#include <system_error>

namespace platform
{
CDynamicLibrary::~CDynamicLibrary()
{
    if (m_Handle)
        dlclose(m_Handle);
}

bool CDynamicLibrary::Open(const std::string& path)
{
    if (m_Handle)
        dlclose(m_Handle);
    m_Handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!m_Handle)
    {
        const char* message = dlerror();
        m_Error = message ? message : "unknown error";
        return false;
    }
    m_Error.clear();
    return true;
}

void* CDynamicLibrary::FindSymbol(const char* name) const
{
    if (!m_Handle)
    {
        m_Error = "library not open";
        return nullptr;
    }
    dlerror();
    void* symbol = dlsym(m_Handle, name);
    if (const char* message = dlerror())
    {
        m_Error = message;
        return nullptr;
    }
    return symbol;
}

std::string GetExecutableDirectory()
{
    std::error_code error;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return {};
    std::string folder = self.parent_path().string();
    return folder.empty() ? folder : folder + "/";
}

void KeepLoadedLibrariesUntilExit()
{
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void*) {
            if (info->dlpi_name != nullptr && info->dlpi_name[0] != '\0')
                dlopen(info->dlpi_name, RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
            return 0;
        },
        nullptr);
}
}
