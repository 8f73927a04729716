#include <gtest/gtest.h>

#include "LD_MonGroup.h"
#include "RecordChunks.h"

TEST(VudMonGroup, NewTroopAndTerrainArray)
{
    TVudMonGroupItem troop;
    EXPECT_EQ(troop.Members.Count(), 0);
    ASSERT_EQ(troop.Pages.Count(), 1);
    EXPECT_EQ(troop.Pages.At(0)->Script.Count(), 1);
    // An empty terrain array allows every terrain; growing fills 1 and nothing is trimmed.
    EXPECT_EQ(troop.TerrainAllowed.Get(5), 1);
    troop.TerrainAllowed.SetCount(3);
    troop.TerrainAllowed.Set(1, 0);
    EXPECT_EQ(troop.TerrainAllowed.Bytes, (Bytes_{0, 1, 1}));
    const auto chunks = ChunksOf(Save(troop));
    EXPECT_EQ(chunks.at(4), Bytes_{3});
    EXPECT_EQ(chunks.at(5), (Bytes_{0, 1, 1}));
    EXPECT_EQ(chunks.at(2), Bytes_{0});
}

TEST(VudMonGroup, BattlePageTriggerBytes)
{
    TVudBattleEventPageItem page;
    page.Trigger.Flags = TVudBattleEventTrigger::tfSwitchA;
    EXPECT_EQ(Save(page.Trigger), (Bytes_{0x01, 0x01, 0x01, 0x00}));
    page.Trigger.SwitchAID = 4;
    EXPECT_EQ(Save(page.Trigger), (Bytes_{0x01, 0x01, 0x01, 0x02, 0x01, 0x04, 0x00}));
    // The page: trigger, then the script of one end line.
    const auto chunks = ChunksOf(Save(page));
    EXPECT_EQ(chunks.at(11), Bytes_{4});
    EXPECT_EQ(chunks.at(12), (Bytes_{0, 0, 0, 0}));
}

TEST(VudMonGroup, RichTroopRoundTrips)
{
    TVudMonGroupItem troop;
    troop.Name = "Limos x2";
    for (int i = 0; i < 2; ++i) {
        auto* m = troop.Members.Append();
        m->MonsterID = 3;
        m->X = 100 + 60 * i;
        m->Y = 80;
        m->Invisible = uint8_t(i);
    }
    troop.TerrainAllowed.Bytes = {1, 0};
    auto* page = troop.Pages.Append();
    page->Trigger.Flags = TVudBattleEventTrigger::tfTurn | TVudBattleEventTrigger::tfHeroHp;
    page->Trigger.TurnA = 2;
    page->Trigger.TurnB = 3;
    page->Trigger.VariableValue = -999999;
    page->Trigger.HeroHpMax = 50;
    page->Script.Lines.insert(page->Script.Lines.begin(), TVudEventScriptLine(10110, 0, "Hola"));

    TVudMonGroupItem copy;
    copy.Assign(troop);
    EXPECT_EQ(Save(copy), Save(troop));
    ASSERT_EQ(copy.Pages.Count(), 2);
    EXPECT_EQ(copy.Pages.At(1)->Script.Count(), 2);
    EXPECT_EQ(copy.Pages.At(1)->Script.Line(0)->Text, "Hola");
    EXPECT_EQ(copy.Pages.At(1)->Trigger.VariableValue, -999999);
    EXPECT_EQ(copy.Members.At(1)->Invisible, 1);

    // A script block shorter than its size chunk decodes from the block.
    TVudBattleEventPageItem p;
    Load(p, {0x0B, 0x01, 0x09, 0x0C, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00});
    EXPECT_EQ(p.Script.Count(), 1);

    TVudMonGroup list;
    EXPECT_THROW(list.ItemByID(1), EVudError);
}
