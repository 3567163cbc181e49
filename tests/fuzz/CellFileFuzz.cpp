// The wind tunnel's cell files (plain PPM), through the file reader.
#include "brovell/windtunnel/CellFile.h"
#include "FuzzFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SCellGrid grid;
    std::string error;
    if (ReadCellFile(WriteFuzzInput("car.ppm", data, size), grid, error) &&
        grid.m_Flags.size() != static_cast<size_t>(grid.m_Width) * static_cast<size_t>(grid.m_Height))
        __builtin_trap();
    return 0;
}
