#include "brovell/tracer/RayTracerLoader.h"

#include "platform/DynamicLibrary.h"
#include "platform/Log.h"

#include <memory>
#include <vector>

IRayTracer* LoadRayTracer(const std::string& directory, const std::string& fileName)
{
    // Opened libraries are never closed: their tracers and worker threads live until exit.
    static auto* opened = new std::vector<std::unique_ptr<platform::DynamicLibrary>>();
    auto library = std::make_unique<platform::DynamicLibrary>();
    if (!library->Open(directory + fileName))
        library->Open(fileName);
    DebugLog("[__get_quellbeam] lib: %i\n", library->IsOpen() ? 1 : 0);
    if (!library->IsOpen())
        return nullptr;
    using GetRayTracerFunction = IRayTracer* (*)();
    auto getRayTracer = reinterpret_cast<GetRayTracerFunction>(library->FindSymbol("GetRayTracer"));
    opened->push_back(std::move(library));
    return getRayTracer != nullptr ? getRayTracer() : nullptr;
}

IRayTracer* GetQuellbeamRayTracer()
{
    static IRayTracer* tracer = LoadRayTracer(platform::GetExecutableDirectory(), "libquellbeam.so");
    return tracer;
}
