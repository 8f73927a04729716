#include <gtest/gtest.h>

#include "LD_Attrib.h"
#include "LD_Skill.h"
#include "RecordChunks.h"

TEST(VudSkill, ClearedSkillBytes)
{
    TVudSkillItem skill;
    // Type, scope, the sound record, and the two empty arrays.
    EXPECT_EQ(Save(skill), (Bytes_{0x08, 0x01, 0x00, 0x0C, 0x01, 0x00, 0x10, 0x08, 0x01, 0x05, '(', 'O', 'F', 'F',
                                   ')', 0x00, 0x2A, 0x00, 0x2C, 0x00, 0x00}));
}

TEST(VudSkill, ArraysTrimAndFieldsRoundTrip)
{
    TVudAttrib attributes;
    FillList(attributes, 2);
    TLimitsGuard guard(nullptr, &attributes);

    TVudSkillItem skill;
    skill.Name = "Fuego";
    skill.Description = "Quema";
    skill.UseMessage1 = " lanza Fuego";
    skill.UseMessage2 = "!";
    skill.FailureMessage = 3;
    skill.SkillType = 3;
    skill.MpCost = 999;
    skill.Scope = 4;
    skill.SwitchID = 12;
    skill.AnimationID = 2;
    skill.Sound.Name = "Fire1";
    skill.Sound.Volume = 80;
    skill.UsableOnMap = 0;
    skill.MagicInfluence = 0;
    skill.Variance = 10;
    skill.HitRate = 0;
    skill.AffectHp = skill.Absorb = skill.AffectAttrDefense = 1;
    skill.Conditions.Bytes = {0, 1, 0, 0};
    skill.Attributes.Bytes = {1, 1, 1};
    const Bytes_ out = Save(skill);
    const auto chunks = ChunksOf(out);
    EXPECT_EQ(chunks.at(41), Bytes_{2});
    EXPECT_EQ(chunks.at(42), (Bytes_{0, 1}));
    EXPECT_EQ(chunks.at(43), Bytes_{2});
    EXPECT_EQ(chunks.at(44), (Bytes_{1, 1}));

    TVudSkillItem copy;
    copy.Assign(skill);
    EXPECT_EQ(Save(copy), out);
    EXPECT_EQ(copy.Sound.Name, "Fire1");
    EXPECT_EQ(copy.Sound.Volume, 80);
    EXPECT_EQ(copy.MagicInfluence, 0);
    EXPECT_EQ(copy.UseMessage1, " lanza Fuego");
}
