#include "LD_Animation.h"

#include <algorithm>
#include <cstring>

// ---- cell, frame, timing -----------------------------------------------------------------

using C = TVudAnimationCellItem;

const TFieldTable TVudAnimationCellItem::Table = {
    Byte<&C::Visible>(1, "Visible", 1),
    Integer<&C::PatternIndex>(2, "PatternIndex", 0),
    Integer<&C::X>(3, "X", 0),
    Integer<&C::Y>(4, "Y", 0),
    Integer<&C::Zoom>(5, "Zoom", 100),
    Integer<&C::Red>(6, "Red", 100),
    Integer<&C::Green>(7, "Green", 100),
    Integer<&C::Blue>(8, "Blue", 100),
    Integer<&C::Saturation>(9, "Saturation", 100),
    Integer<&C::Transparency>(10, "Transparency", 0),
};

void TVudAnimationCellItem::Clear()
{
    Visible = 1;
    PatternIndex = 0;
    X = Y = 0;
    Zoom = Red = Green = Blue = Saturation = 100;
    Transparency = 0;
}

const TFieldTable TVudAnimationPatternItem::Table = {
    Nested<&TVudAnimationPatternItem::Cells>(1, "Cells"),
};

using M = TVudAnimationTimingItem;

const TFieldTable TVudAnimationTimingItem::Table = {
    Integer<&M::Frame>(1, "Frame", 0),
    Nested<&M::Sound>(2, "Sound"),
    Bytes<&M::FlashScope>(3, "FlashScope"),
    Integer<&M::FlashRed>(4, "FlashRed", 31),
    Integer<&M::FlashGreen>(5, "FlashGreen", 31),
    Integer<&M::FlashBlue>(6, "FlashBlue", 31),
    Integer<&M::FlashStrength>(7, "FlashStrength", 31),
    Integer<&M::Reserved8>(8, "Reserved8", 0),
};

void TVudAnimationTimingItem::Clear()
{
    Frame = 0;
    Sound.Clear();
    FlashScope = 0;
    FlashRed = FlashGreen = FlashBlue = FlashStrength = 31;
    Reserved8 = 0;
}

void TVudAnimationTiming::SortTimeline()
{
    Sort([](const TCatalogItem& a, const TCatalogItem& b) {
        const auto& x = static_cast<const TVudAnimationTimingItem&>(a);
        const auto& y = static_cast<const TVudAnimationTimingItem&>(b);
        if (x.Frame != y.Frame)
            return x.Frame < y.Frame;
        const bool xOff = x.Sound.Name == kNoAudioName, yOff = y.Sound.Name == kNoAudioName;
        if (xOff != yOff)
            return yOff;
        if (x.Sound.Name != y.Sound.Name)
            return x.Sound.Name < y.Sound.Name;
        return x.Reserved8 < y.Reserved8;
    });
}

// ---- animation ---------------------------------------------------------------------------

using A = TVudAnimationItem;

const TFieldTable TVudAnimationItem::Table = {
    String<&A::Name>(1, "Name", true),
    String<&A::AnimationName>(2, "AnimationName", true),
    Nested<&A::Timings>(6, "Timings"),
    Bytes<&A::Scope>(9, "Scope"),
    Bytes<&A::Position>(10, "Position"),
    Nested<&A::Frames>(12, "Frames"),
};

void TVudAnimationItem::Clear()
{
    Name.clear();
    AnimationName.clear();
    Timings.Clear();
    Scope = 0;
    Position = 2;
    Frames.Clear();
    for (int i = 0; i < NewFrameCount; ++i)
        Frames.Append();
    Cache.clear();
    Dirty = true;
}

void TVudAnimationItem::SetFrameCount(int count)
{
    count = std::max(count, 0);
    while (Frames.Count() > count)
        Frames.Delete(Frames.At(Frames.Count() - 1)->ID);
    while (Frames.Count() < count)
        Frames.Append();
    Dirty = true;
}

void TVudAnimationItem::SaveToStream(TWriter& s) const
{
    if (Dirty) {
        TWriter w;
        SaveChunks(w);
        Cache = std::move(w.Buf);
        Dirty = false;
    }
    s.Write(Cache.data(), Cache.size());
}

void TVudAnimationItem::LoadFromStream(TReader& s)
{
    // The cache is trusted only when the stream really holds it: a file changed behind the
    // editor's back (same size, time put back) is parsed like any other.
    if (!Dirty && !Cache.empty() && s.Remaining() >= Cache.size() &&
        std::memcmp(s.Ptr(), Cache.data(), Cache.size()) == 0) {
        s.Skip(Cache.size());
        return;
    }
    const uint8_t* start = s.Ptr();
    const size_t from = s.Pos();
    TCatalogItem::LoadFromStream(s); // Clear, then the chunk loop
    Cache.assign(start, start + (s.Pos() - from));
    Dirty = false;
}

void TVudAnimationItem::Assign(const TCatalogBaseItem& source)
{
    TWriter w;
    if (const auto* other = dynamic_cast<const TVudAnimationItem*>(&source))
        other->SaveChunks(w); // never the other's cache: it may not hold its latest edits
    else
        source.SaveToStream(w);
    TReader r(w.Buf);
    Dirty = true;
    LoadFromStream(r);
    Dirty = true;
}

// ---- list --------------------------------------------------------------------------------

void TVudAnimation::LoadFromStream(TReader& s)
{
    std::vector<std::unique_ptr<TCatalogItem>> old = std::move(Items);
    Items.clear();
    std::vector<int32_t> oldIDs; // ascending, like the list
    oldIDs.reserve(old.size());
    for (const auto& item : old)
        oldIDs.push_back(item->ID);
    try {
        const uint32_t n = ReadBerInt(s);
        // Every item takes at least its ID and its terminating 0.
        if (n > s.Remaining() / 2)
            throw EReadError();
        Items.reserve(n);
        bool ordered = true;
        for (uint32_t k = 0; k < n; ++k) {
            const auto id = int32_t(ReadBerInt(s));
            // The earlier content of this ID, if any (old is in ascending ID order).
            const auto at = std::lower_bound(oldIDs.begin(), oldIDs.end(), id);
            const size_t i = size_t(at - oldIDs.begin());
            std::unique_ptr<TCatalogItem> item;
            if (at != oldIDs.end() && *at == id && old[i])
                item = std::move(old[i]);
            else
                item = NewItem(id);
            item->LoadFromStream(s);
            if (!Items.empty() && id <= Items.back()->ID)
                ordered = false;
            Items.push_back(std::move(item));
        }
        if (!ordered)
            normaliseOrder();
    } catch (...) {
        Clear();
        throw;
    }
}

void TVudAnimation::LoadItem(int index, TReader& s)
{
    auto* item = At(index);
    if (!item)
        throw EReadError();
    item->Dirty = true;
    item->LoadFromStream(s);
    item->Dirty = true;
}

void TVudAnimation::SaveItem(int index, TWriter& s) const
{
    auto* item = At(index);
    if (!item)
        return;
    item->Dirty = true;
    item->SaveToStream(s);
    item->Dirty = true;
}

int TVudAnimation::PasteFromClipboard(std::span<const uint8_t> block, int index)
{
    // The list's paste loads the records into the items with IDs index + 1 ...: those must parse
    // in full, never skip on a matching cache, and are encoded afresh at the next save.
    auto markRange = [&] {
        for (auto& item : Items)
            if (item->ID > index)
                static_cast<TVudAnimationItem&>(*item).Dirty = true;
    };
    markRange();
    const int pasted = TCatalog::PasteFromClipboard(block, index);
    markRange();
    return pasted;
}
