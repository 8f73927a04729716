#include "LD_ChipSet.h"

#include <algorithm>

const TFieldTable TVudChipSetItem::Table = {
    String<&TVudChipSetItem::Name>(1, "Name", true),
    String<&TVudChipSetItem::ChipSetName>(2, "ChipSetName", true),
    Bytes<&TVudChipSetItem::TerrainIDs>(3, "TerrainIDs"),
    Bytes<&TVudChipSetItem::LowerFlags>(4, "LowerFlags"),
    Bytes<&TVudChipSetItem::UpperFlags>(5, "UpperFlags"),
    Integer<&TVudChipSetItem::WaterSequence>(11, "WaterSequence", 0),
    Integer<&TVudChipSetItem::WaterSpeed>(12, "WaterSpeed", 0),
};

void TVudChipSetItem::Clear()
{
    Name.clear();
    ChipSetName.clear();
    std::fill(std::begin(TerrainIDs), std::end(TerrainIDs), uint16_t(1));
    std::fill(std::begin(LowerFlags), std::end(LowerFlags), uint8_t(cpAll));
    std::fill(std::begin(UpperFlags), std::end(UpperFlags), uint8_t(cpAll));
    UpperFlags[0] = 31; // the empty upper tile
    WaterSequence = 0;
    WaterSpeed = 0;
}

void TVudChipSetItem::GetVarData(int ID, TCatalogVarData& vd, bool Reading)
{
    TCatalogBaseItem::GetVarData(ID, vd, Reading);
    if (Reading)
        return;
    // Tables holding only their defaults stay out of the file. Upper tile 0 does not count:
    // the reader gives it 31 again.
    auto allAre = [](const auto* first, const auto* last, int value) {
        return std::all_of(first, last, [value](auto v) { return int(v) == value; });
    };
    bool plain = false;
    if (ID == 3)
        plain = allAre(std::begin(TerrainIDs), std::end(TerrainIDs), 1);
    else if (ID == 4)
        plain = allAre(std::begin(LowerFlags), std::end(LowerFlags), cpAll);
    else if (ID == 5)
        plain = allAre(std::begin(UpperFlags) + 1, std::end(UpperFlags), cpAll);
    if (plain)
        vd.Kind = vkNone;
}

int TVudChipSetItem::TerrainID(int lower) const
{
    return (lower >= 0 && lower < LowerCount) ? TerrainIDs[lower] : 0;
}

void TVudChipSetItem::SetTerrainID(int lower, int terrainID)
{
    if (lower >= 0 && lower < LowerCount)
        TerrainIDs[lower] = uint16_t(terrainID);
}

int TVudChipSetItem::LowerFlag(int lower) const
{
    return (lower >= 0 && lower < LowerCount) ? LowerFlags[lower] : 0;
}

void TVudChipSetItem::SetLowerFlag(int lower, int flags)
{
    if (lower >= 0 && lower < LowerCount)
        LowerFlags[lower] = uint8_t(flags);
}

int TVudChipSetItem::UpperFlag(int upper) const
{
    return (upper >= 0 && upper < UpperCount) ? UpperFlags[upper] : 0;
}

void TVudChipSetItem::SetUpperFlag(int upper, int flags)
{
    if (upper >= 0 && upper < UpperCount)
        UpperFlags[upper] = uint8_t(flags);
}
