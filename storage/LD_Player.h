// Heroes (database section 11), their learning lists, and the per-ID byte arrays that heroes,
// skills, items and enemies keep per condition, attribute or hero.
#pragma once
#include <cstdint>

#include "Catalog.h"

// One byte per entry of another database list (entry n is byte n - 1). Stored as a count chunk
// followed by a block chunk; the block's length is what counts when reading, and the count is
// recomputed from it when saving.
class TVudIdArray {
public:
    TVudIdArray(uint8_t neutral, uint8_t growFill) : Neutral(neutral), GrowFill(growFill) {}

    int Count() const { return int(Bytes.size()); }
    // Entries outside 1..Count read as the neutral value.
    uint8_t Get(int id) const;
    // Ignored outside 1..Count.
    void Set(int id, uint8_t value);
    void SetCount(int count);
    void Clear() { Bytes.clear(); }
    // Drops trailing neutral entries and every entry above `limit` (limit < 0: no limit).
    void Trim(int limit);

    TBlock Bytes;
    const uint8_t Neutral;
    const uint8_t GrowFill;
    // Storage the count chunk is read into (and ignored) or written from.
    int32_t CountChunk = 0;
};

// Condition and attribute arrays are cut on save to the sizes of these lists, or else to those of
// the editor's database (TVudDataBase::Instance); with neither, only trailing neutral entries go.
void SetVudArrayLimitLists(const TCatalog* conditions, const TCatalog* attributes);
int VudConditionLimit();
int VudAttributeLimit();

// Answers the count chunk and the block chunk of an array in a record's GetVarData.
void DefineIdArrayCount(TCatalogVarData& vd, TVudIdArray& array, bool reading);
void DefineIdArrayBlock(TCatalogVarData& vd, TVudIdArray& array);

class TVudPlayerLearningItem : public TCatalogItem {
public:
    int32_t Level = 1;
    int32_t SkillID = 1;

    TVudPlayerLearningItem() { Clear(); }
    static const TFieldTable Table;
    const TFieldTable* Fields() const override { return &Table; }
    void Clear() override;
};

class TVudPlayerLearning : public TCatalogOf<TVudPlayerLearningItem> {
public:
    // Orders the entries by level, then skill, and renumbers them 1..n (after every edit).
    void SortByLevel();
};

class TVudPlayerItem : public TCatalogItem {
public:
    static constexpr int CurveCount = 6;
    static constexpr int LevelCount = 50;
    static constexpr int EquipmentSlots = 5;

    std::string Title;
    std::string CharSetName;
    int32_t CharSetIndex = 0;
    uint8_t Transparent = 0;
    int32_t InitialLevel = 1;
    int32_t MaxLevel = 50;
    uint8_t CriticalEnabled = 1;
    int32_t CriticalRate = 30;
    std::string FaceName;
    int32_t FaceIndex = 0;
    uint8_t TwoWeapons = 0;
    uint8_t FixedEquipment = 0;
    uint8_t AiControl = 0;
    uint8_t StrongDefense = 0;
    uint16_t Curves[CurveCount][LevelCount] = {};
    int32_t ExpBase = 30;
    int32_t ExpExtra = 30;
    int32_t ExpCorrection = 0;
    uint16_t InitialEquipment[EquipmentSlots] = {};
    int32_t UnarmedAnimation = 1;
    TVudPlayerLearning Learning;
    uint8_t CustomCommand = 0;
    std::string CommandName;
    // Cut to the database's lists when saved, so they are mutable for the const save.
    mutable TVudIdArray ConditionRanks{2, 2};
    mutable TVudIdArray AttributeRanks{2, 2};

    TVudPlayerItem() { Clear(); }
    static const TFieldTable Table;
    const TFieldTable* Fields() const override { return &Table; }
    void GetVarData(int ID, TCatalogVarData& vd, bool Reading) override;
    void Clear() override;
    void SaveToStream(TWriter& s) const override;

    // Curve 0..5 (max HP, max MP, attack, defence, spirit, agility) at level 1..50; other
    // indices read 0 and are ignored on writing.
    int Curve(int curve, int level) const;
    void SetCurve(int curve, int level, int value);
    // Slot 0..4 (weapon, shield, armour, helmet, accessory); likewise bounded.
    int Equipment(int slot) const;
    void SetEquipment(int slot, int itemID);

    static int DefaultCurve(int curve, int level);
};

class TVudPlayer : public TCatalogOf<TVudPlayerItem> {
public:
    TVudPlayer() : TCatalogOf("Héroe no válido.") {}
};
