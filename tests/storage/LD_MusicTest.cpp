#include <gtest/gtest.h>

#include "LD_Music.h"
#include "TestRecords.h"

using ByteVec = std::vector<uint8_t>;

TEST(Music, ClearedRecordsWriteOnlyTheirName)
{
    const ByteVec off = {0x01, 0x05, '(', 'O', 'F', 'F', ')', 0x00};
    EXPECT_EQ(Save(TVudMusic()), off);
    EXPECT_EQ(Save(TVudSound()), off);
}

TEST(Music, RoundTripAndDirectAssign)
{
    TVudMusic m;
    m.Name = "Batalla";
    m.FadeIn = 3000;
    m.Volume = 0;
    m.Balance = 100;
    TVudMusic back;
    Load(back, Save(m));
    EXPECT_EQ(Save(back), Save(m));
    TVudMusic copy;
    copy.Assign(m);
    EXPECT_EQ(copy.Name, "Batalla");
    EXPECT_EQ(copy.FadeIn, 3000);

    TVudSound s;
    s.Name = "Cursor";
    s.Tempo = 150;
    TVudSound t;
    t.Assign(s);
    EXPECT_EQ(Save(t), (ByteVec{0x01, 0x06, 'C', 'u', 'r', 's', 'o', 'r', 0x04, 0x02, 0x81, 0x16, 0x00}));
    // A music record takes a sound through the chunks: shared IDs carry over.
    TVudMusic fromSound;
    fromSound.Assign(s);
    EXPECT_EQ(fromSound.Tempo, 150);
    EXPECT_EQ(fromSound.FadeIn, 0);
}
