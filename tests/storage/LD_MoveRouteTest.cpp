#include <gtest/gtest.h>

#include "LD_Event.h"
#include "LD_MoveRoute.h"
#include "TestRecords.h"

using ByteVec = std::vector<uint8_t>;

namespace {
TVudMoveRoute sampleRoute()
{
    TVudMoveRoute r;
    r.AddCommand().Code = 0;
    auto& on = r.AddCommand();
    on.Code = mrSwitchOn;
    on.Value = 5;
    r.AddCommand().Code = 2;
    return r;
}
} // namespace

TEST(MoveRoute, ByteExampleAndChunks)
{
    const TVudMoveRoute r = sampleRoute();
    EXPECT_EQ(r.ToBytes(), (TBlock{0x00, 0x20, 0x05, 0x02}));
    EXPECT_EQ(Save(r), (ByteVec{0x0B, 0x01, 0x04, 0x0C, 0x04, 0x00, 0x20, 0x05, 0x02, 0x00}));
    EXPECT_EQ(Save(TVudMoveRoute()), (ByteVec{0x0C, 0x00, 0x00}));
}

TEST(MoveRoute, EveryCommandWithParametersRoundTrips)
{
    TVudMoveRoute r = sampleRoute();
    TVudMoveRouteItem g;
    g.Code = mrChangeGraphic;
    g.CharSetName = "Chara1";
    g.CharSetIndex = 7;
    r.InsertCommand(0, g);
    TVudMoveRouteItem s;
    s.Code = mrPlaySound;
    s.SoundName = "Cursor";
    s.Volume = 80;
    s.Tempo = 120;
    s.Balance = 0;
    r.InsertCommand(99, s);
    r.Repeat = 0;
    r.Skippable = 1;
    TVudMoveRoute back;
    Load(back, Save(r));
    EXPECT_EQ(back.Commands, r.Commands);
    EXPECT_EQ(back.Repeat, 0);
    EXPECT_EQ(back.Skippable, 1);
    back.DeleteCommand(0);
    back.DeleteCommand(42);
    EXPECT_EQ(back.Count(), 4);
}

TEST(MoveRoute, TruncatedBlockIsAReadError)
{
    TVudMoveRoute r = sampleRoute();
    TVudMoveRouteItem s;
    s.Code = mrPlaySound;
    s.SoundName = "Cursor";
    r.Commands.push_back(s);
    const TBlock full = r.ToBytes();
    for (size_t n = 1; n < full.size(); ++n) {
        if (n == 1 || n == 3 || n == 4)
            continue; // command boundaries
        TVudMoveRoute back;
        EXPECT_THROW(back.SetFromBytes(std::span(full.data(), n)), EReadError) << n;
        EXPECT_EQ(back.Count(), 0);
    }
}

TEST(MoveRoute, SetRouteCommandCarriesTheRouteInItsParameters)
{
    TVudMoveRoute r = sampleRoute();
    r.Repeat = 0;
    TVudEventScriptLine line;
    PutMoveRouteInLine(line, kEventHero, 4, r);
    EXPECT_EQ(line.Code, kSetMoveRouteCode);
    EXPECT_EQ(line.Params, (std::vector<int32_t>{10001, 4, 0, 0, 0x00, 0x20, 0x05, 0x02}));
    TVudMoveRoute back;
    GetMoveRouteFromLine(line, back);
    EXPECT_EQ(back.Commands, r.Commands);
    EXPECT_EQ(back.Repeat, 0);

    // Out-of-range bytes and a route cut inside a command are errors, not crashes.
    for (auto bad : {std::vector<int32_t>{1, 1, 1, 0, 300}, std::vector<int32_t>{1, 1, 1, 0, -1},
                     std::vector<int32_t>{1, 1, 1, 0, 0x20}, std::vector<int32_t>{1, 1, 1, 0, 0x23, 0x05}}) {
        TVudEventScriptLine l(kSetMoveRouteCode, 0, "", bad);
        EXPECT_THROW(GetMoveRouteFromLine(l, back), EReadError);
    }
    TVudEventScriptLine shortLine(kSetMoveRouteCode, 0, "", {1});
    GetMoveRouteFromLine(shortLine, back);
    EXPECT_EQ(back.Count(), 0);
}
