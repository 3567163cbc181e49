#include "kelvo/gpu/AmFileReader.h"
#include "kelvo/gpu/BuiltInMeshes.h"
#include "kelvo/gpu/MaterialRecord.h"
#include "kelvo/gpu/Mesh.h"

#include "AmWriter.h"

#include <cstring>
#include <vector>

#include <gtest/gtest.h>

namespace
{
// An .am file read back: the mesh, each material record as it came (one of them can be
// refused), and whether the reading found the file whole.
class CReadBack : public IAmMaterialReader
{
public:
    explicit CReadBack(const CAmWriter& writer, uint32_t refuseIndex = ~0u)
        : m_RefuseIndex(refuseIndex)
    {
        CByteReader reader(writer.GetBytes().data(), writer.GetBytes().size());
        m_Complete = ReadAmFile(reader, m_Mesh, *this);
    }

    bool ReadMaterial(uint32_t index, CByteReader& reader) override
    {
        m_Indices.push_back(index);
        if (index == m_RefuseIndex)
            return false;
        SMaterialRecord record;
        const bool complete = ReadMaterialRecord(reader, record);
        m_Records.push_back(record);
        return complete;
    }

    uint32_t m_RefuseIndex;
    CMesh m_Mesh{nullptr};
    bool m_Complete = false;
    std::vector<uint32_t> m_Indices;
    std::vector<SMaterialRecord> m_Records;
};

SMaterialRecord ShinyMaterial()
{
    SMaterialRecord record;
    record.m_Effect = "default";
    record.m_Technique = "d3d_material";
    record.m_PixelTextures = {"brick.jpg", "noise.png"};
    record.m_VertexTextures = {"height.png"};
    const float diffuse[4] = {1.0f, 0.5f, 0.25f, 1.0f};
    record.m_Variables.push_back({"r_diffuse", std::vector<uint8_t>(16)});
    std::memcpy(record.m_Variables.back().m_Value.data(), diffuse, 16);
    record.m_Variables.push_back({"r_power", {0, 0, 0, 0x42}});
    return record;
}

// Streams and material records as the writer lays them out, every field of them in order:
// equal bytes mean equal contents.
std::vector<uint8_t> Written(const std::vector<CMeshDataBuffer*>& streams)
{
    CAmWriter writer;
    writer.WriteStreams(streams);
    return writer.GetBytes();
}

std::vector<uint8_t> Written(const SMaterialRecord& record)
{
    CAmWriter writer;
    writer.WriteMaterials({record});
    return writer.GetBytes();
}

// A writer holding a valid surface section and one small stream section.
CAmWriter StartedFile(uint32_t streamCount)
{
    CAmWriter writer;
    writer.WriteSurfaces({{0, 2, 0, 4}});
    writer.WriteUInt32(streamCount);
    writer.WriteString("indices");
    writer.WriteUInt32(4);
    writer.WriteUInt32(3);
    const uint32_t indices[3] = {0, 1, 2};
    writer.WriteBytes(indices, sizeof(indices));
    return writer;
}
}

TEST(AmFile, WrittenMeshReadsBackIdentically)
{
    CMesh source(nullptr);
    ASSERT_TRUE(BuildBall(source, 1));
    source.GetBuffer("tex0", 8)->Resize(0);
    source.GetSurfaces() = {{0, 20, 0, 30}, {20, 12, 0, 30}};
    const std::vector<SMaterialRecord> materials = {ShinyMaterial(), SMaterialRecord()};
    CAmWriter writer;
    writer.WriteMesh(source, materials);

    const CReadBack read(writer);
    EXPECT_TRUE(read.m_Complete);
    EXPECT_EQ(read.m_Mesh.GetSurfaces(), source.GetSurfaces());
    EXPECT_EQ(Written(read.m_Mesh.GetStreams()), Written(source.GetStreams()));
    EXPECT_EQ(read.m_Indices, (std::vector<uint32_t>{0, 1}));
    ASSERT_EQ(read.m_Records.size(), 2u);
    EXPECT_EQ(Written(read.m_Records[0]), Written(materials[0]));
    EXPECT_EQ(Written(read.m_Records[1]), Written(materials[1]));
}

// A stream name of 1024 bytes or more, a zero stride or one that would leave floats
// misaligned ends the reading at that stream, before the materials.
TEST(AmFile, LongStreamNamesAndBadStridesStopTheReading)
{
    struct SCase
    {
        uint32_t m_NameLength, m_Stride;
        bool m_Accepted;
    };
    for (const SCase& c : {SCase{1023, 4, true}, SCase{1024, 4, false}, SCase{8, 0, false},
                           SCase{8, 1, false}, SCase{8, 3, false}, SCase{8, 13, false}})
    {
        CAmWriter writer = StartedFile(2);
        writer.WriteString(std::string(c.m_NameLength, 'n'));
        writer.WriteUInt32(c.m_Stride);
        writer.WriteUInt32(2);
        writer.WriteBytes(std::vector<uint8_t>(2 * c.m_Stride + 1, 0).data(), 2 * c.m_Stride);
        writer.WriteMaterials({ShinyMaterial()});
        const CReadBack read(writer);
        EXPECT_EQ(read.m_Mesh.GetStreams().size(), c.m_Accepted ? 2u : 1u)
            << c.m_NameLength << ", " << c.m_Stride;
        EXPECT_EQ(read.m_Records.size(), c.m_Accepted ? 1u : 0u) << c.m_NameLength << ", " << c.m_Stride;
    }
}

