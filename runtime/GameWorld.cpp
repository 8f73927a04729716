#include "GameWorld.h"

#include "GR_ChipSet.h"
#include "LD_ChipSet.h"
#include "LD_Map.h"

#include <algorithm>

namespace {
constexpr int kStarMark = 0x10;

int wrapped(int v, int size)
{
    return ((v % size) + size) % size;
}

constexpr int kMessageCode = 10110, kMessageMoreCode = 20110;
constexpr int kTriggerDecisionKey = 0, kTriggerTouch = 1;
constexpr int kTeleportCode = 10810;
} // namespace

const TVudEventPageItem* FirstPage(const TVudEventItem& event)
{
    if (const TVudEventPageItem* page = event.Pages.Find(1))
        return page;
    return event.Pages.Count() > 0 ? event.Pages.At(0) : nullptr;
}

std::vector<std::vector<std::string>> EventMessages(const TVudEventPageItem& page)
{
    std::vector<std::vector<std::string>> messages;
    for (const TVudEventScriptLine& line : page.Script.Lines) {
        if (line.Indent != 0)
            continue;
        if (line.Code == kMessageCode)
            messages.push_back({line.Text});
        else if (line.Code == kMessageMoreCode && !messages.empty())
            messages.back().push_back(line.Text);
    }
    return messages;
}

int DirDX(TDir d) { return d == TDir::Right ? 1 : d == TDir::Left ? -1 : 0; }
int DirDY(TDir d) { return d == TDir::Down ? 1 : d == TDir::Up ? -1 : 0; }

TDir Opposite(TDir d)
{
    return TDir((int(d) + 2) % 4);
}

int DirFlag(TDir d)
{
    switch (d) {
    case TDir::Down: return cpDown;
    case TDir::Left: return cpLeft;
    case TDir::Right: return cpRight;
    default: return cpUp;
    }
}

int CameraAxis(int focusPixel, int mapPixels, int screenPixels, bool wraps)
{
    const int centred = focusPixel - screenPixels / 2;
    if (wraps)
        return centred;
    if (mapPixels <= screenPixels)
        return (mapPixels - screenPixels) / 2;
    return std::clamp(centred, 0, mapPixels - screenPixels);
}

TGameWorld::TGameWorld(const TVudMap& map, const TVudChipSetItem* chipSet)
    : FMap(map), FChipSet(chipSet), FBlocked(std::size_t(std::max(0, map.Width * map.Height)), 0)
{
    for (int i = 0; i < map.Events.Count(); ++i) {
        const TVudEventItem& event = *map.Events.At(i);
        const TVudEventPageItem* page = FirstPage(event);
        if (!page || page->Priority == 0)
            continue;
        if (event.X >= 0 && event.Y >= 0 && event.X < map.Width && event.Y < map.Height)
            FBlocked[std::size_t(event.X + event.Y * map.Width)] = 1;
    }
}

bool TGameWorld::WrapsX() const { return FMap.ScrollType == 2 || FMap.ScrollType == 3; }
bool TGameWorld::WrapsY() const { return FMap.ScrollType == 1 || FMap.ScrollType == 3; }

bool TGameWorld::Normalise(TCellPos& c) const
{
    if (FMap.Width <= 0 || FMap.Height <= 0)
        return false;
    if (WrapsX())
        c.X = wrapped(c.X, FMap.Width);
    if (WrapsY())
        c.Y = wrapped(c.Y, FMap.Height);
    return c.X >= 0 && c.Y >= 0 && c.X < FMap.Width && c.Y < FMap.Height;
}

int TGameWorld::CellFlags(int x, int y) const
{
    TCellPos c{x, y};
    if (!Normalise(c))
        return 0;
    if (!FChipSet)
        return cpAll;
    const int lower = FMap.LowerLayer.Get(c.X, c.Y);
    const int index = LowerTileIndex(lower);
    int flags = index >= 0 ? FChipSet->LowerFlag(index) & cpAll : 0;
    const int upper = FMap.UpperLayer.Get(c.X, c.Y);
    if (TileKindOf(upper) == TTileKind::Upper) {
        const int tile = std::min(upper - kUpperFirst, kPlainTileCount - 1);
        if (tile != 0) {
            const int upperFlags = FChipSet->UpperFlag(tile);
            flags = upperFlags & kStarMark ? flags & upperFlags : upperFlags & cpAll;
        }
    }
    return flags;
}

