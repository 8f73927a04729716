// The map tree file TFPLAY.lmt: the tree of maps and areas with their per-map settings, the
// display order, the selected map and the start positions; and the commit of edited maps.
#pragma once
#include <filesystem>

#include "Catalog.h"
#include "LD_Music.h"

class TVudEncountItem : public TCatalogItem {
public:
    int32_t TroopID = 1;

    TVudEncountItem() { Clear(); }
    static const TFieldTable Table;
    const TFieldTable* Fields() const override { return &Table; }
    void Clear() override { TroopID = 1; }
};

class TVudEncount : public TCatalogOf<TVudEncountItem> {
public:
    TVudEncount() : TCatalogOf("") {}
};

// The most encounter entries the editor's pages hold.
inline constexpr int kMaxEncounters = 500;

enum : uint8_t {
    ntRoot = 0,
    ntMap = 1,
    ntArea = 2,
};

class TVudMapTreeItem : public TCatalogItem {
public:
    int32_t ParentID = 0;
    int32_t Depth = 0;
    uint8_t NodeType = ntRoot;
    int32_t ScrollX = 0;
    int32_t ScrollY = 0;
    uint8_t Expanded = 0;
    uint8_t MusicType = 0; // 0 as the parent, 1 none, 2 Music
    TVudMusic Music;
    uint8_t BattleBackType = 0; // 0 as the parent, 1 from the terrain, 2 BattleBackName
    std::string BattleBackName;
    uint8_t Teleport = 0; // 0 as the parent, 1 allowed, 2 forbidden
    uint8_t Escape = 0;
    uint8_t Save = 0;
    TVudEncount Encounters;
    int32_t EncounterSteps = 0;
    int32_t AreaRect[4] = {0, 0, 0, 0}; // left, top, right, bottom on the parent map
    bool Modified = false; // its work copy holds edits not yet in the project folder

    // Deliberately not cleared: a fresh node has every plain field 0 until it is filled in.
    TVudMapTreeItem() = default;
    static const TFieldTable Table;
    const TFieldTable* Fields() const override { return &Table; }
    // Resets the map settings only; name, place in the tree, view state and area stay.
    void Clear() override;
};

class TVudMapStartPosition : public TCatalogBaseItem {
public:
    enum : int { spParty = 0, spBoat = 1, spShip = 2, spAirship = 3 };
    int32_t PartyMapID = 0, PartyX = 0, PartyY = 0;
    int32_t BoatMapID = 0, BoatX = 0, BoatY = 0;
    int32_t ShipMapID = 0, ShipX = 0, ShipY = 0;
    int32_t AirshipMapID = 0, AirshipX = 0, AirshipY = 0;

    TVudMapStartPosition() { Clear(); }
    static const TFieldTable Table;
    const TFieldTable* Fields() const override { return &Table; }
    void Clear() override;

    // Slots 0..3; out-of-range slots read 0 and ignore writes.
    int32_t MapID(int slot) const;
    int32_t X(int slot) const;
    int32_t Y(int slot) const;
    void Set(int slot, int32_t mapID, int32_t x, int32_t y);
};

inline constexpr const char* kMapTreeFormatName = "VudMapTree";
inline constexpr const char* kMapTreeFileName = "TFPLAY.lmt";
inline constexpr int kMaxMapID = 9999;

class TVudMapTree : public TCatalogOf<TVudMapTreeItem> {
public:
    std::vector<int32_t> Order; // node IDs in display order (pre-order)
    std::vector<int32_t> DeletedMaps; // project files still to delete
    int32_t ActiveMapID = 0;
    TVudMapStartPosition StartPosition;

    TVudMapTree() : TCatalogOf("Mapa no válido.") {}

    TVudMapTreeItem* ActiveItem() const { return ItemByID(ActiveMapID); }
    bool HasMaps() const { return Count() > 0; }
    bool IsModified() const;
    int OrderIndexOf(int id) const;
    void ClearTree();
    TVudMapTreeItem* AddMap(int parentID, int id);
    // The smallest map ID in 1..9999 that no node uses; 0 when all are taken.
    int FreeMapID() const;
    void DeleteMap(int id);

    // The project's TFPLAY.lmt (ProjectFolder()). Saving first commits the edited maps'
    // work copies; a work copy that cannot be read is not committed, and after everything
    // else is written an error names those maps.
    void LoadFromFile();
    void SaveToFile();

    // The file content. Loading repairs an inconsistent tree (see normalise()).
    void LoadTreeFromStream(TReader& s);
    void SaveTreeToStream(TWriter& s) const;

    // Makes order, parents and depths agree: order entries naming no node or repeated are
    // dropped, nodes missing from it appended, dangling or cyclic parents moved to the root,
    // the order rebuilt as a pre-order that keeps sibling order, and depths recomputed.
    void Normalise();
};
