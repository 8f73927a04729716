#include <gtest/gtest.h>

#include "TestRecords.h"

using ByteVec = std::vector<uint8_t>;

namespace {
struct TIntsOnly : TCatalogBaseItem {
    int32_t A = 0, B = 1;
    uint8_t F = 0;
    static const TFieldTable Table;
    const TFieldTable* Fields() const override { return &Table; }
    void Clear() override { A = 0, B = 1, F = 0; }
};
const TFieldTable TIntsOnly::Table = {
    Integer<&TIntsOnly::A>(5, "A", 0),
    Integer<&TIntsOnly::B>(6, "B", 1),
    Byte<&TIntsOnly::F>(7, "F", 0),
};

ByteVec recordBytes(int a, int b)
{
    TIntsOnly r;
    r.A = a;
    r.B = b;
    return Save(r);
}

TTestRecord richRecord()
{
    TTestRecord r;
    r.Name = "Espada\x80";
    r.A = 300;
    r.B = 0;
    r.C = -8;
    r.Flag = 3;
    r.Pair[0] = 7;
    r.Pair[1] = 9;
    r.Note = "nota";
    r.Ids = {1, 0, 2, 0};
    r.Subs.Obtain(1)->Value = 11;
    r.Subs.Obtain(3)->Name = "tres";
    r.Single.Value = 42;
    r.Rate = 1.5;
    return r;
}
} // namespace

