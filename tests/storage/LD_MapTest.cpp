#include <gtest/gtest.h>

#include <filesystem>

#include "AtomicFile.h"
#include "LD_Map.h"
#include "TestRecords.h"

namespace fs = std::filesystem;
using ByteVec = std::vector<uint8_t>;

namespace {
void append(ByteVec& out, const ByteVec& more) { out.insert(out.end(), more.begin(), more.end()); }

ByteVec cat(ByteVec a, const ByteVec& b)
{
    append(a, b);
    return a;
}

ByteVec ber(uint32_t v)
{
    TWriter w;
    WriteBerInt(w, v);
    return w.Buf;
}

ByteVec chunk(uint32_t id, const ByteVec& payload)
{
    ByteVec out = ber(id);
    append(out, ber(uint32_t(payload.size())));
    append(out, payload);
    return out;
}

ByteVec mapFile(const ByteVec& chunks)
{
    ByteVec out = {10, 'V', 'u', 'd', 'M', 'a', 'p', 'U', 'n', 'i', 't'};
    append(out, chunks);
    out.push_back(0);
    return out;
}

ByteVec layerBytes(int cells, uint16_t v)
{
    ByteVec out;
    for (int i = 0; i < cells; ++i)
        append(out, {uint8_t(v), uint8_t(v >> 8)});
    return out;
}

void loadMap(TVudMap& map, const ByteVec& file)
{
    TReader r(file);
    map.LoadFromFileBytes(r);
}

bool contains(const ByteVec& hay, const ByteVec& needle)
{
    return std::search(hay.begin(), hay.end(), needle.begin(), needle.end()) != hay.end();
}

fs::path freshDir(const char* name)
{
    const fs::path dir = fs::path(testing::TempDir()) / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}
} // namespace

TEST(MapLayer, GetWrapsWithFloorModulo)
{
    TVudMapLayer layer(0);
    layer.Resize(20, 15);
    layer.Set(19, 0, 7);
    layer.Set(0, 14, 9);
    const struct {
        bool wx, wy;
        int x, y, want;
    } cases[] = {
        {true, false, -1, 0, 7},  {false, false, -1, 0, -1}, {true, false, -21, 0, 7},
        {true, false, 39, 0, 7},  {false, true, 0, -1, 9},   {false, true, 0, -31, 9},
        {true, true, -1, -15, 7}, {false, false, 20, 0, -1}, {false, false, 0, 15, -1},
    };
    for (const auto& c : cases) {
        layer.WrapX = c.wx;
        layer.WrapY = c.wy;
        EXPECT_EQ(layer.Get(c.x, c.y), c.want) << c.x << "," << c.y;
    }
    TVudMapLayer empty(0);
    empty.WrapX = empty.WrapY = true;
    EXPECT_EQ(empty.Get(0, 0), -1);
    EXPECT_EQ(empty.Get(-5, 3), -1);
    empty.Set(0, 0, 1); // ignored, no crash
}

TEST(MapLayer, ResizeKeepsTheTopLeftAndFillsTheRest)
{
    TVudMapLayer layer(10000);
    layer.Reset();
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 20; ++x)
            layer.Set(x, y, uint16_t(10000 + x + y));
    layer.Resize(10, 10);
    EXPECT_EQ(layer.Get(9, 9), 10018);
    layer.Resize(20, 15);
    EXPECT_EQ(layer.Get(9, 9), 10018);
    EXPECT_EQ(layer.Get(10, 0), 10000);
    EXPECT_EQ(layer.Get(0, 14), 10000);
    EXPECT_EQ(layer.Cells.size(), 300u);
}

