#include <gtest/gtest.h>

#include <filesystem>

#include "AtomicFile.h"
#include "LD_Map.h"
#include "LD_MapTree.h"
#include "TestRecords.h"

namespace fs = std::filesystem;
using ByteVec = std::vector<uint8_t>;

namespace {
fs::path freshDir(const std::string& name)
{
    const fs::path dir = fs::path(testing::TempDir()) / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

// Root 0 with maps added as (parent, id) pairs, in order.
void build(TVudMapTree& tree, std::initializer_list<std::pair<int, int>> maps)
{
    tree.ClearTree();
    tree.AddMap(0, 0)->NodeType = ntRoot;
    for (auto [parent, id] : maps) {
        TVudMapTreeItem* n = tree.AddMap(parent, id);
        n->NodeType = ntMap;
        n->Clear();
    }
}

ByteVec treeBytes(const TVudMapTree& tree)
{
    TWriter w;
    tree.SaveTreeToStream(w);
    return w.Buf;
}

struct ScopedFolders {
    fs::path project, scratch;
    explicit ScopedFolders(const std::string& name)
        : project(freshDir(name + "-project")), scratch(freshDir(name + "-scratch"))
    {
        SetProjectFolder(project);
        SetScratchFolder(scratch);
    }
    ~ScopedFolders()
    {
        SetProjectFolder({});
        SetScratchFolder({});
    }
};
} // namespace

TEST(MapTreeRecords, ByteExamples)
{
    TVudEncountItem e;
    e.TroopID = 0;
    EXPECT_EQ(Save(e), ByteVec{0x00});
    TVudEncountItem back;
    Load(back, Save(e));
    EXPECT_EQ(back.TroopID, 1);

    TVudMapTreeItem node;
    node.Clear();
    const ByteVec cleared = Save(node);
    const ByteVec steps = {0x2C, 0x01, 0x00};
    EXPECT_EQ(std::find(cleared.begin(), cleared.end(), 0x2C), cleared.end());
    node.EncounterSteps = 0;
    const ByteVec zero = Save(node);
    EXPECT_NE(std::search(zero.begin(), zero.end(), steps.begin(), steps.end()), zero.end());
}

TEST(MapTreeRecords, FreshNodeIsNotClearedButLoadIs)
{
    TVudMapTreeItem fresh;
    EXPECT_EQ(fresh.EncounterSteps, 0);
    EXPECT_EQ(fresh.Music.Name, "(OFF)");
    fresh.Name = "Bosque";
    fresh.Depth = 2;
    fresh.Clear();
    EXPECT_EQ(fresh.Name, "Bosque");
    EXPECT_EQ(fresh.Depth, 2);
    EXPECT_EQ(fresh.EncounterSteps, 25);
}

TEST(MapTreeFile, RootOnlyTree)
{
    TVudMapTree tree;
    tree.AddMap(0, 0)->Name = "Juego";
    const ByteVec expect = {10, 'V', 'u', 'd', 'M', 'a', 'p', 'T', 'r', 'e', 'e',
                            0x01, 0x00,                               // one node, ID 0
                            0x01, 0x05, 'J', 'u', 'e', 'g', 'o', 0x04, 0x01, 0x00, // name, type
                            0x0B, 0x01, 0x00, 0x0C, 0x08, 0x01, 0x05, '(', 'O', 'F', 'F', ')', 0x00,
                            0x15, 0x01, 0x00, 0x1F, 0x01, 0x00, 0x20, 0x01, 0x00, 0x21, 0x01, 0x00,
                            0x29, 0x01, 0x00, 0x2C, 0x01, 0x00, // fresh node: steps 0
                            0x33, 0x10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x00,
                            0x01, 0x00,                               // order: [0]
                            0x00,                                     // active map
                            0x00};                                    // start positions
    EXPECT_EQ(treeBytes(tree), expect);
    TVudMapTree back;
    TReader r(expect);
    back.LoadTreeFromStream(r);
    EXPECT_EQ(treeBytes(back), expect);
}

TEST(MapTreeOps, AddMapPlacesUnderItsParent)
{
    TVudMapTree tree;
    build(tree, {{0, 1}, {1, 2}, {0, 3}, {3, 4}});
    EXPECT_EQ(tree.Order, (std::vector<int32_t>{0, 1, 2, 3, 4}));
    tree.AddMap(1, 5); // after 1's subtree, before 3
    tree.AddMap(2, 6); // 2 is followed by a shallower node: the subtree ends there
    EXPECT_EQ(tree.Order, (std::vector<int32_t>{0, 1, 2, 6, 5, 3, 4}));
    EXPECT_EQ(tree.Find(6)->Depth, 3);
    tree.AddMap(77, 8); // unknown parent: appended
    EXPECT_EQ(tree.Order.back(), 8);
}

TEST(MapTreeOps, FreeMapIDIsTheSmallestGap)
{
    TVudMapTree tree;
    EXPECT_EQ(tree.FreeMapID(), 1);
    build(tree, {{0, 1}, {0, 2}, {0, 4}});
    EXPECT_EQ(tree.FreeMapID(), 3);
    tree.AddMap(0, 3);
    EXPECT_EQ(tree.FreeMapID(), 5);
    for (int id = 5; id <= kMaxMapID; ++id)
        tree.Obtain(id);
    EXPECT_EQ(tree.FreeMapID(), 0);
}

TEST(MapTreeOps, DeleteMapTakesItsSubtreeAndItsStartPositions)
{
    TVudMapTree tree;
    build(tree, {{0, 1}, {1, 2}, {1, 3}, {0, 4}});
    tree.StartPosition.Set(TVudMapStartPosition::spParty, 3, 5, 6); // a child of the deleted map
    tree.StartPosition.Set(TVudMapStartPosition::spBoat, 1, 2, 2);
    tree.StartPosition.Set(TVudMapStartPosition::spShip, 4, 1, 1);
    tree.DeleteMap(1);
    EXPECT_EQ(tree.DeletedMaps, (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(tree.Order, (std::vector<int32_t>{0, 4}));
    EXPECT_EQ(tree.Count(), 2);
    EXPECT_EQ(tree.StartPosition.MapID(0), 0);
    EXPECT_EQ(tree.StartPosition.X(0), 0);
    EXPECT_EQ(tree.StartPosition.MapID(1), 0);
    EXPECT_EQ(tree.StartPosition.MapID(2), 4);
    EXPECT_TRUE(tree.IsModified());
    tree.DeleteMap(42); // not in the tree: nothing happens
    EXPECT_EQ(tree.Count(), 2);
}

TEST(MapTreeFile, LoadMakesTheTreeConsistent)
{
    const struct {
        const char* what;
        std::vector<std::pair<int, int>> nodes; // id, parent
        std::vector<int32_t> order;
        std::vector<int32_t> wantOrder;
        std::vector<int32_t> wantDepth; // per wantOrder entry
    } cases[] = {
        {"unknown and repeated entries dropped", {{0, 0}, {1, 0}, {2, 1}}, {0, 9, 1, 1, 2, 2}, {0, 1, 2}, {0, 1, 2}},
        {"missing nodes appended", {{0, 0}, {1, 0}, {2, 0}}, {0, 2}, {0, 2, 1}, {0, 1, 1}},
        {"dangling parent goes to the root", {{0, 0}, {1, 7}, {2, 1}}, {0, 1, 2}, {0, 1, 2}, {0, 1, 2}},
        {"cycle broken at the root", {{0, 0}, {1, 2}, {2, 1}, {3, 3}}, {0, 1, 2, 3}, {0, 1, 2, 3}, {0, 1, 2, 1}},
        {"order regrouped as a pre-order", {{0, 0}, {1, 0}, {2, 0}, {3, 1}}, {0, 1, 2, 3}, {0, 1, 3, 2}, {0, 1, 2, 1}},
    };
    for (const auto& c : cases) {
        TVudMapTree tree;
        for (auto [id, parent] : c.nodes) {
            TVudMapTreeItem* n = tree.Obtain(id);
            n->ParentID = parent;
            n->Depth = 42;
        }
        tree.Order = c.order;
        const ByteVec bytes = treeBytes(tree);
        TVudMapTree back;
        TReader r(bytes);
        back.LoadTreeFromStream(r);
        EXPECT_EQ(back.Order, c.wantOrder) << c.what;
        std::vector<int32_t> depths;
        for (int32_t id : back.Order)
            depths.push_back(back.Find(id)->Depth);
        EXPECT_EQ(depths, c.wantDepth) << c.what;
    }
    // A tree the editor wrote is left exactly as it was.
    TVudMapTree tree;
    build(tree, {{0, 1}, {1, 2}, {0, 3}});
    const ByteVec bytes = treeBytes(tree);
    TVudMapTree back;
    TReader r(bytes);
    back.LoadTreeFromStream(r);
    EXPECT_EQ(treeBytes(back), bytes);
}

TEST(MapTreeFile, MalformedFilesRaiseAndLeaveAnEmptyTree)
{
    TVudMapTree tree;
    build(tree, {{0, 1}, {1, 2}});
    tree.StartPosition.Set(0, 1, 3, 4);
    tree.Find(2)->Encounters.Obtain(1)->TroopID = 3;
    const ByteVec full = treeBytes(tree);
    for (size_t n = 0; n < full.size(); ++n) {
        TVudMapTree back;
        const ByteVec cut(full.begin(), full.begin() + std::ptrdiff_t(n));
        TReader r(cut);
        EXPECT_THROW(back.LoadTreeFromStream(r), EReadError) << n;
        EXPECT_EQ(back.Count(), 0);
        EXPECT_TRUE(back.Order.empty());
    }
    ByteVec bomb = {10, 'V', 'u', 'd', 'M', 'a', 'p', 'T', 'r', 'e', 'e', 0x00, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F, 0x00};
    TVudMapTree back;
    TReader r(bomb);
    EXPECT_THROW(back.LoadTreeFromStream(r), EReadError);
}

TEST(MapTreeSave, CommitsWorkCopiesDeletesFilesAndWritesTheTree)
{
    ScopedFolders folders("tree-save");
    TVudMapTree tree;
    build(tree, {{0, 1}, {1, 2}, {1, 3}, {0, 5}});
    TVudMap map;
    map.Clear();
    for (int id : {1, 2, 3, 5})
        map.SaveToProject(id);
    map.ChipSetID = 7;
    map.SaveWork(5);
    tree.Find(5)->Modified = true;

    tree.DeleteMap(1);
    tree.SaveToFile();
    EXPECT_FALSE(tree.IsModified());
    for (int id : {1, 2, 3})
        EXPECT_FALSE(fs::exists(folders.project / MapFileName(id))) << id;
    EXPECT_FALSE(fs::exists(folders.scratch / "Map0005.lmu"));
    TVudMap committed;
    committed.LoadFromProject(5);
    EXPECT_EQ(committed.ChipSetID, 7);
    EXPECT_EQ(committed.SaveCount, 6); // four project saves, the work copy, the commit

    TVudMapTree reloaded;
    reloaded.LoadFromFile();
    EXPECT_EQ(reloaded.Order, (std::vector<int32_t>{0, 5}));
}

TEST(MapTreeSave, ReusedIDKeepsItsFileAsAMapAndLosesItAsAnArea)
{
    for (const uint8_t type : {uint8_t(ntMap), uint8_t(ntArea)}) {
        ScopedFolders folders("tree-readd");
        TVudMapTree tree;
        build(tree, {{0, 5}});
        TVudMap map;
        map.Clear();
        map.SaveToProject(5);
        tree.DeleteMap(5);
        tree.AddMap(0, 5)->NodeType = type;
        tree.SaveToFile();
        EXPECT_EQ(fs::exists(folders.project / "Map0005.lmu"), type == ntMap) << int(type);
    }
}

TEST(MapTreeSave, LostWorkCopyIsNotCommitted)
{
    ScopedFolders folders("tree-lost");
    TVudMapTree tree;
    build(tree, {{0, 1}, {0, 2}});
    TVudMap map;
    map.Clear();
    map.ChipSetID = 3;
    map.SaveToProject(1);
    map.SaveToProject(2);
    map.ChipSetID = 9;
    map.SaveWork(2);
    tree.Find(1)->Modified = true; // its work copy is missing
    tree.Find(2)->Modified = true;
    SetLenientMode(true); // even the editor's lenient loading must not commit an empty map
    try {
        tree.SaveToFile();
        FAIL();
    } catch (const EVudError& e) {
        EXPECT_NE(std::string(e.what()).find("0001"), std::string::npos) << e.what();
    }
    SetLenientMode(false);
    TVudMap back;
    back.LoadFromProject(1);
    EXPECT_EQ(back.ChipSetID, 3);
    back.LoadFromProject(2);
    EXPECT_EQ(back.ChipSetID, 9);
    EXPECT_TRUE(tree.Find(1)->Modified);
    EXPECT_FALSE(tree.Find(2)->Modified);
    EXPECT_TRUE(fs::exists(folders.project / kMapTreeFileName));
}

TEST(MapTreeSave, EmptyTreeWritesNothingAndLoadDropsWorkCopies)
{
    ScopedFolders folders("tree-empty");
    TVudMapTree tree;
    tree.SaveToFile();
    EXPECT_FALSE(fs::exists(folders.project / kMapTreeFileName));

    build(tree, {{0, 1}});
    tree.SaveToFile();
    TVudMap map;
    map.Clear();
    map.SaveWork(1);
    tree.Find(1)->Modified = true;
    tree.DeletedMaps.push_back(4);
    tree.LoadFromFile();
    EXPECT_FALSE(fs::exists(folders.scratch / "Map0001.lmu"));
    EXPECT_FALSE(tree.IsModified());
    SetProjectFolder(folders.scratch);
    EXPECT_THROW(tree.LoadFromFile(), EVudError);
}
