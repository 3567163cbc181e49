// ".am" mesh files: the reader, then the bounding box the loader computes from what it read.
#include "kelvo/gpu/AmFileReader.h"
#include "kelvo/gpu/MaterialRecord.h"
#include "kelvo/gpu/Mesh.h"

namespace
{
// Reads each material record as the mesh's own material reader does, without a device.
class CRecordReader : public IAmMaterialReader
{
public:
    bool ReadMaterial(uint32_t, CByteReader& reader) override
    {
        SMaterialRecord record;
        return ReadMaterialRecord(reader, record);
    }
};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CMesh mesh(nullptr);
    CByteReader reader(data, size);
    CRecordReader materials;
    ReadAmFile(reader, mesh, materials);
    mesh.UpdateBoundingBox();
    return 0;
}