TEST(MapFile, ClearedMapSavedOnceIs1227Bytes)
{
    const fs::path dir = freshDir("map-cleared");
    TVudMap map;
    map.Clear();
    map.SaveToFile(dir / "Map0001.lmu");
    const ByteVec bytes = ReadWholeFile(dir / "Map0001.lmu");
    EXPECT_EQ(bytes.size(), 1227u);
    ByteVec expect = {10, 'V', 'u', 'd', 'M', 'a', 'p', 'U', 'n', 'i', 't', 0x0B, 0x01, 0x00, 0x47, 0x84, 0x58};
    append(expect, ByteVec(600, 0));
    append(expect, {0x48, 0x84, 0x58});
    append(expect, layerBytes(300, 10000));
    append(expect, {0x51, 0x01, 0x00, 0x5B, 0x01, 0x01, 0x00});
    EXPECT_EQ(bytes, expect);

    map.SaveToFile(dir / "Map0001.lmu");
    EXPECT_EQ(map.SaveCount, 2);
    TVudMap back;
    back.LoadFromFile(dir / "Map0001.lmu");
    EXPECT_EQ(back.SaveCount, 2);
}

TEST(MapFile, LayerChunkLengthUsesBer)
{
    TVudMap map;
    map.Clear();
    map.SetWidth(100);
    map.SetHeight(100);
    EXPECT_TRUE(contains(map.SaveToFileBytes(), {0x47, 0x81, 0x9C, 0x20}));
}

TEST(MapFile, LayersFollowTheFinalSize)
{
    // Chunk 2 says 30, chunk 71 holds 20 x 15 cells: a 30 x 15 layer of zeros.
    {
        ByteVec c = chunk(2, {30});
        append(c, chunk(71, layerBytes(300, 5000)));
        TVudMap map;
        loadMap(map, mapFile(c));
        EXPECT_EQ(map.LowerLayer.Width, 30);
        EXPECT_EQ(map.LowerLayer.Height, 15);
        EXPECT_EQ(map.LowerLayer.Get(0, 0), 0);
        EXPECT_EQ(map.UpperLayer.Width, 30);
        EXPECT_EQ(map.UpperLayer.Get(29, 14), 10000);
    }
    // Layers before the size chunks: read at 20 x 15, then resized to 25 x 16 keeping cells.
    {
        ByteVec c = chunk(71, layerBytes(300, 5001));
        append(c, chunk(72, layerBytes(300, 10005)));
        append(c, chunk(2, {25}));
        append(c, chunk(3, {16}));
        TVudMap map;
        loadMap(map, mapFile(c));
        EXPECT_EQ(map.Width, 25);
        EXPECT_EQ(map.Height, 16);
        for (const TVudMapLayer* l : {&map.LowerLayer, &map.UpperLayer}) {
            EXPECT_EQ(l->Width, 25);
            EXPECT_EQ(l->Height, 16);
            EXPECT_EQ(l->Cells.size(), 400u);
        }
        EXPECT_EQ(map.LowerLayer.Get(19, 14), 5001);
        EXPECT_EQ(map.LowerLayer.Get(20, 14), 0);
        EXPECT_EQ(map.UpperLayer.Get(0, 15), 10000);
        EXPECT_EQ(map.UpperLayer.Get(0, 0), 10005);
    }
}

TEST(MapFile, SizeBombsAreReadErrors)
{
    const ByteVec bad[] = {
        chunk(2, {0}),                             // width 0
        chunk(3, ber(10000)),                      // height beyond 9999
        chunk(2, {0x8F, 0xFF, 0xFF, 0xFF, 0x7F}),  // width -1
        cat(chunk(2, ber(9999)), chunk(3, ber(200))), // 9999 x 200 with no cells behind it
    };
    for (const ByteVec& c : bad) {
        TVudMap map;
        EXPECT_THROW(loadMap(map, mapFile(c)), EReadError);
    }
    ByteVec huge = chunk(2, ber(9999));
    append(huge, chunk(3, ber(9999)));
    append(huge, chunk(71, layerBytes(10, 0)));
    TVudMap map;
    EXPECT_THROW(loadMap(map, mapFile(huge)), EReadError);
    // Up to the editor's own 999 x 999 a missing layer is simply filled.
    ByteVec big = chunk(2, ber(999));
    append(big, chunk(3, ber(999)));
    loadMap(map, mapFile(big));
    EXPECT_EQ(map.UpperLayer.Cells.size(), 999u * 999u);
    EXPECT_EQ(map.UpperLayer.Get(998, 998), 10000);
}

