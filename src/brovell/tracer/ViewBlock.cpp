#include "brovell/tracer/ViewBlock.h"

SViewBlock MakeViewBlock(const SVector4& position, const SVector4 (&corners)[4])
{
    SVector3 unit[4];
    for (int i = 0; i < 4; ++i)
        unit[i] = Normalize(XYZ(corners[i]));
    const SVector3 centre = (unit[0] + unit[3]) * 0.5f;
    const float centreLength = Length(centre);
    // Opposite corners (a degenerate camera) have no centre direction: keep unit lengths.
    const float scale = centreLength > 0.0f ? 1.0f / centreLength : 1.0f;

    SViewBlock block{};
    block.position[0] = position.x;
    block.position[1] = position.y;
    block.position[2] = position.z;
    block.position[3] = position.w;
    for (int i = 0; i < 4; ++i)
    {
        block.corners[i][0] = unit[i].x * scale;
        block.corners[i][1] = unit[i].y * scale;
        block.corners[i][2] = unit[i].z * scale;
        block.corners[i][3] = 0.0f;
    }
    return block;
}
