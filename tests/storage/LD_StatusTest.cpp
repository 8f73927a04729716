#include <gtest/gtest.h>

#include "LD_Status.h"
#include "RecordChunks.h"

TEST(VudStatus, NewConditionOneGetsItsCreationValues)
{
    TVudStatus list;
    list.Append();
    list.Append();
    const auto one = ChunksOf(Save(*list.At(0)));
    EXPECT_EQ(one.at(2), Bytes_{1});
    EXPECT_EQ(one.at(3), Bytes_{5});
    EXPECT_EQ(one.at(4), Bytes_{100});
    EXPECT_EQ(one.at(5), Bytes_{1});
    const auto two = ChunksOf(Save(*list.At(1)));
    EXPECT_EQ(two.at(2), Bytes_{0});
    EXPECT_EQ(two.at(5), Bytes_{0});
    EXPECT_EQ(two.count(3), 0u);
    EXPECT_EQ(two.count(4), 0u);
    EXPECT_EQ(Save(*list.At(1)), (Bytes_{0x02, 0x01, 0x00, 0x05, 0x01, 0x00, 0x00}));

    // Obtain and Insert create new items too.
    TVudStatus other;
    EXPECT_EQ(other.Obtain(1)->Color, 5);
    other.Insert(1);
    EXPECT_EQ(other.At(0)->Priority, 100);
}

TEST(VudStatus, StoredConditionOneKeepsWriteDefaults)
{
    // Condition 1 saved with colour 6 and priority 50: the file leaves both out.
    TVudStatus list;
    auto* c = list.Obtain(1);
    c->Color = 6;
    c->Priority = 50;
    c->Name = "Veneno";
    const Bytes_ saved = Save(list);

    TVudStatus reloaded;
    Load(reloaded, saved);
    ASSERT_EQ(reloaded.Count(), 1);
    EXPECT_EQ(reloaded.At(0)->Color, 6);
    EXPECT_EQ(reloaded.At(0)->Priority, 50);
    EXPECT_EQ(Save(reloaded), saved);

    // A single record loaded or copied keeps them as well.
    TVudStatusItem single;
    single.Create(1);
    single.Assign(*c);
    EXPECT_EQ(single.Color, 6);
}

TEST(VudStatus, RatesByRank)
{
    TVudStatusItem s;
    const int rates[] = {100, 80, 60, 30, 0};
    for (int r = 0; r < 5; ++r)
        EXPECT_EQ(s.Rate(r), rates[r]);
    EXPECT_EQ(s.Rate(5), 0);
    EXPECT_EQ(s.Rate(-1), 0);
}