TEST(MapFile, AbsentUnknownAndJunkChunks)
{
    // Condition: HeroID 5, its end, then two junk bytes inside its chunk.
    ByteVec page = {0x01, 0x01};
    append(page, chunk(2, {0x07, 0x01, 0x05, 0x00, 0xFF, 0xFF}));
    append(page, chunk(23, {3}));
    page.push_back(0);
    ByteVec event = {0x01, 0x01};
    append(event, chunk(2, {4}));
    append(event, chunk(5, page));
    event.push_back(0);
    ByteVec c = chunk(1, {3});
    append(c, chunk(500, {'x', 'y', 'z'}));
    append(c, chunk(81, event));
    TVudMap map;
    loadMap(map, mapFile(c));
    EXPECT_EQ(map.ChipSetID, 3);
    EXPECT_EQ(map.Width, 20); // absent: Clear's value
    EXPECT_EQ(map.UpperLayer.Get(5, 5), 10000);
    const TVudEventItem* ev = map.Events.ItemByID(1);
    EXPECT_EQ(ev->X, 4);
    const TVudEventPageItem* p = ev->Pages.ItemByID(1);
    EXPECT_EQ(p->Condition.HeroID, 5);
    EXPECT_EQ(p->Direction, 3);
    EXPECT_EQ(p->Script.Count(), 1);
    const ByteVec saved = map.SaveToFileBytes();
    EXPECT_FALSE(contains(saved, {0x83, 0x74, 0x03, 'x'})); // chunk 500 is dropped
    TVudMap again;
    loadMap(again, saved);
    EXPECT_EQ(again.SaveToFileBytes(), saved);
}

TEST(MapFile, WrongFormatMissingFileAndLenientMode)
{
    const fs::path dir = freshDir("map-format");
    ByteVec wrong = {10, 'V', 'u', 'd', 'M', 'a', 'p', 'T', 'r', 'e', 'e', 0x00};
    SaveFileAtomic(dir / "Map0002.lmu", wrong);
    TVudMap map;
    try {
        map.LoadFromFile(dir / "Map0002.lmu");
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_STREQ(e.what(), "Error leyendo flujo");
    }
    EXPECT_THROW(map.LoadFromFile(dir / "Map0009.lmu"), EVudError);
    SetLenientMode(true);
    EXPECT_NO_THROW(map.LoadFromFile(dir / "Map0002.lmu"));
    EXPECT_NO_THROW(map.LoadFromFile(dir / "Map0009.lmu"));
    EXPECT_THROW(map.LoadFromFileStrict(dir / "Map0009.lmu"), EVudError);
    EXPECT_EQ(map.Width, 20);
    // A file cut inside its upper layer keeps what was read, with layers of the map's size.
    TVudMap big;
    big.Clear();
    big.SetWidth(30);
    big.ChipSetID = 5;
    const ByteVec full = big.SaveToFileBytes();
    SaveFileAtomic(dir / "Map0003.lmu", ByteVec(full.begin(), full.begin() + 1000));
    TVudMap cut;
    EXPECT_NO_THROW(cut.LoadFromFile(dir / "Map0003.lmu"));
    EXPECT_EQ(cut.ChipSetID, 5);
    EXPECT_EQ(cut.Width, 30);
    EXPECT_EQ(cut.UpperLayer.Cells.size(), 450u);
    SetLenientMode(false);
    EXPECT_EQ(map.Width, 20);
    EXPECT_EQ(map.LowerLayer.Cells.size(), 300u);
}

