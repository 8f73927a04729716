#include "LD_MonGroup.h"

// ---- troop member ------------------------------------------------------------------------

const TFieldTable TVudMonGroupMonsterItem::Table = {
    Integer<&TVudMonGroupMonsterItem::MonsterID>(1, "MonsterID", 1),
    Integer<&TVudMonGroupMonsterItem::X>(2, "X", 0),
    Integer<&TVudMonGroupMonsterItem::Y>(3, "Y", 0),
    Byte<&TVudMonGroupMonsterItem::Invisible>(4, "Invisible", 0),
};

void TVudMonGroupMonsterItem::Clear()
{
    MonsterID = 1;
    X = 0;
    Y = 0;
    Invisible = 0;
}

// ---- battle event trigger ----------------------------------------------------------------

using G = TVudBattleEventTrigger;

const TFieldTable TVudBattleEventTrigger::Table = {
    Bytes<&G::Flags>(1, "Flags"),
    Integer<&G::SwitchAID>(2, "SwitchAID", 1),
    Integer<&G::SwitchBID>(3, "SwitchBID", 1),
    Integer<&G::VariableID>(4, "VariableID", 1),
    Integer<&G::VariableValue>(5, "VariableValue", 0),
    Integer<&G::TurnA>(6, "TurnA", 0),
    Integer<&G::TurnB>(7, "TurnB", 0),
    Integer<&G::FatigueMin>(8, "FatigueMin", 0),
    Integer<&G::FatigueMax>(9, "FatigueMax", 100),
    Integer<&G::EnemyIndex>(10, "EnemyIndex", 0),
    Integer<&G::EnemyHpMin>(11, "EnemyHpMin", 0),
    Integer<&G::EnemyHpMax>(12, "EnemyHpMax", 100),
    Integer<&G::HeroID>(13, "HeroID", 1),
    Integer<&G::HeroHpMin>(14, "HeroHpMin", 0),
    Integer<&G::HeroHpMax>(15, "HeroHpMax", 100),
};

void TVudBattleEventTrigger::Clear()
{
    Flags = 0;
    SwitchAID = SwitchBID = VariableID = 1;
    VariableValue = 0;
    TurnA = TurnB = 0;
    FatigueMin = 0;
    FatigueMax = 100;
    EnemyIndex = 0;
    EnemyHpMin = 0;
    EnemyHpMax = 100;
    HeroID = 1;
    HeroHpMin = 0;
    HeroHpMax = 100;
}

// ---- battle event page -------------------------------------------------------------------

const TFieldTable TVudBattleEventPageItem::Table = {
    Nested<&TVudBattleEventPageItem::Trigger>(2, "Trigger"),
    Integer<&TVudBattleEventPageItem::ScriptSize>(11, "ScriptSize", 0),
    Block<&TVudBattleEventPageItem::ScriptData>(12, "ScriptData"),
};

void TVudBattleEventPageItem::Clear()
{
    Trigger.Clear();
    TVudBaseEventPageItem::Clear();
}

// ---- troop -------------------------------------------------------------------------------

const TFieldTable TVudMonGroupItem::Table = {
    String<&TVudMonGroupItem::Name>(1, "Name", true),
    Nested<&TVudMonGroupItem::Members>(2, "Members"),
    Custom(4, "TerrainCount", vkInteger),
    Custom(5, "TerrainAllowed", vkBlock),
    Nested<&TVudMonGroupItem::Pages>(11, "Pages"),
};

void TVudMonGroupItem::GetVarData(int ID, TCatalogVarData& vd, bool Reading)
{
    switch (ID) {
    case 4: DefineIdArrayCount(vd, TerrainAllowed, Reading); return;
    case 5: DefineIdArrayBlock(vd, TerrainAllowed); return;
    default: TCatalogItem::GetVarData(ID, vd, Reading);
    }
}

void TVudMonGroupItem::Clear()
{
    Name.clear();
    Members.Clear();
    TerrainAllowed.Clear();
    Pages.Clear();
    Pages.Obtain(1);
}
