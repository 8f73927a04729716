#include <gtest/gtest.h>

#include "LD_ChipSet.h"
#include "LD_Ground.h"
#include "TestRecords.h"

using ByteVec = std::vector<uint8_t>;

namespace {
ByteVec repeat(std::initializer_list<uint8_t> unit, int times)
{
    ByteVec out;
    for (int i = 0; i < times; ++i)
        out.insert(out.end(), unit);
    return out;
}

ByteVec concat(std::initializer_list<ByteVec> parts)
{
    ByteVec out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}
} // namespace

TEST(ChipSet, TablesAreWrittenOnlyWhenTheyDifferFromTheirDefaults)
{
    const struct {
        const char* what;
        void (*change)(TVudChipSetItem&);
        ByteVec bytes;
    } cases[] = {
        {"cleared", [](TVudChipSetItem&) {}, {0x00}},
        {"one lower tile on terrain 2",
         [](TVudChipSetItem& c) { c.SetTerrainID(161, 2); },
         concat({{0x03, 0x82, 0x44}, repeat({0x01, 0x00}, 161), {0x02, 0x00, 0x00}})},
        {"only upper tile 0 changed", [](TVudChipSetItem& c) { c.SetUpperFlag(0, 0); }, {0x00}},
        {"upper tile 1 changed",
         [](TVudChipSetItem& c) { c.SetUpperFlag(1, 0); },
         concat({{0x05, 0x81, 0x10, 31, 0}, repeat({15}, 142), {0x00}})},
        {"lower tile 0 blocked",
         [](TVudChipSetItem& c) { c.SetLowerFlag(0, 0); },
         concat({{0x04, 0x81, 0x22, 0}, repeat({15}, 161), {0x00}})},
        {"water settings",
         [](TVudChipSetItem& c) { c.WaterSequence = 1, c.WaterSpeed = 1; },
         {0x0B, 0x01, 0x01, 0x0C, 0x01, 0x01, 0x00}},
    };
    for (const auto& c : cases) {
        TVudChipSetItem chip;
        c.change(chip);
        const ByteVec out = Save(chip);
        EXPECT_EQ(out, c.bytes) << c.what;
        TVudChipSetItem back;
        Load(back, out);
        EXPECT_EQ(Save(back), out) << c.what;
    }
}

TEST(ChipSet, UpperTileZeroComesBackAs31)
{
    TVudChipSetItem chip;
    chip.SetUpperFlag(0, 0);
    TVudChipSetItem back;
    Load(back, Save(chip));
    EXPECT_EQ(back.UpperFlag(0), 31);
}

TEST(ChipSet, WrongLengthTableKeepsDefaultsAndOutOfRangeIsHarmless)
{
    // A 3-byte lower table, then the name: the table is skipped, the name loads.
    TVudChipSetItem chip;
    Load(chip, {0x04, 0x03, 0x00, 0x00, 0x00, 0x02, 0x02, 'a', 'b', 0x00});
    EXPECT_EQ(chip.LowerFlag(0), 15);
    EXPECT_EQ(chip.ChipSetName, "ab");

    for (int bad : {-1, 162, 1000}) {
        chip.SetTerrainID(bad, 9);
        chip.SetLowerFlag(bad, 9);
        EXPECT_EQ(chip.TerrainID(bad), 0);
        EXPECT_EQ(chip.LowerFlag(bad), 0);
    }
    chip.SetUpperFlag(144, 9);
    EXPECT_EQ(chip.UpperFlag(144), 0);
    EXPECT_EQ(chip.UpperFlag(143), 15);
    EXPECT_EQ(Save(chip), (ByteVec{0x02, 0x02, 'a', 'b', 0x00}));
}

TEST(Ground, ByteExamples)
{
    const struct {
        const char* what;
        void (*change)(TVudGroundItem&);
        ByteVec bytes;
    } cases[] = {
        {"cleared: only the transparency byte", [](TVudGroundItem&) {}, {0x0B, 0x01, 0x00, 0x00}},
        {"damage -1", [](TVudGroundItem& g) { g.Damage = -1; },
         {0x02, 0x05, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F, 0x0B, 0x01, 0x00, 0x00}},
        {"vehicles flipped",
         [](TVudGroundItem& g) { g.BoatPass = 1, g.ShipPass = 1, g.AirshipPass = 0, g.AirshipLand = 0; },
         {0x05, 0x01, 0x01, 0x06, 0x01, 0x01, 0x07, 0x01, 0x00, 0x09, 0x01, 0x00, 0x0B, 0x01, 0x00, 0x00}},
        {"rate 0 and a backdrop", [](TVudGroundItem& g) { g.EncounterRate = 0, g.BattleBackName = "Mar"; },
         {0x03, 0x01, 0x00, 0x04, 0x03, 'M', 'a', 'r', 0x0B, 0x01, 0x00, 0x00}},
    };
    for (const auto& c : cases) {
        TVudGroundItem g;
        c.change(g);
        EXPECT_EQ(Save(g), c.bytes) << c.what;
        TVudGroundItem back;
        Load(back, c.bytes);
        EXPECT_EQ(Save(back), c.bytes) << c.what;
    }
}

TEST(Ground, ListLooksUpByIndexWithItsMessage)
{
    TVudGround list;
    list.Append();
    EXPECT_NE(list.ItemByIndex(0), nullptr);
    try {
        list.ItemByIndex(1);
        FAIL();
    } catch (const EVudError& e) {
        EXPECT_STREQ(e.what(), "Terreno no válido.");
    }
}