TEST(MapFile, EveryTruncationIsAReadError)
{
    TVudMap map;
    map.Clear();
    map.SetWidth(21);
    auto* ev = map.Events.Obtain(1);
    ev->Name = "Cofre";
    ev->Pages.ItemByID(1)->Script.Lines.insert(ev->Pages.ItemByID(1)->Script.Lines.begin(),
                                              TVudEventScriptLine(10110, 0, "Hola"));
    const ByteVec full = map.SaveToFileBytes();
    for (size_t n = 0; n < full.size(); ++n) {
        TVudMap m;
        const ByteVec cut(full.begin(), full.begin() + std::ptrdiff_t(n));
        EXPECT_THROW(loadMap(m, cut), EReadError) << n;
    }
}

TEST(MapOps, ShiftWrapsCellsAndEvents)
{
    TVudMap map;
    map.Clear();
    map.LowerLayer.Set(19, 0, 5001);
    map.UpperLayer.Set(0, 0, 10003);
    map.Events.Obtain(1)->X = 19;
    map.Events.Obtain(2)->Y = 0;
    int changedW = 0;
    map.OnCellsChanged = [&](int, int, int w, int h) { changedW = w * h; };
    map.Shift(1, 0);
    EXPECT_TRUE(map.Modified); // the views repaint the whole map
    EXPECT_EQ(changedW, 300);
    EXPECT_EQ(map.Events.Find(1)->X, 0);
    EXPECT_EQ(map.LowerLayer.Get(0, 0), 5001);
    EXPECT_EQ(map.UpperLayer.Get(1, 0), 10003);
    map.Shift(-41, -16); // wraps like (-1, -1)
    EXPECT_EQ(map.LowerLayer.Get(19, 14), 5001);
    EXPECT_EQ(map.Events.Find(1)->X, 19);
    EXPECT_EQ(map.Events.Find(2)->Y, 14);

    map.Unload();
    EXPECT_EQ(map.Width, 0);
    map.Shift(3, 3); // nothing to move, nothing to divide by
    EXPECT_TRUE(map.LowerLayer.Cells.empty());
}

TEST(MapOps, SizeAndScrollTypeDriveTheLayers)
{
    TVudMap map;
    map.Clear();
    map.SetWidth(50);
    map.SetHeight(40);
    EXPECT_EQ(map.UpperLayer.Cells.size(), 2000u);
    map.SetScrollType(2);
    EXPECT_TRUE(map.LowerLayer.WrapX);
    EXPECT_FALSE(map.UpperLayer.WrapY);
    ByteVec c = chunk(11, {3});
    loadMap(map, mapFile(c));
    EXPECT_TRUE(map.LowerLayer.WrapX && map.UpperLayer.WrapY);
}

TEST(MapFiles, WorkCopiesAndProjectFiles)
{
    const fs::path project = freshDir("map-project"), scratch = freshDir("map-scratch");
    SetProjectFolder(project);
    SetScratchFolder(scratch);
    TVudMap map;
    map.Clear();
    map.ChipSetID = 4;
    map.Modified = true;
    map.SaveWork(12);
    EXPECT_FALSE(map.Modified);
    EXPECT_TRUE(fs::exists(scratch / "Map0012.lmu"));
    TVudMap back;
    back.LoadWork(12);
    EXPECT_EQ(back.ID, 12);
    EXPECT_EQ(back.ChipSetID, 4);
    back.SaveToProject(12);
    EXPECT_TRUE(fs::exists(project / "Map0012.lmu"));
    back.DeleteWork(12);
    back.DeleteFromProject(12);
    EXPECT_FALSE(fs::exists(scratch / "Map0012.lmu"));
    EXPECT_FALSE(fs::exists(project / "Map0012.lmu"));

    SetChipSetLookup([](int id) { return id <= 2; });
    map.SaveToProject(3);
    back.LoadFromProject(3);
    EXPECT_EQ(back.ChipSetID, 1);
    SetChipSetLookup(nullptr);

    SetScratchFolder({});
    EXPECT_THROW(map.SaveWork(1), EVudError);
    SetProjectFolder({});
}