bool TGameWorld::EventBlocks(int x, int y) const
{
    TCellPos c{x, y};
    return Normalise(c) && FBlocked[std::size_t(c.X + c.Y * FMap.Width)];
}

bool TGameWorld::CanStep(TCellPos from, TDir d) const
{
    TCellPos to{from.X + DirDX(d), from.Y + DirDY(d)};
    if (!Normalise(from) || !Normalise(to))
        return false;
    return (CellFlags(from.X, from.Y) & DirFlag(d)) && (CellFlags(to.X, to.Y) & DirFlag(Opposite(d))) &&
           !EventBlocks(to.X, to.Y);
}

void TGameWorld::PlaceHero(TCellPos cell, TDir facing)
{
    Normalise(cell);
    FHero = cell;
    FFacing = facing;
    FStepLeft = 0;
}

bool TGameWorld::TryStep(TDir d)
{
    if (Moving())
        return false;
    FFacing = d;
    if (!CanStep(FHero, d))
        return false;
    TCellPos to{FHero.X + DirDX(d), FHero.Y + DirDY(d)};
    Normalise(to);
    FHero = to;
    FStepLeft = StepTicks;
    ++FSteps;
    return true;
}

void TGameWorld::Tick()
{
    if (FStepLeft > 0)
        --FStepLeft;
}

int TGameWorld::WalkPattern() const
{
    // Each step lifts one foot for its first three quarters; the feet take turns.
    if (FStepLeft <= StepTicks / 4)
        return 1;
    return FSteps % 2 ? 0 : 2;
}

// The hero's cell is already the target while stepping: draw it behind by the distance left.
int TGameWorld::HeroPixelX() const
{
    return FHero.X * CellPixels - DirDX(FFacing) * FStepLeft * CellPixels / StepTicks;
}

int TGameWorld::HeroPixelY() const
{
    return FHero.Y * CellPixels - DirDY(FFacing) * FStepLeft * CellPixels / StepTicks;
}

bool EventTeleport(const TVudEventPageItem& page, TTeleport& teleport)
{
    for (const TVudEventScriptLine& line : page.Script.Lines) {
        if (line.Indent == 0 && line.Code == kTeleportCode) {
            teleport = {line.Param(0), line.Param(1), line.Param(2)};
            return true;
        }
    }
    return false;
}

bool TGameWorld::FacingCell(TCellPos& cell) const
{
    cell = {FHero.X + DirDX(FFacing), FHero.Y + DirDY(FFacing)};
    return Normalise(cell);
}

const TVudEventItem* TGameWorld::TalkTarget() const
{
    TCellPos front;
    const bool hasFront = FacingCell(front);
    const TVudEventItem* under = nullptr;
    for (int i = 0; i < FMap.Events.Count(); ++i) {
        const TVudEventItem& event = *FMap.Events.At(i);
        const TVudEventPageItem* page = FirstPage(event);
        if (!page || page->Trigger != kTriggerDecisionKey)
            continue;
        const TCellPos at{event.X, event.Y};
        if (page->Priority == 1 && hasFront && at == front)
            return &event;
        if (page->Priority != 1 && at == FHero && !under)
            under = &event;
    }
    return under;
}

const TVudEventItem* TGameWorld::TouchTarget(bool bumped) const
{
    TCellPos cell = FHero;
    if (bumped && !FacingCell(cell))
        return nullptr;
    for (int i = 0; i < FMap.Events.Count(); ++i) {
        const TVudEventItem& event = *FMap.Events.At(i);
        const TVudEventPageItem* page = FirstPage(event);
        if (!page || page->Trigger != kTriggerTouch || (page->Priority == 1) != bumped)
            continue;
        if (TCellPos{event.X, event.Y} == cell)
            return &event;
    }
    return nullptr;
}
