// Chipsets (database section 20): a tile set image bound to per-tile terrain and passability.
#pragma once
#include "Catalog.h"

// Passability bits of a table entry.
enum : uint8_t {
    cpDown = 1,
    cpLeft = 2,
    cpRight = 4,
    cpUp = 8,
    cpAll = 15,
};

class TVudChipSetItem : public TCatalogItem {
public:
    static constexpr int LowerCount = 162; // lower tile indices 0..161
    static constexpr int UpperCount = 144; // upper tile numbers 0..143

    std::string ChipSetName;
    uint16_t TerrainIDs[LowerCount];
    uint8_t LowerFlags[LowerCount];
    uint8_t UpperFlags[UpperCount];
    int32_t WaterSequence = 0;
    int32_t WaterSpeed = 0;

    TVudChipSetItem() { Clear(); }
    static const TFieldTable Table;
    const TFieldTable* Fields() const override { return &Table; }
    void GetVarData(int ID, TCatalogVarData& vd, bool Reading) override;
    void Clear() override;

    // Out-of-range indices read 0 and ignore stores.
    int TerrainID(int lower) const;
    void SetTerrainID(int lower, int terrainID);
    int LowerFlag(int lower) const;
    void SetLowerFlag(int lower, int flags);
    int UpperFlag(int upper) const;
    void SetUpperFlag(int upper, int flags);
};

class TVudChipSet : public TCatalogOf<TVudChipSetItem> {
public:
    TVudChipSet() : TCatalogOf<TVudChipSetItem>("ChipSet no válido.") {}
};
