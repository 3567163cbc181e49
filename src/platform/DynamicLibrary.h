// A shared library opened with dlopen. The library stays loaded while the object lives.
#pragma once

#include <string>

namespace platform
{
class CDynamicLibrary
{
public:
    CDynamicLibrary() = default;
    ~CDynamicLibrary();
    CDynamicLibrary(const CDynamicLibrary&) = delete;
    CDynamicLibrary& operator=(const CDynamicLibrary&) = delete;

    // Loads the library at path (a bare name goes through the loader's search path).
    bool Open(const std::string& path);
    bool IsOpen() const { return m_Handle != nullptr; }
    void* FindSymbol(const char* name) const;
    // The loader's last message after a failed Open or FindSymbol.
    const std::string& GetError() const { return m_Error; }

private:
    void* m_Handle = nullptr;
    mutable std::string m_Error;
};

// The folder that holds the running executable, with a trailing '/', or "" when unknown.
std::string GetExecutableDirectory();

// Keeps every library loaded now mapped until the process ends, whoever closes it later. A
// graphics driver unloads itself when its display is closed; what it still holds would then
// lie in a library that is gone, and the leak checker at exit could no longer tell whose it is.
void KeepLoadedLibrariesUntilExit();
}
