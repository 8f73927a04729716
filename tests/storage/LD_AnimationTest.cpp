#include <gtest/gtest.h>

#include "LD_Animation.h"
#include "RecordChunks.h"

namespace {
Bytes_ newAnimationBytes()
{
    Bytes_ frames = {20};
    for (uint8_t id = 1; id <= 20; ++id)
        frames.insert(frames.end(), {id, 0x01, 0x01, 0x00, 0x00});
    Bytes_ out = {0x06, 0x01, 0x00, 0x09, 0x01, 0x00, 0x0A, 0x01, 0x02, 0x0C, uint8_t(frames.size())};
    out.insert(out.end(), frames.begin(), frames.end());
    out.push_back(0x00);
    return out;
}

// A list of n animations with distinct names, one cell and one timing each.
void fill(TVudAnimation& list, int n)
{
    list.Clear();
    for (int i = 1; i <= n; ++i) {
        auto* a = list.Append();
        a->Name = "Anim" + std::to_string(i);
        a->Frames.At(0)->Cells.Append()->X = i;
        a->Timings.Append()->Frame = i;
    }
}
} // namespace

TEST(VudAnimation, NewAnimationBytes)
{
    TVudAnimationItem a;
    EXPECT_EQ(a.FrameCount(), 20);
    EXPECT_EQ(Save(a), newAnimationBytes());
    // A timing with every flash value at 31 writes its frame, its sound and its scope only.
    TVudAnimationTimingItem t;
    t.Frame = 3;
    const auto chunks = ChunksOf(Save(t));
    EXPECT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks.at(1), Bytes_{3});
    EXPECT_EQ(chunks.at(3), Bytes_{0});
    EXPECT_EQ(chunks.at(2), (Bytes_{0x01, 0x05, '(', 'O', 'F', 'F', ')', 0x00}));
    // A cleared cell writes nothing but its terminator.
    EXPECT_EQ(Save(TVudAnimationCellItem()), Bytes_{0x00});
}

TEST(VudAnimation, SaveUsesTheCacheUntilDirty)
{
    TVudAnimationItem a;
    a.Name = "Fuego";
    const Bytes_ first = Save(a);
    EXPECT_FALSE(a.Dirty);
    EXPECT_EQ(a.Cache, first);
    a.Name = "Hielo"; // a change nobody reported: the cached bytes still go out
    EXPECT_EQ(Save(a), first);
    a.Dirty = true;
    const Bytes_ second = Save(a);
    EXPECT_NE(second, first);
    EXPECT_EQ(ChunksOf(second).at(1), (Bytes_{'H', 'i', 'e', 'l', 'o'}));
    a.SetFrameCount(3);
    EXPECT_TRUE(a.Dirty);
    EXPECT_EQ(a.FrameCount(), 3);
    a.SetFrameCount(5);
    EXPECT_EQ(a.Frames.At(4)->ID, 5);
}

TEST(VudAnimation, UnchangedListIsSkippedOnReload)
{
    TVudAnimation source;
    fill(source, 3);
    const Bytes_ file = Save(source);

    TVudAnimation list;
    Load(list, file);
    ASSERT_EQ(list.Count(), 3);
    const auto* frame = list.At(1)->Frames.At(0);
    // Edits that did not set Dirty survive a reload: the animation was skipped, not parsed.
    list.At(0)->Name = "sin avisar";
    list.At(2)->Name = "cambiada";
    list.At(2)->Dirty = true;

    TReader r(file);
    list.LoadFromStream(r);
    EXPECT_TRUE(r.AtEnd());
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.At(1)->Frames.At(0), frame);
    EXPECT_EQ(list.At(0)->Name, "sin avisar");
    EXPECT_EQ(list.At(2)->Name, "Anim3"); // the dirty one was read again
    EXPECT_FALSE(list.At(2)->Dirty);
}

TEST(VudAnimation, SameSizeChangeIsStillSeen)
{
    TVudAnimation source;
    fill(source, 3);
    Bytes_ file = Save(source);
    TVudAnimation list;
    Load(list, file);

    // "Anim2" becomes "Anim9": same length, same list size.
    const Bytes_ name = {'A', 'n', 'i', 'm', '2'};
    auto at = std::search(file.begin(), file.end(), name.begin(), name.end());
    ASSERT_NE(at, file.end());
    at[4] = '9';
    Load(list, file);
    EXPECT_EQ(list.At(1)->Name, "Anim9");
    EXPECT_EQ(Save(list), file);
}

