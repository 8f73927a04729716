// Battle animations (database section 19): frames of cells cut from an animation image, plus a
// timeline of sounds and flashes. The largest records of the database, so each animation keeps
// its own encoded bytes and the list skips unchanged animations when the file is read again.
#pragma once
#include "LD_Music.h"

class TVudAnimationCellItem : public TCatalogItem {
public:
    uint8_t Visible = 1;
    int32_t PatternIndex = 0;
    int32_t X = 0;
    int32_t Y = 0;
    int32_t Zoom = 100;
    int32_t Red = 100;
    int32_t Green = 100;
    int32_t Blue = 100;
    int32_t Saturation = 100;
    int32_t Transparency = 0;

    TVudAnimationCellItem() { Clear(); }
    static const TFieldTable Table;
    const TFieldTable* Fields() const override { return &Table; }
    void Clear() override;
};

class TVudAnimationCell : public TCatalogOf<TVudAnimationCellItem> {};

class TVudAnimationPatternItem : public TCatalogItem {
public:
    TVudAnimationCell Cells;

    TVudAnimationPatternItem() { Clear(); }
    static const TFieldTable Table;
    const TFieldTable* Fields() const override { return &Table; }
    void Clear() override { Cells.Clear(); }
};

class TVudAnimationPattern : public TCatalogOf<TVudAnimationPatternItem> {};

class TVudAnimationTimingItem : public TCatalogItem {
public:
    int32_t Frame = 0;
    TVudSound Sound;
    uint8_t FlashScope = 0;
    int32_t FlashRed = 31;
    int32_t FlashGreen = 31;
    int32_t FlashBlue = 31;
    int32_t FlashStrength = 31;
    int32_t Reserved8 = 0;

    TVudAnimationTimingItem() { Clear(); }
    static const TFieldTable Table;
    const TFieldTable* Fields() const override { return &Table; }
    void Clear() override;
};

class TVudAnimationTiming : public TCatalogOf<TVudAnimationTimingItem> {
public:
    // By frame, then sound name ("(OFF)" after every name), then chunk 8; renumbered 1..n.
    void SortTimeline();
};

class TVudAnimationItem : public TCatalogItem {
public:
    static constexpr int NewFrameCount = 20;

    std::string AnimationName;
    TVudAnimationTiming Timings;
    uint8_t Scope = 0;
    uint8_t Position = 2;
    TVudAnimationPattern Frames;
    // Set by every change to the animation: its cached encoding no longer describes it.
    mutable bool Dirty = true;
    // The encoded record as last read or written (chunks and terminating 0).
    mutable TBlock Cache;

    TVudAnimationItem() { Clear(); }
    static const TFieldTable Table;
    const TFieldTable* Fields() const override { return &Table; }
    void Clear() override;
    // Always a full encoding of the source parsed in full; the copy is left dirty.
    void Assign(const TCatalogBaseItem& source) override;
    // Not dirty and the stream holds exactly the cached bytes: skipped without parsing.
    void LoadFromStream(TReader& s) override;
    // Not dirty: the cached bytes; otherwise encoded and cached first.
    void SaveToStream(TWriter& s) const override;

    int FrameCount() const { return Frames.Count(); }
    void SetFrameCount(int count);
};

class TVudAnimation : public TCatalogOf<TVudAnimationItem> {
public:
    TVudAnimation() : TCatalogOf("Animación de batalla no válida.") {}

    // Not cleared first: animations whose IDs come again load over themselves (and skip when
    // unchanged); those the stream does not name are removed.
    void LoadFromStream(TReader& s) override;
    // Clipboard transfers always parse or encode in full and leave the item dirty.
    void LoadItem(int index, TReader& s) override;
    void SaveItem(int index, TWriter& s) const override;
    int PasteFromClipboard(std::span<const uint8_t> block, int index) override;
};
