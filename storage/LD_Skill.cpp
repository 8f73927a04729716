#include "LD_Skill.h"

using T = TVudSkillItem;

const TFieldTable TVudSkillItem::Table = {
    String<&T::Name>(1, "Name", true),
    String<&T::Description>(2, "Description", true),
    String<&T::UseMessage1>(3, "UseMessage1", true),
    String<&T::UseMessage2>(4, "UseMessage2", true),
    Integer<&T::FailureMessage>(7, "FailureMessage", 0),
    Bytes<&T::SkillType>(8, "SkillType"),
    Integer<&T::MpCost>(11, "MpCost", 0),
    Bytes<&T::Scope>(12, "Scope"),
    Integer<&T::SwitchID>(13, "SwitchID", 1),
    Integer<&T::AnimationID>(14, "AnimationID", 1),
    Nested<&T::Sound>(16, "Sound"),
    Byte<&T::UsableOnMap>(18, "UsableOnMap", 1),
    Byte<&T::UsableInBattle>(19, "UsableInBattle", 0),
    Integer<&T::AttackInfluence>(21, "AttackInfluence", 0),
    Integer<&T::MagicInfluence>(22, "MagicInfluence", 3),
    Integer<&T::Variance>(23, "Variance", 4),
    Integer<&T::BaseEffect>(24, "BaseEffect", 0),
    Integer<&T::HitRate>(25, "HitRate", 100),
    Byte<&T::AffectHp>(31, "AffectHp", 0),
    Byte<&T::AffectMp>(32, "AffectMp", 0),
    Byte<&T::AffectAttack>(33, "AffectAttack", 0),
    Byte<&T::AffectDefense>(34, "AffectDefense", 0),
    Byte<&T::AffectSpirit>(35, "AffectSpirit", 0),
    Byte<&T::AffectAgility>(36, "AffectAgility", 0),
    Byte<&T::Absorb>(37, "Absorb", 0),
    Byte<&T::IgnoreDefense>(38, "IgnoreDefense", 0),
    Custom(41, "ConditionCount", vkInteger),
    Custom(42, "Conditions", vkBlock),
    Custom(43, "AttributeCount", vkInteger),
    Custom(44, "Attributes", vkBlock),
    Byte<&T::AffectAttrDefense>(45, "AffectAttrDefense", 0),
};

void TVudSkillItem::GetVarData(int ID, TCatalogVarData& vd, bool Reading)
{
    switch (ID) {
    case 41: DefineIdArrayCount(vd, Conditions, Reading); return;
    case 42: DefineIdArrayBlock(vd, Conditions); return;
    case 43: DefineIdArrayCount(vd, Attributes, Reading); return;
    case 44: DefineIdArrayBlock(vd, Attributes); return;
    default: TCatalogItem::GetVarData(ID, vd, Reading);
    }
}

void TVudSkillItem::Clear()
{
    Name.clear();
    Description.clear();
    UseMessage1.clear();
    UseMessage2.clear();
    FailureMessage = 0;
    SkillType = 0;
    MpCost = 0;
    Scope = 0;
    SwitchID = 1;
    AnimationID = 1;
    Sound.Clear();
    UsableOnMap = 1;
    UsableInBattle = 0;
    AttackInfluence = 0;
    MagicInfluence = 3;
    Variance = 4;
    BaseEffect = 0;
    HitRate = 100;
    AffectHp = AffectMp = AffectAttack = AffectDefense = AffectSpirit = AffectAgility = 0;
    Absorb = IgnoreDefense = 0;
    Conditions.Clear();
    Attributes.Clear();
    AffectAttrDefense = 0;
}

void TVudSkillItem::SaveToStream(TWriter& s) const
{
    Conditions.Trim(VudConditionLimit());
    Attributes.Trim(VudAttributeLimit());
    SaveChunks(s);
}
