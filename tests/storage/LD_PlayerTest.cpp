#include <gtest/gtest.h>

#include "LD_Attrib.h"
#include "LD_Player.h"
#include "LD_Status.h"
#include "RecordChunks.h"

TEST(VudIdArray, ReadsNeutralOutsideAndTrims)
{
    TVudIdArray a(2, 2);
    EXPECT_EQ(a.Get(1), 2);
    a.Set(1, 4); // outside: ignored
    EXPECT_EQ(a.Count(), 0);
    a.SetCount(3);
    EXPECT_EQ(a.Bytes, (Bytes_{2, 2, 2}));
    a.Set(2, 0);
    EXPECT_EQ(a.Get(2), 0);
    EXPECT_EQ(a.Get(0), 2);
    EXPECT_EQ(a.Get(9), 2);

    const struct {
        Bytes_ in;
        int limit;
        Bytes_ out;
    } cases[] = {
        {{2, 2, 4}, 10, {2, 2, 4}},        // last entry differs: kept whole
        {{2, 2, 2}, 10, {}},               // all neutral: nothing left
        {{4, 2, 2, 2}, 10, {4}},           // trailing neutral entries cut
        {{4, 0, 3, 1}, 2, {4, 0}},         // entries beyond the list cut
        {{4, 2, 3}, 2, {4}},               // cut to the list, then trailing neutral
        {{4, 3}, -1, {4, 3}},              // no database: only neutral tails go
        {{4, 3}, 0, {}},
    };
    for (const auto& c : cases) {
        a.Bytes = c.in;
        a.Trim(c.limit);
        EXPECT_EQ(a.Bytes, c.out) << "limit " << c.limit;
    }
}

TEST(VudPlayer, ClearedHeroCurvesAndDefaults)
{
    TVudPlayerItem hero;
    const Bytes_ out = Save(hero);
    // Chunk 31 with length 600 (BER 84 58), first value 40.
    const Bytes_ head = {0x1F, 0x84, 0x58, 0x28, 0x00};
    EXPECT_NE(std::search(out.begin(), out.end(), head.begin(), head.end()), out.end());
    const auto chunks = ChunksOf(out);
    EXPECT_EQ(chunks.at(31).size(), 600u);
    EXPECT_EQ(chunks.at(51), Bytes_(10, 0));
    EXPECT_EQ(chunks.at(63), Bytes_{0});        // empty learning list
    EXPECT_EQ(chunks.at(72), Bytes_{});         // empty arrays, no counts
    EXPECT_EQ(chunks.count(71), 0u);
    EXPECT_EQ(chunks.count(9), 0u);             // critical hits on: the default

    EXPECT_EQ(hero.Curve(0, 50), 600);
    EXPECT_EQ(hero.Curve(3, 1), 15);
    EXPECT_EQ(hero.Curve(5, 50), 300);
    EXPECT_EQ(hero.Curve(6, 1), 0);
    EXPECT_EQ(hero.Curve(0, 51), 0);
    hero.SetCurve(-1, 1, 9); // ignored
    hero.SetCurve(2, 51, 9);
    hero.SetEquipment(5, 3);
    EXPECT_EQ(hero.Equipment(5), 0);
    hero.SetEquipment(4, 300);
    EXPECT_EQ(ChunksOf(Save(hero)).at(51), (Bytes_{0, 0, 0, 0, 0, 0, 0, 0, 0x2C, 0x01}));
}

TEST(VudPlayer, RankArraysAreTrimmedToTheDatabase)
{
    TVudAttrib attributes;
    TVudStatus conditions;
    FillList(attributes, 10);
    FillList(conditions, 2);
    TLimitsGuard guard(&conditions, &attributes);

    TVudPlayerItem hero;
    hero.AttributeRanks.Bytes = {2, 2, 4};
    auto chunks = ChunksOf(Save(hero));
    EXPECT_EQ(chunks.at(73), Bytes_{3});
    EXPECT_EQ(chunks.at(74), (Bytes_{2, 2, 4}));

    hero.AttributeRanks.Bytes = {2, 2, 2};
    chunks = ChunksOf(Save(hero));
    EXPECT_EQ(chunks.count(73), 0u);
    EXPECT_EQ(chunks.at(74), Bytes_{});

    // Ranks beyond the two conditions of the database are not written.
    hero.ConditionRanks.Bytes = {0, 1, 4, 4};
    chunks = ChunksOf(Save(hero));
    EXPECT_EQ(chunks.at(71), Bytes_{2});
    EXPECT_EQ(chunks.at(72), (Bytes_{0, 1}));
}

