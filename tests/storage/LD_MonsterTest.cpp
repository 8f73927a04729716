#include <gtest/gtest.h>

#include "LD_Attrib.h"
#include "LD_Monster.h"
#include "LD_Status.h"
#include "RecordChunks.h"

TEST(VudMonster, NewEnemyHasOneDefaultAction)
{
    TVudMonsterItem enemy;
    ASSERT_EQ(enemy.Actions.Count(), 1);
    EXPECT_EQ(enemy.Actions.At(0)->ID, 1);
    EXPECT_EQ(Save(*enemy.Actions.At(0)), (Bytes_{0x01, 0x01, 0x00, 0x02, 0x01, 0x00, 0x05, 0x01, 0x00, 0x00}));
    // The action list chunk: count 1, ID 1, then that record.
    EXPECT_EQ(ChunksOf(Save(enemy)).at(42),
              (Bytes_{0x01, 0x01, 0x01, 0x01, 0x00, 0x02, 0x01, 0x00, 0x05, 0x01, 0x00, 0x00}));

    // A stored empty action list stays empty; an absent one is the default single action.
    Load(enemy, {0x2A, 0x01, 0x00, 0x00});
    EXPECT_EQ(enemy.Actions.Count(), 0);
    Load(enemy, {0x00});
    EXPECT_EQ(enemy.Actions.Count(), 1);
}

TEST(VudMonster, RankArraysTrimWithTheirOwnNeutrals)
{
    TVudStatus conditions;
    TVudAttrib attributes;
    FillList(conditions, 8);
    FillList(attributes, 8);
    TLimitsGuard guard(&conditions, &attributes);

    const struct {
        Bytes_ conditions, attributes;
        Bytes_ c31, c32, c33, c34; // empty c31/c33: chunk absent
    } cases[] = {
        {{1, 1, 3}, {}, {3}, {1, 1, 3}, {}, {}},
        {{1, 1, 1}, {}, {}, {}, {}, {}},
        {{2, 2}, {2, 2}, {2}, {2, 2}, {}, {}},      // 2 is not neutral for enemy conditions
        {{}, {1, 1}, {}, {}, {2}, {1, 1}},          // ...but 1 is not for attributes
    };
    for (const auto& c : cases) {
        TVudMonsterItem enemy;
        enemy.ConditionRanks.Bytes = c.conditions;
        enemy.AttributeRanks.Bytes = c.attributes;
        const auto chunks = ChunksOf(Save(enemy));
        EXPECT_EQ(chunks.count(31) ? chunks.at(31) : Bytes_{}, c.c31);
        EXPECT_EQ(chunks.at(32), c.c32);
        EXPECT_EQ(chunks.count(33) ? chunks.at(33) : Bytes_{}, c.c33);
        EXPECT_EQ(chunks.at(34), c.c34);
    }
}

TEST(VudMonster, RanksOutsideTheArrayReadNeutral)
{
    TVudMonsterItem enemy;
    enemy.ConditionRanks.Bytes = {0, 0, 0, 0};
    EXPECT_EQ(enemy.ConditionRanks.Get(9), 1);
    EXPECT_EQ(enemy.AttributeRanks.Get(9), 2);
    enemy.ConditionRanks.SetCount(6);
    EXPECT_EQ(enemy.ConditionRanks.Bytes, (Bytes_{0, 0, 0, 0, 1, 1}));
    TVudPlayerItem hero;
    hero.ConditionRanks.Bytes = {0, 0, 0, 0};
    EXPECT_EQ(hero.ConditionRanks.Get(9), 2);
}

TEST(VudMonster, RichEnemyRoundTrips)
{
    TVudMonsterItem enemy;
    enemy.Name = "Limo";
    enemy.BattlerName = "Slime";
    enemy.Hue = 359;
    enemy.MaxHp = 99999;
    enemy.Agility = 1;
    enemy.Transparent = 1;
    enemy.Exp = 12;
    enemy.Gold = 999999;
    enemy.DropItemID = 3;
    enemy.DropChance = 0;
    enemy.CriticalEnabled = 1;
    enemy.CriticalRate = 100;
    enemy.OftenMiss = enemy.Flying = 1;
    enemy.ConditionRanks.Bytes = {4, 0};
    enemy.AttributeRanks.Bytes = {0, 1, 2, 3};
    auto* act = enemy.Actions.Append();
    act->ActionKind = 1;
    act->SkillID = 7;
    act->ConditionType = 2;
    act->ConditionMin = 1;
    act->ConditionMax = 100;
    act->SwitchOn = 1;
    act->SwitchOnID = 8;
    act->SwitchOff = 1;
    act->SwitchOffID = 9;
    act->Rating = 100;
    TVudMonsterItem copy;
    copy.Assign(enemy);
    EXPECT_EQ(Save(copy), Save(enemy));
    ASSERT_EQ(copy.Actions.Count(), 2);
    EXPECT_EQ(copy.Actions.At(1)->SwitchOffID, 9);
    EXPECT_EQ(copy.Gold, 999999);
}