TEST(Codec, ByteExamples)
{
    const struct {
        int a, b;
        ByteVec bytes;
    } cases[] = {
        {0, 1, {0x00}},                                     // all defaults
        {300, 1, {0x05, 0x02, 0x82, 0x2C, 0x00}},           // 300 in chunk 5
        {0, 0, {0x06, 0x01, 0x00, 0x00}},                   // 0 against default 1
        {-1, 1, {0x05, 0x05, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F, 0x00}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(recordBytes(c.a, c.b), c.bytes) << c.a << "," << c.b;

    TTestRecord r;
    r.C = -8;
    const ByteVec out = Save(r);
    const ByteVec chunk36 = {0x24, 0x05, 0x8F, 0xFF, 0xFF, 0xFF, 0x78};
    EXPECT_NE(std::search(out.begin(), out.end(), chunk36.begin(), chunk36.end()), out.end());
}

TEST(Codec, EmptyStringIsWrittenUnlessSkipped)
{
    TTestRecord r;
    const ByteVec out = Save(r);
    // Name (chunk 1, not skipped) leads with a zero length; Note (chunk 9, skipped) is absent.
    ASSERT_GE(out.size(), 2u);
    EXPECT_EQ(out[0], 0x01);
    EXPECT_EQ(out[1], 0x00);
    EXPECT_EQ(std::find(out.begin(), out.end(), 0x09), out.end());
}

TEST(Codec, RichRecordRoundTrips)
{
    const TTestRecord r = richRecord();
    const ByteVec first = Save(r);
    TTestRecord back;
    Load(back, first);
    EXPECT_EQ(Save(back), first);
    EXPECT_EQ(back.C, -8);
    EXPECT_EQ(back.Subs.Count(), 2);
    EXPECT_EQ(back.Subs.Find(3)->Name, "tres");
    EXPECT_EQ(back.Single.Value, 42);
    EXPECT_EQ(back.Rate, 1.5);
    EXPECT_EQ(back.Ids, (TBlock{1, 0, 2, 0}));
}

TEST(Codec, LenientChunkRules)
{
    const struct {
        const char* what;
        ByteVec in;
        int a, b, flag;
    } cases[] = {
        {"ID 1000 is skipped", {0x87, 0x68, 0x01, 0x05, 0x05, 0x01, 0x07, 0x00}, 7, 1, 0},
        {"unknown ID is skipped", {0x02, 0x02, 0xAA, 0xBB, 0x05, 0x01, 0x07, 0x00}, 7, 1, 0},
        {"wrong-length byte chunk keeps Clear", {0x07, 0x02, 0x01, 0x01, 0x05, 0x01, 0x07, 0x00}, 7, 1, 0},
        {"integer not filling its chunk keeps Clear", {0x05, 0x03, 0x07, 0x01, 0x02, 0x06, 0x01, 0x09, 0x00}, 0, 9, 0},
        {"integer running out inside its chunk keeps Clear", {0x05, 0x01, 0x81, 0x07, 0x01, 0x04, 0x00}, 0, 1, 4},
        {"chunks out of order still load", {0x07, 0x01, 0x02, 0x05, 0x01, 0x03, 0x00}, 3, 1, 2},
    };
    for (const auto& c : cases) {
        TIntsOnly r;
        r.A = 99;
        Load(r, c.in);
        EXPECT_EQ(r.A, c.a) << c.what;
        EXPECT_EQ(r.B, c.b) << c.what;
        EXPECT_EQ(r.F, c.flag) << c.what;
    }
}

TEST(Codec, NestedRecordResyncsToItsChunkEnd)
{
    // Single (chunk 12) holds Value=5, its end, then junk; the parent goes on after the chunk.
    const ByteVec in = {0x0C, 0x06, 0x02, 0x01, 0x05, 0x00, 0xFF, 0xFF, 0x24, 0x01, 0x04, 0x00};
    TTestRecord r;
    Load(r, in);
    EXPECT_EQ(r.Single.Value, 5);
    EXPECT_EQ(r.C, 4);
}

TEST(Codec, NestedRecordWithoutItsEndCannotEatTheParent)
{
    // The nested record never ends inside its 3 bytes: an error, not a read of chunk 36.
    const ByteVec in = {0x0C, 0x03, 0x02, 0x01, 0x05, 0x24, 0x01, 0x04, 0x00, 0x00};
    TTestRecord r;
    EXPECT_THROW(Load(r, in), EReadError);
}

TEST(Codec, EveryTruncationIsAReadError)
{
    const ByteVec full = Save(richRecord());
    for (size_t n = 0; n < full.size(); ++n) {
        TTestRecord r;
        const ByteVec cut(full.begin(), full.begin() + std::ptrdiff_t(n));
        EXPECT_THROW(Load(r, cut), EReadError) << "prefix " << n;
    }
}

TEST(Codec, LengthBombsFailQuickly)
{
    const ByteVec bombs[] = {
        {0x01, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F, 'x', 0x00},             // string chunk length
        {0x0B, 0x06, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F, 0x00, 0x00},       // list count
        {0x0A, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F, 0x00},                   // block length
    };
    for (const auto& in : bombs) {
        TTestRecord r;
        EXPECT_THROW(Load(r, in), EReadError);
    }
}

TEST(Codec, AssignIsADeepCopyThroughTheChunkFormat)
{
    TTestRecord a = richRecord();
    TTestRecord b;
    b.Assign(a);
    a.Subs.Find(1)->Value = 0;
    EXPECT_EQ(b.Subs.Find(1)->Value, 11);
    EXPECT_EQ(Save(b), Save(richRecord()));
}

TEST(Clipboard, SingleRecordBlockLayout)
{
    TIntsOnly r;
    r.A = 300;
    const ByteVec block = r.CopyToClipboard();
    EXPECT_EQ(block, (ByteVec{5, 0, 0, 0, 1, 0, 0, 0, 0x05, 0x02, 0x82, 0x2C, 0x00}));
    TIntsOnly back;
    EXPECT_TRUE(back.PasteFromClipboard(block));
    EXPECT_EQ(back.A, 300);
}

TEST(Clipboard, MalformedBlocksPasteNothing)
{
    const ByteVec blocks[] = {
        {},                                                  // no block
        {5, 0, 0},                                           // shorter than its header
        {0xFF, 0xFF, 0xFF, 0x7F, 1, 0, 0, 0, 0x00},          // byte count beyond the block
        {1, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0x00},                // more records than bytes
        {3, 0, 0, 0, 1, 0, 0, 0, 0x05, 0x02, 0x82},          // record without its end
    };
    for (const auto& block : blocks) {
        TIntsOnly r;
        r.A = 17;
        EXPECT_FALSE(r.PasteFromClipboard(block));
        EXPECT_EQ(r.A, 17);
        TCatalogOf<TTestSub> list;
        list.Obtain(1)->Value = 5;
        EXPECT_EQ(list.PasteFromClipboard(block, 0), 0);
        EXPECT_EQ(list.Find(1)->Value, 5);
    }
}

// ---- lists -------------------------------------------------------------------------------

namespace {
TCatalogOf<TTestSub> listOf(std::initializer_list<int> ids)
{
    TCatalogOf<TTestSub> list("Sub no válido.");
    for (int id : ids)
        list.Obtain(id)->Value = id * 10;
    return list;
}

std::vector<int> idsOf(const TCatalog& list)
{
    std::vector<int> ids;
    for (int i = 0; i < list.Count(); ++i)
        ids.push_back(list.Item(i)->ID);
    return ids;
}
} // namespace

TEST(Catalog, ObtainKeepsAscendingOrder)
{
    auto list = listOf({1, 2, 5});
    TCatalogItem* two = list.FindByID(2);
    EXPECT_EQ(list.Obtain(2), two);
    list.Obtain(3);
    list.Obtain(7);
    EXPECT_EQ(idsOf(list), (std::vector<int>{1, 2, 3, 5, 7}));
    EXPECT_EQ(list.Find(3)->Value, 0);
}

TEST(Catalog, InsertAndRemoveRenumber)
{
    auto list = listOf({1, 2, 3});
    list.Insert(2)->Value = 99;
    EXPECT_EQ(idsOf(list), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(list.Find(2)->Value, 99);
    EXPECT_EQ(list.Find(3)->Value, 20);

    auto other = listOf({1, 2, 3, 4});
    other.Remove(2);
    EXPECT_EQ(idsOf(other), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(other.Find(2)->Value, 30);

    other.Delete(2);
    EXPECT_EQ(idsOf(other), (std::vector<int>{1, 3}));
}

TEST(Catalog, FindAppendSortDisplayName)
{
    auto list = listOf({1, 2, 5});
    EXPECT_EQ(list.FindByID(9), nullptr);
    EXPECT_EQ(list.FindByID(5)->ID, 5);
    EXPECT_EQ(list.FindByID(4), nullptr);
    EXPECT_EQ(list.Append()->ID, 6);

    list.Sort([](const TCatalogItem& a, const TCatalogItem& b) {
        return static_cast<const TTestSub&>(a).Value > static_cast<const TTestSub&>(b).Value;
    });
    EXPECT_EQ(idsOf(list), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(list.Find(1)->Value, 50);

    TTestSub item;
    item.ID = 7;
    item.Name = "Slime";
    EXPECT_EQ(TCatalog::DisplayName(item), "0007:Slime");
    item.ID = 8;
    item.Name.clear();
    EXPECT_EQ(TCatalog::DisplayName(item), "0008");
}

TEST(Catalog, SavesGapsAndLoadsOutOfOrderIds)
{
    TCatalogOf<TTestSub> list;
    list.Obtain(1);
    list.Obtain(3);
    const ByteVec out = Save(list);
    EXPECT_EQ(out, (ByteVec{0x02, 0x01, 0x01, 0x00, 0x00, 0x03, 0x01, 0x00, 0x00}));

    TCatalogOf<TTestSub> back;
    Load(back, out);
    EXPECT_EQ(idsOf(back), (std::vector<int>{1, 3}));

    // 3 items: ID 4, then 2, then 4 again (the later record wins).
    const ByteVec shuffled = {0x03, 0x04, 0x02, 0x01, 0x01, 0x00, 0x02, 0x00, 0x04, 0x02, 0x01, 0x02, 0x00};
    Load(back, shuffled);
    EXPECT_EQ(idsOf(back), (std::vector<int>{2, 4}));
    EXPECT_EQ(back.Find(4)->Value, 2);
}

TEST(Catalog, FailedLoadLeavesTheListEmpty)
{
    auto list = listOf({1, 2});
    const ByteVec bad = {0x02, 0x01, 0x00, 0x02};
    EXPECT_THROW(Load(list, bad), EReadError);
    EXPECT_EQ(list.Count(), 0);
}

TEST(Catalog, TypedAccessorsRaiseTheListMessageUnlessLenient)
{
    auto list = listOf({1});
    try {
        list.ItemByID(4);
        FAIL();
    } catch (const EVudError& e) {
        EXPECT_STREQ(e.what(), "Sub no válido.");
    }
    SetLenientMode(true);
    EXPECT_EQ(list.ItemByID(4), nullptr);
    EXPECT_EQ(list.ItemByIndex(3), nullptr);
    SetLenientMode(false);
}

TEST(Catalog, ClipboardRangesOverwriteConsecutiveIds)
{
    auto source = listOf({1, 2, 3, 4, 5, 6, 7});
    const ByteVec block = source.CopyToClipboard(4, 3); // IDs 5, 6, 7

    auto target = listOf({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    EXPECT_EQ(target.PasteFromClipboard(block, 9), 3);
    EXPECT_EQ(idsOf(target).back(), 12);
    EXPECT_EQ(target.Find(10)->Value, 50);
    EXPECT_EQ(target.Find(11)->Value, 60);
    EXPECT_EQ(target.Find(12)->Value, 70);

    TCatalogOf<TTestSub> edge;
    EXPECT_EQ(edge.PasteFromClipboard(block, 4998), 2);
    EXPECT_EQ(idsOf(edge), (std::vector<int>{4999, 5000}));
}

TEST(Catalog, ClipboardPasteLoadsIntoTheObtainedItemOfASparseList)
{
    // With a gap, index k does not hold ID k+1: the pasted record must land on ID k+1.
    auto list = listOf({1, 5});
    TTestSub one;
    one.Value = 77;
    EXPECT_EQ(list.PasteFromClipboard(one.CopyToClipboard(), 1), 1);
    EXPECT_EQ(list.Find(2)->Value, 77);
    EXPECT_EQ(list.Find(5)->Value, 50);
}

TEST(Catalog, AssignCopiesEveryItem)
{
    auto a = listOf({1, 4});
    TCatalogOf<TTestSub> b;
    b.Obtain(9);
    b.Assign(a);
    EXPECT_EQ(idsOf(b), (std::vector<int>{1, 4}));
    a.Find(4)->Value = 0;
    EXPECT_EQ(b.Find(4)->Value, 40);
}