TEST(VudPlayer, BlockLengthWinsOverItsCount)
{
    // Count chunks that claim 5 and 1 entries around blocks of 3 and 2.
    const Bytes_ file = {0x47, 0x01, 0x05, 0x48, 0x03, 0x00, 0x01, 0x04,
                         0x49, 0x01, 0x01, 0x4A, 0x02, 0x03, 0x04, 0x00};
    TVudPlayerItem hero;
    Load(hero, file);
    EXPECT_EQ(hero.ConditionRanks.Bytes, (Bytes_{0, 1, 4}));
    EXPECT_EQ(hero.AttributeRanks.Bytes, (Bytes_{3, 4}));
    EXPECT_EQ(hero.ConditionRanks.Get(4), 2);
    const auto chunks = ChunksOf(Save(hero));
    EXPECT_EQ(chunks.at(71), Bytes_{3});
    EXPECT_EQ(chunks.at(73), Bytes_{2});

    // A count without its block is an empty array.
    Load(hero, {0x47, 0x01, 0x05, 0x00});
    EXPECT_EQ(hero.ConditionRanks.Count(), 0);
}

TEST(VudPlayer, RichHeroRoundTrips)
{
    TVudPlayerItem hero;
    hero.Name = "Aldo\x80";
    hero.Title = "Caballero";
    hero.CharSetName = "Hero1";
    hero.CharSetIndex = 3;
    hero.Transparent = 1;
    hero.InitialLevel = 5;
    hero.MaxLevel = 40;
    hero.CriticalEnabled = 0;
    hero.CriticalRate = 7;
    hero.FaceName = "Face1";
    hero.FaceIndex = 2;
    hero.TwoWeapons = hero.FixedEquipment = hero.AiControl = hero.StrongDefense = 1;
    hero.SetCurve(1, 10, 999);
    hero.ExpBase = 12;
    hero.ExpExtra = 40;
    hero.ExpCorrection = -5;
    hero.SetEquipment(0, 7);
    hero.UnarmedAnimation = 4;
    hero.Learning.Obtain(1)->Level = 3;
    hero.Learning.Obtain(2)->SkillID = 9;
    hero.CustomCommand = 1;
    hero.CommandName = "Magia";
    hero.ConditionRanks.Bytes = {0, 4};
    hero.AttributeRanks.Bytes = {1};
    const Bytes_ first = Save(hero);

    TVudPlayerItem copy;
    copy.Assign(hero);
    EXPECT_EQ(Save(copy), first);
    EXPECT_EQ(copy.Curve(1, 10), 999);
    EXPECT_EQ(copy.Learning.Count(), 2);
    EXPECT_EQ(copy.CommandName, "Magia");
    EXPECT_EQ(copy.ExpCorrection, -5);
}

TEST(VudPlayer, LearningSortFollowsLevels)
{
    TVudPlayerLearning learning;
    learning.Append()->Level = 3;
    learning.Append()->Level = 8;
    auto* added = learning.Append();
    added->Level = 5;
    added->SkillID = 2;
    learning.Append()->Level = 5; // same level, lower skill: goes first
    learning.SortByLevel();
    ASSERT_EQ(learning.Count(), 4);
    const int levels[] = {3, 5, 5, 8};
    const int skills[] = {1, 1, 2, 1};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(learning.At(i)->ID, i + 1);
        EXPECT_EQ(learning.At(i)->Level, levels[i]);
        EXPECT_EQ(learning.At(i)->SkillID, skills[i]);
    }
}

TEST(VudPlayer, ListMessage)
{
    TVudPlayer heroes;
    EXPECT_THROW(heroes.ItemByID(1), EVudError);
    SetLenientMode(true);
    EXPECT_EQ(heroes.ItemByID(1), nullptr);
    SetLenientMode(false);
    try {
        heroes.ItemByIndex(0);
        ADD_FAILURE() << "no exception";
    } catch (const EVudError& e) {
        EXPECT_STREQ(e.what(), "Héroe no válido.");
    }
}
