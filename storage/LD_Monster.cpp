#include "LD_Monster.h"

using A = TVudMonsterActItem;

const TFieldTable TVudMonsterActItem::Table = {
    Bytes<&A::ActionKind>(1, "ActionKind"),
    Bytes<&A::BasicAction>(2, "BasicAction"),
    Integer<&A::SkillID>(3, "SkillID", 1),
    Integer<&A::TransformID>(4, "TransformID", 1),
    Bytes<&A::ConditionType>(5, "ConditionType"),
    Integer<&A::ConditionMin>(6, "ConditionMin", 0),
    Integer<&A::ConditionMax>(7, "ConditionMax", 0),
    Integer<&A::ConditionSwitchID>(8, "ConditionSwitchID", 1),
    Byte<&A::SwitchOn>(9, "SwitchOn", 0),
    Integer<&A::SwitchOnID>(10, "SwitchOnID", 1),
    Byte<&A::SwitchOff>(11, "SwitchOff", 0),
    Integer<&A::SwitchOffID>(12, "SwitchOffID", 1),
    Integer<&A::Rating>(13, "Rating", 50),
};

void TVudMonsterActItem::Clear()
{
    ActionKind = 0;
    BasicAction = 0;
    SkillID = 1;
    TransformID = 1;
    ConditionType = 0;
    ConditionMin = 0;
    ConditionMax = 0;
    ConditionSwitchID = 1;
    SwitchOn = 0;
    SwitchOnID = 1;
    SwitchOff = 0;
    SwitchOffID = 1;
    Rating = 50;
}

using M = TVudMonsterItem;

const TFieldTable TVudMonsterItem::Table = {
    String<&M::Name>(1, "Name", true),
    String<&M::BattlerName>(2, "BattlerName", true),
    Integer<&M::Hue>(3, "Hue", 0),
    Integer<&M::MaxHp>(4, "MaxHp", 10),
    Integer<&M::MaxMp>(5, "MaxMp", 10),
    Integer<&M::Attack>(6, "Attack", 10),
    Integer<&M::Defense>(7, "Defense", 10),
    Integer<&M::Spirit>(8, "Spirit", 10),
    Integer<&M::Agility>(9, "Agility", 10),
    Byte<&M::Transparent>(10, "Transparent", 0),
    Integer<&M::Exp>(11, "Exp", 0),
    Integer<&M::Gold>(12, "Gold", 0),
    Integer<&M::DropItemID>(13, "DropItemID", 0),
    Integer<&M::DropChance>(14, "DropChance", 100),
    Byte<&M::CriticalEnabled>(21, "CriticalEnabled", 0),
    Integer<&M::CriticalRate>(22, "CriticalRate", 30),
    Byte<&M::OftenMiss>(26, "OftenMiss", 0),
    Byte<&M::Flying>(28, "Flying", 0),
    Custom(31, "ConditionCount", vkInteger),
    Custom(32, "ConditionRanks", vkBlock),
    Custom(33, "AttributeCount", vkInteger),
    Custom(34, "AttributeRanks", vkBlock),
    Nested<&M::Actions>(42, "Actions"),
};

void TVudMonsterItem::GetVarData(int ID, TCatalogVarData& vd, bool Reading)
{
    switch (ID) {
    case 31: DefineIdArrayCount(vd, ConditionRanks, Reading); return;
    case 32: DefineIdArrayBlock(vd, ConditionRanks); return;
    case 33: DefineIdArrayCount(vd, AttributeRanks, Reading); return;
    case 34: DefineIdArrayBlock(vd, AttributeRanks); return;
    default: TCatalogItem::GetVarData(ID, vd, Reading);
    }
}

void TVudMonsterItem::Clear()
{
    Name.clear();
    BattlerName.clear();
    Hue = 0;
    MaxHp = MaxMp = Attack = Defense = Spirit = Agility = 10;
    Transparent = 0;
    Exp = Gold = 0;
    DropItemID = 0;
    DropChance = 100;
    CriticalEnabled = 0;
    CriticalRate = 30;
    OftenMiss = Flying = 0;
    ConditionRanks.Clear();
    AttributeRanks.Clear();
    Actions.Clear();
    Actions.Append();
}

void TVudMonsterItem::SaveToStream(TWriter& s) const
{
    ConditionRanks.Trim(VudConditionLimit());
    AttributeRanks.Trim(VudAttributeLimit());
    SaveChunks(s);
}
