// Texture stages of the GPU layer and the GL texture units behind them: pixel stages 0..7
// use units 0..7, the vertex-texture stages 257..260 use units 8..11. Unit 12 is the scratch
// unit on which textures are bound for uploads, so that no stage loses its texture.
#pragma once

#include <cstdint>
#include <optional>

inline constexpr uint32_t kPixelStageCount = 8;
inline constexpr uint32_t kFirstVertexStage = 257;
inline constexpr uint32_t kVertexStageCount = 4;
inline constexpr uint32_t kStageUnitCount = kPixelStageCount + kVertexStageCount;
inline constexpr uint32_t kScratchTextureUnit = kStageUnitCount;

// The texture unit of a stage, or nothing for a number that is no stage.
inline std::optional<uint32_t> TextureUnitOfStage(uint32_t stage)
{
    if (stage < kPixelStageCount)
        return stage;
    if (stage >= kFirstVertexStage && stage < kFirstVertexStage + kVertexStageCount)
        return kPixelStageCount + (stage - kFirstVertexStage);
    return std::nullopt;
}
