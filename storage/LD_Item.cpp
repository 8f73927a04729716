#include "LD_Item.h"

using T = TVudItemItem;

const TFieldTable TVudItemItem::Table = {
    String<&T::Name>(1, "Name", true),
    String<&T::Description>(2, "Description", true),
    Bytes<&T::ItemType>(3, "ItemType"),
    Integer<&T::Price>(5, "Price", 0),
    Integer<&T::Uses>(6, "Uses", 1),
    Integer<&T::AttackBonus>(11, "AttackBonus", 0),
    Integer<&T::DefenseBonus>(12, "DefenseBonus", 0),
    Integer<&T::SpiritBonus>(13, "SpiritBonus", 0),
    Integer<&T::AgilityBonus>(14, "AgilityBonus", 0),
    Bytes<&T::TwoHanded>(15, "TwoHanded"),
    Integer<&T::MpCost>(16, "MpCost", 0),
    Integer<&T::HitRate>(17, "HitRate", 90),
    Integer<&T::CriticalRate>(18, "CriticalRate", 0),
    Integer<&T::AnimationID>(20, "AnimationID", 1),
    Byte<&T::FirstStrike>(21, "FirstStrike", 0),
    Byte<&T::DoubleAttack>(22, "DoubleAttack", 0),
    Byte<&T::AttackAll>(23, "AttackAll", 0),
    Byte<&T::IgnoreEvasion>(24, "IgnoreEvasion", 0),
    Byte<&T::PreventCritical>(25, "PreventCritical", 0),
    Byte<&T::RaiseEvasion>(26, "RaiseEvasion", 0),
    Byte<&T::HalfMp>(27, "HalfMp", 0),
    Byte<&T::NoTerrainDamage>(28, "NoTerrainDamage", 0),
    Bytes<&T::Scope>(31, "Scope"),
    Integer<&T::HpRecoveryRate>(32, "HpRecoveryRate", 0),
    Integer<&T::HpRecovery>(33, "HpRecovery", 0),
    Integer<&T::MpRecoveryRate>(34, "MpRecoveryRate", 0),
    Integer<&T::MpRecovery>(35, "MpRecovery", 0),
    Byte<&T::NotInBattle>(37, "NotInBattle", 0),
    Byte<&T::DeadOnly>(38, "DeadOnly", 0),
    Integer<&T::MaxHpGain>(41, "MaxHpGain", 0),
    Integer<&T::MaxMpGain>(42, "MaxMpGain", 0),
    Integer<&T::AttackGain>(43, "AttackGain", 0),
    Integer<&T::DefenseGain>(44, "DefenseGain", 0),
    Integer<&T::SpiritGain>(45, "SpiritGain", 0),
    Integer<&T::AgilityGain>(46, "AgilityGain", 0),
    Bytes<&T::UseMessage>(51, "UseMessage"),
    Integer<&T::SkillID>(53, "SkillID", 1),
    Integer<&T::SwitchID>(55, "SwitchID", 1),
    Byte<&T::UsableOnMap>(57, "UsableOnMap", 1),
    Byte<&T::UsableInBattle>(58, "UsableInBattle", 0),
    Custom(61, "HeroCount", vkInteger),
    Custom(62, "HeroUsable", vkBlock),
    Custom(63, "ConditionCount", vkInteger),
    Custom(64, "Conditions", vkBlock),
    Custom(65, "AttributeCount", vkInteger),
    Custom(66, "Attributes", vkBlock),
    Integer<&T::ConditionChance>(67, "ConditionChance", 0),
};

void TVudItemItem::GetVarData(int ID, TCatalogVarData& vd, bool Reading)
{
    switch (ID) {
    case 61: DefineIdArrayCount(vd, HeroUsable, Reading); return;
    case 62: DefineIdArrayBlock(vd, HeroUsable); return;
    case 63: DefineIdArrayCount(vd, Conditions, Reading); return;
    case 64: DefineIdArrayBlock(vd, Conditions); return;
    case 65: DefineIdArrayCount(vd, Attributes, Reading); return;
    case 66: DefineIdArrayBlock(vd, Attributes); return;
    default: TCatalogItem::GetVarData(ID, vd, Reading);
    }
}

void TVudItemItem::Clear()
{
    Name.clear();
    Description.clear();
    ItemType = 0;
    Price = 0;
    Uses = 1;
    AttackBonus = DefenseBonus = SpiritBonus = AgilityBonus = 0;
    TwoHanded = 0;
    MpCost = 0;
    HitRate = 90;
    CriticalRate = 0;
    AnimationID = 1;
    FirstStrike = DoubleAttack = AttackAll = IgnoreEvasion = 0;
    PreventCritical = RaiseEvasion = HalfMp = NoTerrainDamage = 0;
    Scope = 0;
    HpRecoveryRate = HpRecovery = MpRecoveryRate = MpRecovery = 0;
    NotInBattle = DeadOnly = 0;
    MaxHpGain = MaxMpGain = AttackGain = DefenseGain = SpiritGain = AgilityGain = 0;
    UseMessage = 0;
    SkillID = 1;
    SwitchID = 1;
    UsableOnMap = 1;
    UsableInBattle = 0;
    HeroUsable.Clear();
    Conditions.Clear();
    Attributes.Clear();
    ConditionChance = 0;
}

void TVudItemItem::SaveToStream(TWriter& s) const
{
    Conditions.Trim(VudConditionLimit());
    Attributes.Trim(VudAttributeLimit());
    SaveChunks(s);
}
