#include "kelvo/gpu/MeshDataBuffer.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <limits>

#include <gtest/gtest.h>

namespace
{
using SFloat4 = std::array<float, 4>;

class CCountedDeviceBuffer : public IMeshDeviceBuffer
{
public:
    static inline int s_Live = 0;
    explicit CCountedDeviceBuffer(EKind kind)
        : m_Kind(kind)
    {
        ++s_Live;
    }
    ~CCountedDeviceBuffer() override { --s_Live; }
    EKind GetKind() const override { return m_Kind; }

private:
    EKind m_Kind;
};

bool IsAligned(const void* data)
{
    return reinterpret_cast<uintptr_t>(data) % CMeshDataBuffer::kAlignment == 0;
}
}

TEST(CMeshDataBuffer, GrowsOnlyWhenNeededKeepsTheOldBytesAndRefusesSizesBeyondThirtyTwoBits)
{
    CMeshDataBuffer stream("position", 16);
    ASSERT_TRUE(stream.Resize(3));
    EXPECT_TRUE(IsAligned(stream.GetData()));
    EXPECT_EQ(stream.GetCapacity(), 48u);
    for (uint32_t i = 0; i < 12; ++i)
        reinterpret_cast<float*>(stream.GetData())[i] = static_cast<float>(i);

    // Shrinking and growing back within the capacity keep the same array.
    const uint8_t* array = stream.GetData();
    ASSERT_TRUE(stream.Resize(1));
    ASSERT_TRUE(stream.Resize(3));
    EXPECT_EQ(stream.GetData(), array);
    EXPECT_EQ(stream.GetCapacity(), 48u);

    // Growing past it moves the counted bytes to a new aligned array of exactly the size.
    ASSERT_TRUE(stream.Resize(1));
    ASSERT_TRUE(stream.Resize(5));
    EXPECT_TRUE(IsAligned(stream.GetData()));
    EXPECT_EQ(stream.GetCapacity(), 80u);
    for (uint32_t i = 0; i < 4; ++i)
        EXPECT_EQ(stream.Element<float>(0)[i], static_cast<float>(i));

    // A size past 32 bits is refused with nothing changed.
    EXPECT_FALSE(stream.Resize(std::numeric_limits<uint32_t>::max()));
    EXPECT_EQ(stream.GetCount(), 5u);

    // A reset takes the new stride within the capacity; zeroing clears all of it.
    std::memset(stream.GetData(), 0xab, stream.GetCapacity());
    ASSERT_TRUE(stream.Reset(2, 4));
    EXPECT_EQ(stream.GetStride(), 4u);
    EXPECT_EQ(stream.GetCount(), 2u);
    EXPECT_EQ(stream.GetCapacity(), 80u);
    stream.Zero();
    for (uint32_t i = 0; i < stream.GetCapacity(); ++i)
        ASSERT_EQ(stream.GetData()[i], 0) << i;
    EXPECT_FALSE(stream.Reset(0x10000, 0x10000));
}

TEST(CMeshDataBuffer, CopyStridedWidensElementsWithZeros)
{
    // Interleaved source: position (12 bytes) then a 4-byte colour, 16 bytes per vertex.
    struct SVertex
    {
        float m_Position[3];
        uint32_t m_Colour;
    };
    const SVertex source[2] = {{{1, 2, 3}, 0xffff0000u}, {{4, 5, 6}, 0xff00ff00u}};

    CMeshDataBuffer positions("position", 16);
    ASSERT_TRUE(positions.CopyStrided(source, 0, 12, sizeof(SVertex), 2));
    EXPECT_EQ(*positions.Element<SFloat4>(0), (SFloat4{1, 2, 3, 0}));
    EXPECT_EQ(*positions.Element<SFloat4>(1), (SFloat4{4, 5, 6, 0}));

    CMeshDataBuffer colours("diffuse", 4);
    ASSERT_TRUE(colours.CopyStrided(source, 12, 4, sizeof(SVertex), 2));
    EXPECT_EQ(*colours.Element<uint32_t>(0), 0xffff0000u);
    EXPECT_EQ(*colours.Element<uint32_t>(1), 0xff00ff00u);

    // Packed 12-byte elements into a 16-byte stream are widened too.
    const float packed[6] = {7, 8, 9, 10, 11, 12};
    ASSERT_TRUE(positions.CopyStrided(packed, 0, 12, 12, 2));
    EXPECT_EQ(*positions.Element<SFloat4>(1), (SFloat4{10, 11, 12, 0}));

    // Elements wider than the stream's are refused.
    EXPECT_FALSE(colours.CopyStrided(source, 0, 8, sizeof(SVertex), 2));
}

TEST(CMeshDataBuffer, OwnsOneDeviceBufferOfItsKindAndCopiesOnlyTheData)
{
    using EKind = IMeshDeviceBuffer::EKind;
    const int liveBefore = CCountedDeviceBuffer::s_Live;
    {
        CMeshDataBuffer stream("indices", 4);
        ASSERT_TRUE(stream.Resize(3));
        for (uint32_t i = 0; i < 3; ++i)
            *stream.Element<uint32_t>(i) = 10 + i;
        stream.SetDeviceBuffer(new CCountedDeviceBuffer(EKind::Index));
        EXPECT_NE(stream.GetDeviceBuffer(EKind::Index), nullptr);
        EXPECT_EQ(stream.GetDeviceBuffer(EKind::Vertex), nullptr);
        // Replacing frees the old one.
        stream.SetDeviceBuffer(new CCountedDeviceBuffer(EKind::Index));
        EXPECT_EQ(CCountedDeviceBuffer::s_Live, liveBefore + 1);

        const CMeshDataBuffer copy(stream);
        EXPECT_EQ(copy.GetName(), "indices");
        EXPECT_EQ(copy.GetStride(), 4u);
        ASSERT_EQ(copy.GetCount(), 3u);
        EXPECT_NE(copy.GetData(), stream.GetData());
        EXPECT_EQ(*copy.Element<uint32_t>(2), 12u);
        EXPECT_EQ(copy.GetDeviceBuffer(EKind::Index), nullptr);

        stream.SetDeviceBuffer(nullptr);
        EXPECT_EQ(CCountedDeviceBuffer::s_Live, liveBefore);
        // Destruction frees the last one set.
        stream.SetDeviceBuffer(new CCountedDeviceBuffer(EKind::Index));
    }
    EXPECT_EQ(CCountedDeviceBuffer::s_Live, liveBefore);
}
