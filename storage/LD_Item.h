// Items (database section 13).
#pragma once
#include "LD_Player.h"

class TVudItemItem : public TCatalogItem {
public:
    std::string Description;
    uint8_t ItemType = 0;
    int32_t Price = 0;
    int32_t Uses = 1;
    int32_t AttackBonus = 0;
    int32_t DefenseBonus = 0;
    int32_t SpiritBonus = 0;
    int32_t AgilityBonus = 0;
    uint8_t TwoHanded = 0;
    int32_t MpCost = 0;
    int32_t HitRate = 90;
    int32_t CriticalRate = 0;
    int32_t AnimationID = 1;
    uint8_t FirstStrike = 0;
    uint8_t DoubleAttack = 0;
    uint8_t AttackAll = 0;
    uint8_t IgnoreEvasion = 0;
    uint8_t PreventCritical = 0;
    uint8_t RaiseEvasion = 0;
    uint8_t HalfMp = 0;
    uint8_t NoTerrainDamage = 0;
    uint8_t Scope = 0;
    int32_t HpRecoveryRate = 0;
    int32_t HpRecovery = 0;
    int32_t MpRecoveryRate = 0;
    int32_t MpRecovery = 0;
    uint8_t NotInBattle = 0;
    uint8_t DeadOnly = 0;
    int32_t MaxHpGain = 0;
    int32_t MaxMpGain = 0;
    int32_t AttackGain = 0;
    int32_t DefenseGain = 0;
    int32_t SpiritGain = 0;
    int32_t AgilityGain = 0;
    uint8_t UseMessage = 0;
    int32_t SkillID = 1;
    int32_t SwitchID = 1;
    uint8_t UsableOnMap = 1;
    uint8_t UsableInBattle = 0;
    // Heroes beyond the array may use the item; growing it marks the new heroes 0 all the same
    // (the item page always rewrites every hero's mark after resizing). Never trimmed.
    TVudIdArray HeroUsable{1, 0};
    // Cut to the database's lists when saved, so they are mutable for the const save.
    mutable TVudIdArray Conditions{0, 0};
    mutable TVudIdArray Attributes{0, 0};
    int32_t ConditionChance = 0;

    TVudItemItem() { Clear(); }
    static const TFieldTable Table;
    const TFieldTable* Fields() const override { return &Table; }
    void GetVarData(int ID, TCatalogVarData& vd, bool Reading) override;
    void Clear() override;
    void SaveToStream(TWriter& s) const override;
};

class TVudItem : public TCatalogOf<TVudItemItem> {
public:
    TVudItem() : TCatalogOf("Objeto no válido.") {}
};
