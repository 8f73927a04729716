#include <gtest/gtest.h>

#include "LD_Item.h"
#include "LD_Status.h"
#include "RecordChunks.h"

TEST(VudItem, ClearedItemBytes)
{
    TVudItemItem item;
    EXPECT_EQ(Save(item), (Bytes_{0x03, 0x01, 0x00, 0x0F, 0x01, 0x00, 0x1F, 0x01, 0x00, 0x33, 0x01, 0x00,
                                  0x3E, 0x00, 0x40, 0x00, 0x42, 0x00, 0x00}));
}

TEST(VudItem, ConditionArrayTrimmedHeroArrayNot)
{
    TVudStatus conditions;
    FillList(conditions, 4);
    TLimitsGuard guard(&conditions, nullptr);

    TVudItemItem item;
    item.Conditions.Bytes = {1, 0, 1, 0, 0};
    item.HeroUsable.Bytes = {1, 0, 1, 1, 1}; // trailing neutral entries stay
    item.Attributes.Bytes = {0, 0, 1, 0};
    const Bytes_ out = Save(item);
    const Bytes_ count = {0x3F, 0x01, 0x03}, block = {0x40, 0x03, 0x01, 0x00, 0x01};
    EXPECT_NE(std::search(out.begin(), out.end(), count.begin(), count.end()), out.end());
    EXPECT_NE(std::search(out.begin(), out.end(), block.begin(), block.end()), out.end());
    const auto chunks = ChunksOf(out);
    EXPECT_EQ(chunks.at(61), Bytes_{5});
    EXPECT_EQ(chunks.at(62), (Bytes_{1, 0, 1, 1, 1}));
    EXPECT_EQ(chunks.at(65), Bytes_{3}); // attributes: no list registered, only the tail goes
    EXPECT_EQ(chunks.at(66), (Bytes_{0, 0, 1}));
}

TEST(VudItem, HeroArrayReadsOneBeyondItsCountButGrowsWithZero)
{
    TVudItemItem item;
    item.HeroUsable.Bytes = {0, 0, 0, 0, 0};
    EXPECT_EQ(item.HeroUsable.Get(7), 1);
    item.HeroUsable.SetCount(7);
    EXPECT_EQ(item.HeroUsable.Get(7), 0);
    EXPECT_EQ(item.Conditions.Get(3), 0);
}

TEST(VudItem, FieldsRoundTrip)
{
    TVudItemItem item;
    item.Name = "Poci\xF3n";
    item.Description = "Cura 50 PV";
    item.ItemType = 6;
    item.Price = 999999;
    item.Uses = 0;
    item.AttackBonus = -999;
    item.TwoHanded = 1;
    item.HitRate = 0;
    item.AnimationID = 12;
    item.PreventCritical = 1;
    item.Scope = 1;
    item.MpRecovery = 9999;
    item.DeadOnly = 1;
    item.AgilityGain = -3;
    item.UseMessage = 1;
    item.SkillID = 4;
    item.SwitchID = 200;
    item.UsableOnMap = 0;
    item.UsableInBattle = 1;
    item.ConditionChance = 100;
    TVudItemItem copy;
    copy.Assign(item);
    EXPECT_EQ(Save(copy), Save(item));
    EXPECT_EQ(copy.AttackBonus, -999);
    EXPECT_EQ(copy.UsableOnMap, 0);
    EXPECT_EQ(copy.Name, "Poci\xF3n");

    TVudItem list;
    EXPECT_THROW(list.ItemByID(3), EVudError);
}
