#include <gtest/gtest.h>

#include "LD_Event.h"
#include "TestRecords.h"

using ByteVec = std::vector<uint8_t>;

namespace {
bool contains(const ByteVec& hay, const ByteVec& needle)
{
    return std::search(hay.begin(), hay.end(), needle.begin(), needle.end()) != hay.end();
}

ByteVec blockOf(const TVudEventScriptList& list)
{
    TWriter w;
    list.SaveToBlock(w);
    return w.Buf;
}

TVudEventScriptList listOf(std::initializer_list<TVudEventScriptLine> lines)
{
    TVudEventScriptList l;
    for (const auto& line : lines)
        l.Add(line);
    return l;
}
} // namespace

TEST(EventScript, LineEncodings)
{
    const struct {
        TVudEventScriptLine line;
        ByteVec bytes;
    } cases[] = {
        {{10110, 1, "Hola"}, {0xCE, 0x7E, 0x01, 0x04, 'H', 'o', 'l', 'a', 0x00}},
        {{0, 0}, {0, 0, 0, 0}},
        {{10, 2, "", {-1, 300}}, {0x0A, 0x02, 0x00, 0x02, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F, 0x82, 0x2C}},
    };
    for (const auto& c : cases) {
        const ByteVec out = blockOf(listOf({c.line}));
        EXPECT_EQ(out, c.bytes) << c.line.Code;
        TVudEventScriptList back;
        TReader r(out);
        back.LoadFromBlock(r);
        ASSERT_EQ(back.Count(), 1);
        EXPECT_EQ(*back.Line(0), c.line);
    }
}

TEST(EventScript, TruncatedOrBombedBlocksAreReadErrors)
{
    const ByteVec full = blockOf(listOf({{10110, 1, "Hola", {1, 2}}, {0, 0}}));
    for (size_t n = 1; n < full.size(); ++n) {
        const ByteVec cut(full.begin(), full.begin() + std::ptrdiff_t(n));
        if (n == full.size() - 4)
            continue; // ends exactly after the first line
        TVudEventScriptList l;
        TReader r(cut);
        EXPECT_THROW(l.LoadFromBlock(r), EReadError) << n;
    }
    // A parameter count of 2^31 with nothing behind it must not allocate.
    const ByteVec bomb = {0x01, 0x00, 0x00, 0x88, 0x80, 0x80, 0x80, 0x00};
    TVudEventScriptList l;
    TReader r(bomb);
    EXPECT_THROW(l.LoadFromBlock(r), EReadError);
}

TEST(EventScript, ParamsReadZeroWhenMissingAndNewOnesAreZeroed)
{
    TVudEventScriptLine line(11330, 0, "", {7});
    EXPECT_EQ(line.Param(5), 0);
    EXPECT_EQ(line.Param(-1), 0);
    line.SetParam(5, 9); // ignored
    EXPECT_EQ(line.ParamCount(), 1);
    line.SetParamCount(4);
    EXPECT_EQ(line.Params, (std::vector<int32_t>{7, 0, 0, 0}));
}

TEST(EventScript, InsertLinesRebasesIndents)
{
    const TVudEventScriptList block = listOf({{10110, 2, "a"}, {10120, 3}, {10, 3}});
    const struct {
        const char* what;
        TVudEventScriptList dest;
        int index, shift;
        std::vector<int> indents;
    } cases[] = {
        {"onto indent 0", listOf({{0, 0}}), 0, 0, {0, 1, 1, 0}},
        {"onto indent 1, shift 1", listOf({{10110, 1}, {0, 1}}), 1, 1, {1, 2, 3, 3, 1}},
        {"past the end uses the last line", listOf({{10110, 1}}), 5, 0, {1, 1, 2, 2}},
        {"empty destination uses indent 0", TVudEventScriptList(), 0, 0, {0, 1, 1}},
    };
    for (const auto& c : cases) {
        TVudEventScriptList dest = c.dest;
        dest.InsertLines(c.index, block, c.shift);
        std::vector<int> indents;
        for (const auto& l : dest.Lines)
            indents.push_back(l.Indent);
        EXPECT_EQ(indents, c.indents) << c.what;
    }
    TVudEventScriptList self = listOf({{1, 0}, {2, 1}});
    self.InsertLines(1, self, 0);
    EXPECT_EQ(self.Count(), 4);
}

TEST(EventModel, NewEventHasOnePageWithTheEndLine)
{
    TVudEventItem ev;
    ASSERT_EQ(ev.Pages.Count(), 1);
    const TVudEventPageItem& page = *ev.Pages.ItemByID(1);
    ASSERT_EQ(page.Script.Count(), 1);
    EXPECT_EQ(*page.Script.Line(0), TVudEventScriptLine(0, 0));
    const ByteVec out = Save(page);
    EXPECT_TRUE(contains(out, {0x33, 0x01, 0x04}));
    EXPECT_TRUE(contains(out, {0x34, 0x04, 0x00, 0x00, 0x00, 0x00}));
}

TEST(EventModel, ConditionDefaults)
{
    TVudEventCondition c;
    EXPECT_EQ(Save(c), (ByteVec{0x01, 0x01, 0x00, 0x07, 0x01, 0x01, 0x00}));
    c.HeroID = 0;
    c.SwitchBID = 4;
    EXPECT_EQ(Save(c), (ByteVec{0x01, 0x01, 0x00, 0x03, 0x01, 0x04, 0x00}));
}

TEST(EventModel, PageRoundTripsWithScriptAndRoute)
{
    TVudEventPageItem page;
    page.CharSetName = "Héroe";
    page.Direction = 3;
    page.Trigger = 4;
    page.Condition.Flags = TVudEventCondition::cfSwitchA | TVudEventCondition::cfTimer;
    page.Condition.TimerSeconds = 75;
    page.MoveRoute.AddCommand().Code = 2;
    page.Script = listOf({{10110, 0, "Hola"}, {12010, 0, "", {1, 2, -3}}, {0, 0}});
    const ByteVec first = Save(page);
    TVudEventPageItem back;
    Load(back, first);
    EXPECT_EQ(back.Script, page.Script);
    EXPECT_EQ(back.MoveRoute.Commands, page.MoveRoute.Commands);
    EXPECT_EQ(back.Condition.TimerSeconds, 75);
    EXPECT_EQ(Save(back), first);
}

TEST(EventModel, ScriptSizeThatDisagreesWithItsBlockIsIgnored)
{
    TVudEventPageItem page;
    page.Script = listOf({{10110, 0, "Hola"}, {0, 0}});
    ByteVec bytes = Save(page);
    // Claim 200 bytes instead of the real size: decoding goes by the block alone.
    const ByteVec size = {0x33, 0x01, uint8_t(page.ScriptSize)};
    auto it = std::search(bytes.begin(), bytes.end(), size.begin(), size.end());
    ASSERT_NE(it, bytes.end());
    it[1] = 0x02;
    it[2] = 0x81;
    bytes.insert(it + 3, 0x48);
    TVudEventPageItem back;
    Load(back, bytes);
    EXPECT_EQ(back.Script, page.Script);
}

TEST(EventModel, EventListAccessorsRaiseTheirMessages)
{
    TVudEvent events;
    events.Obtain(3)->Name = "Puerta";
    try {
        events.ItemByID(4);
        FAIL();
    } catch (const EVudError& e) {
        EXPECT_STREQ(e.what(), "Evento no válido.");
    }
    EXPECT_THROW(events.ItemByID(3)->Pages.ItemByID(2), EVudError);
    SetLenientMode(true);
    EXPECT_EQ(events.ItemByID(4), nullptr);
    SetLenientMode(false);
}
