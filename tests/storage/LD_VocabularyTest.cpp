#include <gtest/gtest.h>

#include "LD_Vocabulary.h"
#include "TestRecords.h"

using ByteVec = std::vector<uint8_t>;

namespace {
// The chunk IDs a vocabulary holds, written out as runs independently of the record's table.
std::vector<int> vocabularyIDs()
{
    std::vector<int> ids;
    auto run = [&](int a, int b) {
        for (int i = a; i <= b; ++i)
            ids.push_back(i);
    };
    run(1, 37), run(41, 51), run(54, 64), run(67, 77), run(80, 89), run(92, 93), run(95, 95);
    run(101, 108), run(110, 110), run(112, 112), run(114, 115), run(117, 117), run(123, 140);
    run(146, 148), run(151, 153);
    return ids;
}
} // namespace

TEST(Vocabulary, ClearedRecordIs120EmptyChunks)
{
    const std::vector<int> ids = vocabularyIDs();
    ASSERT_EQ(ids.size(), 120u);
    ByteVec expected;
    for (int id : ids) {
        if (id >= 128)
            expected.insert(expected.end(), {uint8_t(0x80 | (id >> 7)), uint8_t(id & 0x7F)});
        else
            expected.push_back(uint8_t(id));
        expected.push_back(0x00);
    }
    expected.push_back(0x00);
    TVudVocabulary v;
    EXPECT_EQ(Save(v), expected);
    const ByteVec id128 = {0x81, 0x00, 0x00};
    EXPECT_NE(std::search(expected.begin(), expected.end(), id128.begin(), id128.end()), expected.end());
}

TEST(Vocabulary, TextsAreReachedByIDAndRoundTrip)
{
    TVudVocabulary v;
    const std::string fifty(50, 'x');
    v.Shops[0].Greeting = fifty;
    v.Inns[1].LeaveCommand = "No";
    v.Currency = "\x80";
    ByteVec out = Save(v);
    ByteVec chunk41 = {0x29, 0x32};
    chunk41.resize(52, 'x');
    EXPECT_NE(std::search(out.begin(), out.end(), chunk41.begin(), chunk41.end()), out.end());

    TVudVocabulary back;
    Load(back, out);
    EXPECT_EQ(*back.Text(41), fifty);
    EXPECT_EQ(*back.Text(89), "No");
    EXPECT_EQ(back.Currency, "\x80");
    EXPECT_EQ(Save(back), out);

    for (int gap : {38, 52, 90, 94, 109, 141, 150, 154})
        EXPECT_EQ(back.Text(gap), nullptr) << gap;
    back.Clear();
    EXPECT_TRUE(back.Shops[0].Greeting.empty());
}

TEST(Vocabulary, MaxLengths)
{
    const struct {
        int id, max;
    } cases[] = {{1, 30}, {7, 38}, {41, 50}, {43, 12}, {56, 12}, {77, 50}, {80, 16}, {86, 20}, {89, 12},
                 {95, 6}, {127, 2}, {153, 10}, {38, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(TVudVocabulary::MaxLength(c.id), c.max) << c.id;
    for (int id : vocabularyIDs())
        EXPECT_GT(TVudVocabulary::MaxLength(id), 0) << id;
}
