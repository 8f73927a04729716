// Troops (database section 15): enemies placed on the battle field, with battle event pages.
#pragma once
#include "LD_Event.h"
#include "LD_Player.h"

class TVudMonGroupMonsterItem : public TCatalogItem {
public:
    int32_t MonsterID = 1;
    int32_t X = 0;
    int32_t Y = 0;
    uint8_t Invisible = 0;

    TVudMonGroupMonsterItem() { Clear(); }
    static const TFieldTable Table;
    const TFieldTable* Fields() const override { return &Table; }
    void Clear() override;
};

class TVudMonGroupMonster : public TCatalogOf<TVudMonGroupMonsterItem> {};

class TVudBattleEventTrigger : public TCatalogBaseItem {
public:
    enum : uint8_t {
        tfSwitchA = 1,
        tfSwitchB = 2,
        tfVariable = 4,
        tfTurn = 8,
        tfFatigue = 16,
        tfEnemyHp = 32,
        tfHeroHp = 64,
    };
    uint8_t Flags = 0;
    int32_t SwitchAID = 1;
    int32_t SwitchBID = 1;
    int32_t VariableID = 1;
    int32_t VariableValue = 0;
    int32_t TurnA = 0;
    int32_t TurnB = 0;
    int32_t FatigueMin = 0;
    int32_t FatigueMax = 100;
    int32_t EnemyIndex = 0;
    int32_t EnemyHpMin = 0;
    int32_t EnemyHpMax = 100;
    int32_t HeroID = 1;
    int32_t HeroHpMin = 0;
    int32_t HeroHpMax = 100;

    TVudBattleEventTrigger() { Clear(); }
    static const TFieldTable Table;
    const TFieldTable* Fields() const override { return &Table; }
    void Clear() override;
};

class TVudBattleEventPageItem : public TVudBaseEventPageItem {
public:
    TVudBattleEventTrigger Trigger;

    TVudBattleEventPageItem() { Clear(); }
    static const TFieldTable Table;
    const TFieldTable* Fields() const override { return &Table; }
    void Clear() override;
};

class TVudBattleEventPage : public TCatalogOf<TVudBattleEventPageItem> {};

class TVudMonGroupItem : public TCatalogItem {
public:
    TVudMonGroupMonster Members;
    // Terrains beyond the array allow the troop; never trimmed.
    TVudIdArray TerrainAllowed{1, 1};
    TVudBattleEventPage Pages;

    TVudMonGroupItem() { Clear(); }
    static const TFieldTable Table;
    const TFieldTable* Fields() const override { return &Table; }
    void GetVarData(int ID, TCatalogVarData& vd, bool Reading) override;
    void Clear() override;
};

class TVudMonGroup : public TCatalogOf<TVudMonGroupItem> {
public:
    TVudMonGroup() : TCatalogOf("Grupo enemigo no válido.") {}
};
