// The car's assets: "car7b.ppm" (the wind tunnel's cells around the car's silhouette),
// "BugattiVeyron.x" and "BugattiVeyron.am" (the car model, 47 parts, one material each).
#pragma once

#include <string>

namespace car
{
// The tunnel's grid: square in cells, stretched over the wider field on screen.
constexpr int kTunnelColumns = 160;
constexpr int kTunnelRows = 160;

// The cell file's text: walls at the top and under the road, the car's silhouette solid,
// the inlet column at the left edge open, fluid elsewhere.
std::string MakeCellFileText();
std::string MakeXFileText();
std::string MakeAmFileBytes();
// Writes bytes to path; false with a message on standard error.
bool WriteFile(const std::string& path, const std::string& bytes);
}

// Writes the three files into folder; false with a message on standard error when one
// cannot be written.
bool MakeCarAssets(const std::string& folder);
