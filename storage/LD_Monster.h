// Enemies (database section 14) and their action patterns.
#pragma once
#include "LD_Player.h"

class TVudMonsterActItem : public TCatalogItem {
public:
    uint8_t ActionKind = 0;
    uint8_t BasicAction = 0;
    int32_t SkillID = 1;
    int32_t TransformID = 1;
    uint8_t ConditionType = 0;
    int32_t ConditionMin = 0;
    int32_t ConditionMax = 0;
    int32_t ConditionSwitchID = 1;
    uint8_t SwitchOn = 0;
    int32_t SwitchOnID = 1;
    uint8_t SwitchOff = 0;
    int32_t SwitchOffID = 1;
    int32_t Rating = 50;

    TVudMonsterActItem() { Clear(); }
    static const TFieldTable Table;
    const TFieldTable* Fields() const override { return &Table; }
    void Clear() override;
};

class TVudMonsterAct : public TCatalogOf<TVudMonsterActItem> {};

class TVudMonsterItem : public TCatalogItem {
public:
    std::string BattlerName;
    int32_t Hue = 0;
    int32_t MaxHp = 10;
    int32_t MaxMp = 10;
    int32_t Attack = 10;
    int32_t Defense = 10;
    int32_t Spirit = 10;
    int32_t Agility = 10;
    uint8_t Transparent = 0;
    int32_t Exp = 0;
    int32_t Gold = 0;
    int32_t DropItemID = 0;
    int32_t DropChance = 100;
    uint8_t CriticalEnabled = 0;
    int32_t CriticalRate = 30;
    uint8_t OftenMiss = 0;
    uint8_t Flying = 0;
    // Cut to the database's lists when saved, so they are mutable for the const save.
    mutable TVudIdArray ConditionRanks{1, 1};
    mutable TVudIdArray AttributeRanks{2, 2};
    TVudMonsterAct Actions;

    TVudMonsterItem() { Clear(); }
    static const TFieldTable Table;
    const TFieldTable* Fields() const override { return &Table; }
    void GetVarData(int ID, TCatalogVarData& vd, bool Reading) override;
    void Clear() override;
    void SaveToStream(TWriter& s) const override;
};

class TVudMonster : public TCatalogOf<TVudMonsterItem> {
public:
    TVudMonster() : TCatalogOf("Enemigo no válido.") {}
};
