// The cell file reader: the plain PPM grammar, and broken files.
#include "brovell/windtunnel/CellFile.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

TEST(CellFile, ReadsThePlainGrammarWithCommentsAnywhere)
{
    // A comment after the magic, between the numbers, in the samples, without a final end of
    // line; tabs and carriage returns as whitespace.
    const std::string text = "P3# made by hand\r\n5 #width\n\t3\n# maximum next\n255\n"
                             "0 200 0  1 200 10 2 200 20 # row 0\n3 200 30 4 200 40\n"
                             "2 200 0 3 200 10 4 200 20 0 200 30 1 200 40\n"
                             "4 200 0 0 200 10 1 200 20 2 200 30\n#\n3 200 40";
    SCellGrid grid;
    std::string error;
    ASSERT_TRUE(ParseCellText(text, grid, error)) << error;
    // Red, the cell's flag, runs through 0 to 4; green and blue differ from it.
    ASSERT_EQ(grid.m_Width, 5);
    ASSERT_EQ(grid.m_Height, 3);
    for (int x = 0; x < 5; ++x)
        for (int y = 0; y < 3; ++y)
            EXPECT_EQ(grid.m_Flags[x * 3 + y], (x + 2 * y) % 5) << x << ", " << y;
}

TEST(CellFile, RefusesBrokenFilesSayingWhatIsWrong)
{
    const struct
    {
        const char* text;
        const char* message;
    } cases[] = {
        {"", "not a plain PPM file"},
        {"P6\n2 2\n255\n", "not a plain PPM file"},
        {"P33\n2 2\n255\n", "not a plain PPM file"},
        {"P3\n", "missing width"},
        {"P3\n2", "missing height"},
        {"P3\n2 2\n", "missing maximum value"},
        {"P3\n-2 2\n255\n", "unexpected character '-' in width"},
        {"P3\n2x 2\n255\n", "line 2: unexpected character 'x' in width"},
        {"P3\n1 2\n255\n", "width 1 is out of range (2 to 4096)"},
        {"P3\n2 5000\n255\n", "height 5000 is out of range"},
        {"P3\n4000 4000\n255\n", "4000 x 4000 cells is more than the limit"},
        {"P3\n2 2\n0\n", "maximum value 0 is out of range"},
        {"P3\n2 2\n65536\n", "maximum value 65536 is out of range"},
        {"P3\n2 2\n99999999999\n", "maximum value has too many digits"},
        {"P3\n2 2\n255\n1 1 1 1 1 1 1 1 1 1 1",
         "missing sample (the file ends early): 11 of 12 samples read"},
        {"P3\n2 2\n255\n1 1 1 1 1 1\n1 1 1 1 1 1.5", "line 5: unexpected character '.' in sample"},
        {"P3\n2 2\n9\n1 1 1 1 1 1\n1 10 1 1 1 1",
         "line 5: sample 10 is above the maximum value 9 (column 0, row 1)"},
    };
    for (const auto& broken : cases)
    {
        SCellGrid grid;
        std::string error;
        EXPECT_FALSE(ParseCellText(broken.text, grid, error)) << broken.text;
        EXPECT_NE(error.find(broken.message), std::string::npos)
            << "got \"" << error << "\" for " << broken.text;
        EXPECT_EQ(grid.m_Width, 0);
    }
}

TEST(CellFile, NamesTheFileThatCannotBeOpenedOrRead)
{
    const std::filesystem::path folder = MakeScratchFolder("cellfile_test");
    SCellGrid grid;
    std::string error;
    EXPECT_FALSE(ReadCellFile((folder / "missing.ppm").string(), grid, error));
    EXPECT_EQ(error, "Cannot open the file: " + (folder / "missing.ppm").string());
    EXPECT_FALSE(ReadCellFile(folder.string(), grid, error));
    EXPECT_EQ(error.rfind(folder.string() + ": cannot be read", 0), 0u) << error;
    WriteFile(folder / "short.ppm", "P3\n2 2\n255\n1 2 3\n");
    EXPECT_FALSE(ReadCellFile((folder / "short.ppm").string(), grid, error));
    EXPECT_EQ(error.rfind((folder / "short.ppm").string() + ": missing sample", 0), 0u) << error;
}
