// The wind tunnel's cell file: a plain-text PPM ("P3") whose red samples are the cell flags.
// The whole plain-PPM grammar is read: "P3", width, height, maximum value and width x height
// red, green, blue samples, separated by any whitespace, with "#" comments running to the end
// of a line wherever whitespace may stand. Green and blue are checked and dropped.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SCellGrid
{
    int32_t m_Width = 0;
    int32_t m_Height = 0;
    std::vector<int32_t> m_Flags; // width x height, indexed by column, then row
};

// Limits that keep a broken or hostile file from asking for gigabytes.
constexpr int32_t kMaxCellGridSide = 4096;
constexpr int64_t kMaxCellGridCells = 1 << 20;

// Parses the text of a cell file. False with the problem in outError (no file name) when the
// text is not a plain PPM, a number is out of range or samples are missing.
bool ParseCellText(const std::string& text, SCellGrid& outGrid, std::string& outError);

// Reads and parses the file at path. False with the message in outError: "Cannot open the
// file: <path>" when it cannot be opened, "<path>: <problem>" otherwise.
bool ReadCellFile(const std::string& path, SCellGrid& outGrid, std::string& outError);
