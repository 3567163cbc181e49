#include "kelvo/gpu/ResourceManager.h"

#include "support/CaptureStderr.h"
#include "support/TestFiles.h"

#include <string>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace
{
// A data tree in a fresh scratch folder. The registry is process-wide, so every file name
// carries the tree's unique tag, its folder's name.
class CDataTree
{
public:
    // Creates the file at relative path folder/name, name prefixed with the tag; returns the
    // tagged bare name.
    std::string AddFile(const std::string& folder, const std::string& name)
    {
        const std::string tagged = Tagged(name);
        fs::create_directories(m_Root / folder);
        WriteFile(m_Root / folder / tagged, "x");
        return tagged;
    }
    // Hidden names keep their leading "." before the tag.
    std::string Tagged(const std::string& name) const
    {
        return name.starts_with('.') ? "." + m_Tag + name : m_Tag + "_" + name;
    }
    std::string PathOf(const std::string& relative) const { return (m_Root / relative).string(); }
    const fs::path& Root() const { return m_Root; }

private:
    fs::path m_Root = MakeScratchFolder("brovell_registry");
    std::string m_Tag = m_Root.filename().string();
};
}

TEST(CResourceManager, ScanRegistersBareNamesSkipsHiddenEntriesAndLetsTheLaterFileWin)
{
    CDataTree tree;
    const std::string top = tree.AddFile("", "top.jpg");
    const std::string mesh = tree.AddFile("sub1", "ship.am");
    const std::string duplicate = tree.AddFile("sub1", "a.jpg");
    tree.AddFile("sub2/deeper", "a.jpg");
    const std::string hiddenFile = tree.AddFile("", ".hidden.jpg");
    const std::string inHiddenFolder = tree.AddFile(".git", "secret.jpg");
    const std::string inNestedHidden = tree.AddFile("sub2/.cache", "inner.jpg");
    const std::string nestedHiddenFile = tree.AddFile("sub2/deeper", ".dot.e");

    CResourceManager& registry = CResourceManager::Instance();
    uint32_t entered = 0;
    const std::string log = CaptureStderr([&] { entered = registry.ScanDirectory(tree.Root().string()); });
    EXPECT_EQ(entered, 3u); // top, ship and the first a.jpg

    EXPECT_EQ(registry.GetPath(top), tree.PathOf(top));
    EXPECT_EQ(registry.GetPath(mesh), tree.PathOf("sub1/" + mesh));
    for (const std::string& hidden : {hiddenFile, inHiddenFolder, inNestedHidden, nestedHiddenFile})
        EXPECT_EQ(registry.GetPath(hidden), "") << hidden;

    // One redefinition, logged once; the file named "new" is the one that stays registered.
    const std::string first = tree.PathOf("sub1/" + duplicate);
    const std::string second = tree.PathOf("sub2/deeper/" + duplicate);
    const std::string winner = registry.GetPath(duplicate);
    ASSERT_TRUE(winner == first || winner == second) << winner;
    const std::string loser = winner == first ? second : first;
    EXPECT_EQ(log, "[CResourceManager::AddEntry] Resource redefinition!\n"
                   "[CResourceManager::AddEntry] New file: " +
                       winner +
                       "\n"
                       "[CResourceManager::AddEntry] Old file: " +
                       loser + "\n");
}

TEST(CResourceManager, PathsAreFullAndNormalWhateverTheSpellingAndUnknownOnesEmpty)
{
    CDataTree tree;
    const std::string name = tree.AddFile("", "music.mp3");
    tree.AddFile("sub", "other.mp3");
    CResourceManager& registry = CResourceManager::Instance();
    EXPECT_EQ(registry.ScanDirectory(tree.Root().string() + "/sub/../"), 2u);
    EXPECT_EQ(registry.GetPath(name), tree.PathOf(name)); // no "..", no doubled separator

    // Scanning again finds only files already known: each is a redefinition by itself.
    uint32_t entered = 1;
    const std::string log = CaptureStderr([&] { entered = registry.ScanDirectory(tree.Root().string()); });
    EXPECT_EQ(entered, 0u);
    EXPECT_NE(log.find("Old file: " + tree.PathOf(name) + "\n"), std::string::npos);
    EXPECT_EQ(registry.GetPath(name), tree.PathOf(name));

    // Missing folders and unknown names give nothing.
    EXPECT_EQ(registry.ScanDirectory(tree.PathOf("no_such_folder")), 0u);
    EXPECT_EQ(registry.GetPath(tree.Tagged("unknown.jpg")), "");
    EXPECT_EQ(registry.GetPath(""), "");
}

TEST(CResourceManager, LinkBackUpTheTreeIsNotFollowedForever)
{
    CDataTree tree;
    const std::string name = tree.AddFile("inner", "once.x");
    fs::create_directory_symlink(tree.Root(), tree.Root() / "inner" / "loop");
    CResourceManager& registry = CResourceManager::Instance();
    EXPECT_EQ(registry.ScanDirectory(tree.Root().string()), 1u);
    EXPECT_EQ(registry.GetPath(name), tree.PathOf("inner/" + name));
}
