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
constexpr int kMoveRandom = 1, kMoveUpDown = 2, kMoveLeftRight = 3;

// Frames between two steps of a walking event: frequency 1 waits longest, 8 hardly at all.
int waitOf(const TVudEventPageItem& page)
{
    return 12 * (9 - std::clamp<int>(page.MoveFrequency, 1, 8)) + 4;
}
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

// Only events at the hero's own level stand in his way; those below or above are walked under or over.
bool TActor::Blocks() const { return Page->Priority == 1; }
bool TActor::Walks() const { return Page->MoveType >= kMoveRandom && Page->MoveType <= kMoveLeftRight; }
int TActor::PixelX() const
{
    return Cell.X * TGameWorld::CellPixels - DirDX(Facing) * StepLeft * TGameWorld::CellPixels / TGameWorld::StepTicks;
}
int TActor::PixelY() const
{
    return Cell.Y * TGameWorld::CellPixels - DirDY(Facing) * StepLeft * TGameWorld::CellPixels / TGameWorld::StepTicks;
}

TGameWorld::TGameWorld(const TVudMap& map, const TVudChipSetItem* chipSet)
    : FMap(map), FChipSet(chipSet), FBlocked(std::size_t(std::max(0, map.Width * map.Height)), 0)
{
    for (int i = 0; i < map.Events.Count(); ++i) {
        const TVudEventItem& event = *map.Events.At(i);
        const TVudEventPageItem* page = FirstPage(event);
        if (!page)
            continue;
        TActor actor;
        actor.Event = &event;
        actor.Page = page;
        actor.Cell = {event.X, event.Y};
        // One stored off the map is brought in on wrapping axes; otherwise it can never be met.
        if (!Normalise(actor.Cell))
            continue;
        actor.Facing = TDir(std::clamp<int>(page->Direction, 0, 3));
        actor.Wait = waitOf(*page);
        FActors.push_back(actor);
        if (actor.Blocks())
            block(actor.Cell, 1);
    }
}

void TGameWorld::block(TCellPos cell, int delta)
{
    if (cell.X >= 0 && cell.Y >= 0 && cell.X < FMap.Width && cell.Y < FMap.Height) {
        uint8_t& count = FBlocked[std::size_t(cell.X + cell.Y * FMap.Width)];
        count = uint8_t(std::max(0, count + delta));
    }
}

bool TGameWorld::actorMayStep(const TActor& actor, TDir d) const
{
    TCellPos from = actor.Cell, to{actor.Cell.X + DirDX(d), actor.Cell.Y + DirDY(d)};
    if (!Normalise(from) || !Normalise(to) || to == FHero || EventBlocks(to.X, to.Y))
        return false;
    return (CellFlags(from.X, from.Y) & DirFlag(d)) && (CellFlags(to.X, to.Y) & DirFlag(Opposite(d)));
}

void TGameWorld::stepActor(TActor& actor, TDir d)
{
    actor.Facing = d;
    if (!actorMayStep(actor, d))
        return;
    TCellPos to{actor.Cell.X + DirDX(d), actor.Cell.Y + DirDY(d)};
    Normalise(to);
    if (actor.Blocks()) {
        block(actor.Cell, -1);
        block(to, 1);
    }
    actor.Cell = to;
    actor.StepLeft = StepTicks;
    ++actor.Steps;
}

void TGameWorld::TickActors(bool paused)
{
    for (TActor& actor : FActors) {
        if (actor.StepLeft > 0) {
            --actor.StepLeft;
            continue;
        }
        if (paused || !actor.Walks() || --actor.Wait > 0)
            continue;
        actor.Wait = waitOf(*actor.Page);
        switch (actor.Page->MoveType) {
        case kMoveRandom:
            stepActor(actor, TDir(FRandom() % 4));
            break;
        case kMoveUpDown:
        case kMoveLeftRight: {
            // Back and forth: on along its way, turning round where it cannot go on.
            TDir d = actor.Facing;
            if (actor.Page->MoveType == kMoveUpDown ? DirDY(d) == 0 : DirDX(d) == 0)
                d = actor.Page->MoveType == kMoveUpDown ? TDir::Down : TDir::Right;
            if (!actorMayStep(actor, d))
                d = Opposite(d);
            stepActor(actor, d);
            break;
        }
        }
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

int TGameWorld::TerrainAt(TCellPos c) const
{
    if (!FChipSet || !Normalise(c))
        return 0;
    const int index = LowerTileIndex(FMap.LowerLayer.Get(c.X, c.Y));
    return index >= 0 ? FChipSet->TerrainID(index) : 0;
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
    for (const TActor& actor : FActors) {
        const TVudEventPageItem* page = actor.Page;
        if (page->Trigger != kTriggerDecisionKey)
            continue;
        if (page->Priority == 1 && hasFront && actor.Cell == front)
            return actor.Event;
        if (page->Priority != 1 && actor.Cell == FHero && !under)
            under = actor.Event;
    }
    return under;
}

const TVudEventItem* TGameWorld::TouchTarget(bool bumped) const
{
    TCellPos cell = FHero;
    if (bumped && !FacingCell(cell))
        return nullptr;
    for (const TActor& actor : FActors) {
        const TVudEventPageItem* page = actor.Page;
        if (page->Trigger != kTriggerTouch || (page->Priority == 1) != bumped)
            continue;
        if (actor.Cell == cell)
            return actor.Event;
    }
    return nullptr;
}