TEST(VudAnimation, LoadRemovesAnimationsTheStreamDoesNotName)
{
    TVudAnimation five, three;
    fill(five, 5);
    fill(three, 3);
    Load(five, Save(three));
    ASSERT_EQ(five.Count(), 3);
    EXPECT_EQ(five.At(2)->ID, 3);

    // A gap in the IDs: 3 must not linger from the earlier content.
    fill(five, 5);
    TVudAnimation gap;
    fill(gap, 3);
    gap.At(2)->SetID(7);
    Load(five, Save(gap));
    ASSERT_EQ(five.Count(), 3);
    EXPECT_EQ(five.At(2)->ID, 7);
    EXPECT_EQ(five.At(2)->Name, "Anim3");

    // Out of order and repeated IDs: sorted, the later record wins.
    const Bytes_ anim = Save(TVudAnimationItem());
    Bytes_ stream = {3, 2};
    stream.insert(stream.end(), anim.begin(), anim.end());
    stream.push_back(1);
    stream.insert(stream.end(), anim.begin(), anim.end());
    stream.push_back(2);
    TVudAnimationItem named;
    named.Name = "dos";
    const Bytes_ two = Save(named);
    stream.insert(stream.end(), two.begin(), two.end());
    Load(five, stream);
    ASSERT_EQ(five.Count(), 2);
    EXPECT_EQ(five.At(0)->ID, 1);
    EXPECT_EQ(five.At(1)->Name, "dos");
}

TEST(VudAnimation, FailedLoadEmptiesTheList)
{
    TVudAnimation source;
    fill(source, 2);
    Bytes_ file = Save(source);
    file.resize(file.size() - 3);
    TVudAnimation list;
    fill(list, 2);
    EXPECT_THROW(Load(list, file), EReadError);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_THROW(Load(list, {0x7F, 0x01, 0x00}), EReadError); // count beyond the data
}

TEST(VudAnimation, AssignAlwaysCopiesInFull)
{
    TVudAnimation source;
    fill(source, 2);
    Save(source); // both cached
    source.At(0)->Name = "editada"; // not reported through Dirty

    TVudAnimationItem copy;
    copy.Assign(*source.At(0));
    EXPECT_EQ(copy.Name, "editada");
    EXPECT_TRUE(copy.Dirty);
    EXPECT_EQ(copy.Frames.At(0)->Cells.At(0)->X, 1);

    TVudAnimation list;
    list.Assign(source);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.At(0)->Name, "editada");
    EXPECT_TRUE(list.At(1)->Dirty);
    EXPECT_EQ(ChunksOf(Save(*list.At(0))).at(1), (Bytes_{'e', 'd', 'i', 't', 'a', 'd', 'a'}));
}

TEST(VudAnimation, ClipboardTransfersParseAndEncodeInFull)
{
    TVudAnimation list;
    fill(list, 3);
    Save(list);
    list.At(0)->Name = "copiada"; // stale cache
    const auto clip = list.CopyToClipboard(0, 1);
    EXPECT_TRUE(list.At(0)->Dirty);

    // Animation 2 holds an edit nobody reported, and a cache equal to what is pasted.
    TVudAnimation target;
    fill(target, 3);
    target.At(1)->Name = "copiada";
    target.At(1)->Dirty = true;
    Save(target);
    target.At(1)->Name = "perdida";
    EXPECT_EQ(target.PasteFromClipboard(clip, 1), 1);
    EXPECT_EQ(target.At(1)->Name, "copiada");
    EXPECT_TRUE(target.At(1)->Dirty);
}

TEST(VudAnimation, TimelineSort)
{
    TVudAnimationTiming t;
    const struct {
        int frame;
        const char* sound;
        int reserved;
    } entries[] = {{2, "(OFF)", 0}, {2, "Zap", 0}, {1, "Zap", 0}, {2, "Boom", 1}, {2, "Boom", 0}};
    for (const auto& e : entries) {
        auto* item = t.Append();
        item->Frame = e.frame;
        item->Sound.Name = e.sound;
        item->Reserved8 = e.reserved;
    }
    t.SortTimeline();
    const char* order[] = {"Zap", "Boom", "Boom", "Zap", "(OFF)"};
    const int reserved[] = {0, 0, 1, 0, 0};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(t.At(i)->ID, i + 1);
        EXPECT_EQ(t.At(i)->Sound.Name, order[i]);
        EXPECT_EQ(t.At(i)->Reserved8, reserved[i]);
    }
}
