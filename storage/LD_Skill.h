// Skills (database section 12).
#pragma once
#include "LD_Music.h"
#include "LD_Player.h"

class TVudSkillItem : public TCatalogItem {
public:
    std::string Description;
    std::string UseMessage1;
    std::string UseMessage2;
    int32_t FailureMessage = 0;
    uint8_t SkillType = 0;
    int32_t MpCost = 0;
    uint8_t Scope = 0;
    int32_t SwitchID = 1;
    int32_t AnimationID = 1;
    TVudSound Sound;
    uint8_t UsableOnMap = 1;
    uint8_t UsableInBattle = 0;
    int32_t AttackInfluence = 0;
    int32_t MagicInfluence = 3;
    int32_t Variance = 4;
    int32_t BaseEffect = 0;
    int32_t HitRate = 100;
    uint8_t AffectHp = 0;
    uint8_t AffectMp = 0;
    uint8_t AffectAttack = 0;
    uint8_t AffectDefense = 0;
    uint8_t AffectSpirit = 0;
    uint8_t AffectAgility = 0;
    uint8_t Absorb = 0;
    uint8_t IgnoreDefense = 0;
    // Cut to the database's lists when saved, so they are mutable for the const save.
    mutable TVudIdArray Conditions{0, 0};
    mutable TVudIdArray Attributes{0, 0};
    uint8_t AffectAttrDefense = 0;

    TVudSkillItem() { Clear(); }
    static const TFieldTable Table;
    const TFieldTable* Fields() const override { return &Table; }
    void GetVarData(int ID, TCatalogVarData& vd, bool Reading) override;
    void Clear() override;
    void SaveToStream(TWriter& s) const override;
};

class TVudSkill : public TCatalogOf<TVudSkillItem> {
public:
    TVudSkill() : TCatalogOf("Habilidad no válida.") {}
};
