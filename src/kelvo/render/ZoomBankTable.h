// The zoom bank's colour table: for every colour with 6 bits per channel, the bank image whose
// average colour is nearest. Entry (b, g, r) stands at b * 4096 + g * 64 + r; its top byte is
// the image index and its low 24 bits that image's average colour as 0xRRGGBB. The effect
// reads the table as a 512 x 512 texture, rows of 512 entries in index order.
#pragma once

#include <cstdint>
#include <vector>

inline constexpr uint32_t kZoomColorLevels = 64;
inline constexpr uint32_t kZoomTableEntries = kZoomColorLevels * kZoomColorLevels * kZoomColorLevels;
inline constexpr uint32_t kZoomTableTextureSize = 512;

// The table for the images' average colours (0xAARRGGBB, alpha ignored; at most 256 images).
// A colour equally near two images takes the lower index.
std::vector<uint32_t> BuildZoomBankTable(const std::vector<uint32_t>& averages);
