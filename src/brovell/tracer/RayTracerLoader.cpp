#include "brovell/tracer/RayTracerLoader.h"

#include "platform/DynamicLibrary.h"
#include "platform/Log.h"

#include <memory>
#include <vector>

IRayTracer* LoadRayTracer(const std::string& directory, const std::string& fileName)
{
    // Opened libraries are never closed: their tracers and worker threads live until exit.
    static auto* opened = new std::vector<std::unique_ptr<platform::CDynamicLibrary>>();
    auto library = std::make_unique<platform::CDynamicLibrary>();
    // The loader's word on the copy beside the program says best what is wrong with it.
    std::string besideError;
    if (!library->Open(directory + fileName))
    {
        besideError = library->GetError();
        library->Open(fileName);
    }
    DebugLog("[__get_quellbeam] lib: %i\n", library->IsOpen() ? 1 : 0);
    if (!library->IsOpen())
    {
        DebugLog("[LoadRayTracer] %s: %s; the traced balls are not shown\n", fileName.c_str(),
                 besideError.c_str());
        return nullptr;
    }
    using GetRayTracerFunction = IRayTracer* (*)();
    auto getRayTracer = reinterpret_cast<GetRayTracerFunction>(library->FindSymbol("GetRayTracer"));
    if (getRayTracer == nullptr)
        DebugLog("[LoadRayTracer] %s: %s; the traced balls are not shown\n", fileName.c_str(),
                 library->GetError().c_str());
    opened->push_back(std::move(library));
    return getRayTracer != nullptr ? getRayTracer() : nullptr;
}

IRayTracer* GetQuellbeamRayTracer()
{
    static IRayTracer* tracer = LoadRayTracer(platform::GetExecutableDirectory(), "libquellbeam.so");
    return tracer;
}
