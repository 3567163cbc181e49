// The zoom bank's colour table and its cache file "bank.dsc".
#include "kelvo/render/ZoomBankCache.h"
#include "kelvo/render/ZoomBankTable.h"

#include "../../support/CaptureStderr.h"
#include "../../support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

namespace fs = std::filesystem;

namespace
{
uint32_t Entry(uint32_t b, uint32_t g, uint32_t r)
{
    return b * 4096 + g * 64 + r;
}

// Four images: black, red, a second red (the same average) and white.
const std::vector<uint32_t> kAverages = {0xFF000000, 0xFFFF0000, 0xFFFF0000, 0xFFFFFFFF};

class ZoomBankCacheTest : public ::testing::Test
{
protected:
    void SetUp() override { fs::create_directories(m_Folder / "data"); }

    std::string Data() const { return (m_Folder / "data").string(); }
    std::string User() const { return (m_Folder / "user" / "brovell").string(); }
    // A folder nothing can be written into, whoever runs the test: it sits below a file.
    std::string Unwritable() const
    {
        std::ofstream(m_Folder / "plain_file") << "x";
        return (m_Folder / "plain_file" / "data").string();
    }
    std::vector<uint32_t> Loaded(const CZoomBankCache& cache) const
    {
        std::vector<uint32_t> table(kZoomTableEntries, 0);
        return cache.Load(table) ? table : std::vector<uint32_t>();
    }

    const fs::path m_Folder = MakeScratchFolder("zoom_bank");
    const std::vector<uint32_t> m_Table = BuildZoomBankTable(kAverages);
};
}

TEST(ZoomBankTable, EveryColourTakesTheNearestImageAndTiesTheLowerIndex)
{
    const std::vector<uint32_t> table = BuildZoomBankTable(kAverages);
    ASSERT_EQ(table.size(), kZoomTableEntries);
    EXPECT_EQ(table[Entry(0, 0, 0)], 0x00000000u);
    EXPECT_EQ(table[Entry(63, 63, 63)], 0x03FFFFFFu);
    EXPECT_EQ(table[Entry(0, 0, 63)], 0x01FF0000u);
    // The two reds are equally near every colour: the second is never chosen.
    for (uint32_t i = 0; i < table.size(); ++i)
    {
        ASSERT_NE(table[i] >> 24, 2u) << "entry " << i;
        const uint32_t image = table[i] >> 24;
        ASSERT_EQ(table[i] & 0xFFFFFFu, kAverages[image] & 0xFFFFFFu) << "entry " << i;
    }
    // A little red and a little green are equally far from black: the lower index wins,
    // whichever colour it has.
    EXPECT_EQ(BuildZoomBankTable({0xFF0A0000, 0xFF000A00})[Entry(0, 0, 0)], 0x000A0000u);
    EXPECT_EQ(BuildZoomBankTable({0xFF000A00, 0xFF0A0000})[Entry(0, 0, 0)], 0x00000A00u);
}

TEST_F(ZoomBankCacheTest, TheTableIsReadBackAndATruncatedWrongCountOrUnreadableFileIsRewritten)
{
    const CZoomBankCache cache(Data(), User());
    const std::string path = cache.GetDataPath();
    EXPECT_TRUE(Loaded(cache).empty());
    ASSERT_TRUE(cache.Store(m_Table));
    // Read back whole; no temporary stays beside it, and the user folder is not needed.
    EXPECT_EQ(Loaded(cache), m_Table);
    EXPECT_EQ(std::distance(fs::directory_iterator(Data()), fs::directory_iterator()), 1);
    EXPECT_FALSE(fs::exists(User()));
    const auto whole = fs::file_size(path);
    // A write cut short, a table of another size, and (last) something that is no file.
    const std::function<void()> breakings[] = {
        [&] { fs::resize_file(path, whole - 3); },
        [&] { WriteZoomBankFile(path, std::vector<uint32_t>(16, 0)); },
        [&] {
            fs::remove(path);
            fs::create_directory(path);
        },
    };
    for (std::size_t broken = 0; broken < std::size(breakings); ++broken)
    {
        breakings[broken]();
        std::vector<uint32_t> table(kZoomTableEntries, 7);
        const std::string log = CaptureStderr([&] { EXPECT_FALSE(cache.Load(table)) << broken; });
        EXPECT_EQ(table, std::vector<uint32_t>(kZoomTableEntries, 7)) << "left untouched, case " << broken;
        if (fs::is_directory(path))
            break;
        EXPECT_NE(log.find(path), std::string::npos) << log;
        ASSERT_TRUE(cache.Store(m_Table));
        EXPECT_EQ(Loaded(cache), m_Table) << broken;
        EXPECT_EQ(fs::file_size(path), whole);
    }
}

TEST_F(ZoomBankCacheTest, AReadOnlyDataFolderUsesTheUserCacheFolderAndNothingWritableOnlyLogs)
{
    const CZoomBankCache readOnly(Unwritable(), User());
    ASSERT_TRUE(readOnly.Store(m_Table));
    EXPECT_TRUE(fs::exists(readOnly.GetUserPath()));
    EXPECT_EQ(Loaded(readOnly), m_Table);
    // A whole file in the data folder comes first.
    const CZoomBankCache both(Data(), User());
    WriteZoomBankFile(both.GetDataPath(), std::vector<uint32_t>(kZoomTableEntries, 5));
    EXPECT_EQ(Loaded(both), std::vector<uint32_t>(kZoomTableEntries, 5));

    const CZoomBankCache nowhere(Unwritable(), (m_Folder / "plain_file" / "user").string());
    std::string log = CaptureStderr([&] { EXPECT_FALSE(nowhere.Store(m_Table)); });
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
    EXPECT_NE(log.find("computed at every start"), std::string::npos) << log;
}

TEST(ZoomBankCache, TheUserFolderFollowsXdgCacheHomeThenHome)
{
    const char* savedCache = std::getenv("XDG_CACHE_HOME");
    const char* savedHome = std::getenv("HOME");
    const std::string cacheHome = savedCache ? savedCache : "", home = savedHome ? savedHome : "";
    setenv("XDG_CACHE_HOME", "/var/cache/me", 1);
    setenv("HOME", "/home/me", 1);
    EXPECT_EQ(CZoomBankCache::UserCacheFolder(), "/var/cache/me/brovell");
    setenv("XDG_CACHE_HOME", "relative", 1);
    EXPECT_EQ(CZoomBankCache::UserCacheFolder(), "/home/me/.cache/brovell");
    unsetenv("XDG_CACHE_HOME");
    unsetenv("HOME");
    EXPECT_EQ(CZoomBankCache::UserCacheFolder(), "");
    savedCache ? setenv("XDG_CACHE_HOME", cacheHome.c_str(), 1) : unsetenv("XDG_CACHE_HOME");
    savedHome ? setenv("HOME", home.c_str(), 1) : unsetenv("HOME");
}
