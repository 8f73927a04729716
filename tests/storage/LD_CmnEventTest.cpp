#include <gtest/gtest.h>

#include "LD_CmnEvent.h"
#include "TestRecords.h"

using ByteVec = std::vector<uint8_t>;

TEST(CommonEvent, ClearedRecordBytes)
{
    TVudCommonEventItem ev;
    EXPECT_EQ(Save(ev), (ByteVec{0x0B, 0x01, 0x05, 0x15, 0x01, 0x04, 0x16, 0x04, 0, 0, 0, 0, 0x00}));
    EXPECT_EQ(ev.Script.Count(), 1);
    EXPECT_EQ(ev.Script.Line(0)->Code, 0);
}

TEST(CommonEvent, ScriptAndSettingsRoundTrip)
{
    TVudCommonEventItem ev;
    ev.Name = "Curar\x80";
    ev.Trigger = TVudCommonEventItem::ctParallel;
    ev.UseSwitch = 1;
    ev.SwitchID = 7;
    ev.Script.Lines.insert(ev.Script.Lines.begin(), TVudEventScriptLine(10110, 0, "Hola", {1, -2}));
    const ByteVec out = Save(ev);
    TVudCommonEventItem back;
    Load(back, out);
    EXPECT_EQ(back.Name, "Curar\x80");
    EXPECT_EQ(back.Trigger, 4);
    EXPECT_EQ(back.UseSwitch, 1);
    EXPECT_EQ(back.SwitchID, 7);
    EXPECT_EQ(back.Script, ev.Script);
    EXPECT_EQ(Save(back), out);
}

TEST(CommonEvent, ScriptBlockLengthWinsOverItsSizeChunk)
{
    // Size chunk says 99, the block holds one end line: the block is read, the size rewritten.
    const ByteVec in = {0x15, 0x01, 0x63, 0x16, 0x04, 0, 0, 0, 0, 0x00};
    TVudCommonEventItem ev;
    Load(ev, in);
    EXPECT_EQ(ev.Script.Count(), 1);
    const ByteVec out = Save(ev);
    const ByteVec size4 = {0x15, 0x01, 0x04, 0x16, 0x04};
    EXPECT_NE(std::search(out.begin(), out.end(), size4.begin(), size4.end()), out.end());
}

TEST(CommonEvent, ListMessage)
{
    TVudCommonEvent list;
    try {
        list.ItemByID(3);
        FAIL();
    } catch (const EVudError& e) {
        EXPECT_STREQ(e.what(), "Evento común no válido.");
    }
}