// Counts past what the file holds keep the whole surface records and stream elements present.
TEST(AmFile, HugeSurfaceCountsAndTruncatedOrHugeStreamsKeepWhatIsPresent)
{
    CAmWriter surfaces;
    surfaces.WriteUInt32(0xffffffffu);
    for (uint32_t value : {1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u, 9u})
        surfaces.WriteUInt32(value);
    const CReadBack surfacesRead(surfaces);
    EXPECT_EQ(surfacesRead.m_Mesh.GetSurfaces(), (std::vector<SMeshSurface>{{1, 2, 3, 4}, {5, 6, 7, 8}}));
    EXPECT_TRUE(surfacesRead.m_Mesh.GetStreams().empty());

    for (const uint32_t count : {100u, 0x40000000u, 0xffffffffu})
    {
        CAmWriter writer = StartedFile(3);
        writer.WriteString("position");
        writer.WriteUInt32(16);
        writer.WriteUInt32(count);
        const float data[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
        writer.WriteBytes(data, sizeof(data));
        const CReadBack read(writer);
        const CMeshDataBuffer* positions = read.m_Mesh.FindBuffer("position");
        ASSERT_NE(positions, nullptr) << count;
        EXPECT_EQ(positions->GetCount(), 2u) << count;
        EXPECT_EQ(positions->GetCapacity(), 32u) << count;
        EXPECT_EQ(positions->Element<float>(1)[3], 8.0f);
        EXPECT_EQ(read.m_Mesh.GetStreams().size(), 2u);
    }
}

// After the streams: no material section, records up to one the reader refuses, or a count
// far past the records present. The reading keeps the mesh, stops at the first record that
// fails and says the file was cut short.
TEST(AmFile, MaterialsStopAtTheFirstMissingOrRefusedRecord)
{
    CAmWriter shiny;
    shiny.WriteMaterials({ShinyMaterial()});
    struct SCase
    {
        uint32_t m_Count, m_Written, m_Refused;
        std::vector<uint32_t> m_Indices;
    };
    for (const SCase& c : {SCase{0, 0, ~0u, {}}, SCase{3, 3, 1, {0, 1}}, SCase{0xffffffffu, 1, ~0u, {0}}})
    {
        CAmWriter writer = StartedFile(1);
        if (c.m_Written > 0)
            writer.WriteUInt32(c.m_Count);
        for (uint32_t i = 0; i < c.m_Written; ++i) // the record without its leading count
            writer.WriteBytes(shiny.GetBytes().data() + 4, shiny.GetBytes().size() - 4);
        const CReadBack read(writer, c.m_Refused);
        EXPECT_FALSE(read.m_Complete) << c.m_Count;
        EXPECT_EQ(read.m_Mesh.GetSurfaces().size(), 1u);
        ASSERT_NE(read.m_Mesh.FindBuffer("indices"), nullptr);
        EXPECT_EQ(read.m_Mesh.FindBuffer("indices")->GetCount(), 3u);
        EXPECT_EQ(read.m_Indices, c.m_Indices) << c.m_Count;
        EXPECT_EQ(read.m_Records.size(), c.m_Indices.size() - (c.m_Refused < c.m_Count));
        for (const SMaterialRecord& record : read.m_Records)
            EXPECT_EQ(Written(record), Written(ShinyMaterial()));
    }
}

TEST(MaterialRecord, HugeCountsAndSizesFailWithoutReadingPastTheEnd)
{
    {
        CAmWriter writer;
        writer.WriteString("default");
        writer.WriteString("t");
        writer.WriteUInt32(0xfffffff0u);
        writer.WriteUInt32(0);
        writer.WriteString("only.jpg");
        SMaterialRecord record;
        CByteReader reader(writer.GetBytes().data(), writer.GetBytes().size());
        EXPECT_FALSE(ReadMaterialRecord(reader, record));
        EXPECT_EQ(record.m_PixelTextures, (std::vector<std::string>{"only.jpg"}));
    }
    {
        CAmWriter writer;
        writer.WriteString("default");
        writer.WriteString("t");
        writer.WriteUInt32(0);
        writer.WriteUInt32(0);
        writer.WriteUInt32(1);
        writer.WriteString("r_power");
        writer.WriteUInt32(0xfffffff0u);
        writer.WriteUInt32(0);
        SMaterialRecord record;
        CByteReader reader(writer.GetBytes().data(), writer.GetBytes().size());
        EXPECT_FALSE(ReadMaterialRecord(reader, record));
        EXPECT_TRUE(record.m_Variables.empty());
        EXPECT_EQ(reader.GetRemaining(), 4u);
    }
}

TEST(ByteReader, ReadsLittleEndianAndNeverPastTheEnd)
{
    const uint8_t bytes[] = {0x78, 0x56, 0x34, 0x12, 2, 0, 0, 0, 'o', 'k', 9, 0, 0};
    CByteReader reader(bytes, sizeof(bytes));
    uint32_t value = 0;
    ASSERT_TRUE(reader.ReadUInt32(value));
    EXPECT_EQ(value, 0x12345678u);
    std::string text;
    ASSERT_TRUE(reader.ReadString(text));
    EXPECT_EQ(text, "ok");
    // Three bytes left: a 32-bit read fails and leaves them.
    EXPECT_FALSE(reader.ReadUInt32(value));
    EXPECT_EQ(reader.GetRemaining(), 3u);
    // A string whose length passes the end fails without moving.
    const uint8_t longer[] = {5, 0, 0, 0, 'a', 'b'};
    CByteReader cut(longer, sizeof(longer));
    EXPECT_FALSE(cut.ReadString(text));
    EXPECT_EQ(cut.GetRemaining(), sizeof(longer));
}
