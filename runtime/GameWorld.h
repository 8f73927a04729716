// The walking rules of the map scene, without any drawing: which cell edges the tile set lets
// the hero cross, which events stand in the way, the step in progress and where the camera looks.
#pragma once
#include <cstdint>
#include <random>
#include <string>
#include <vector>

class TVudMap;
class TVudChipSetItem;
class TVudEventItem;
class TVudEventPageItem;

// Facing in the order of a character sheet's rows.
enum class TDir : int { Up = 0, Right = 1, Down = 2, Left = 3 };

struct TCellPos {
    int X = 0, Y = 0;
    friend bool operator==(const TCellPos&, const TCellPos&) = default;
};

int DirDX(TDir d);
int DirDY(TDir d);
TDir Opposite(TDir d);
// The tile set's passability bit for a direction (down 1, left 2, right 4, up 8).
int DirFlag(TDir d);

// Top-left pixel of the screen along one axis: centred on the focus, held inside the map unless
// the axis wraps, and a map smaller than the screen is centred.
int CameraAxis(int focusPixel, int mapPixels, int screenPixels, bool wraps);

// The page an event shows: its first.
const TVudEventPageItem* FirstPage(const TVudEventItem& event);
// The messages of a page's script, each its lines (Windows-1252 bytes). No script runs yet, so
// only the messages outside any branch are taken, in order.
std::vector<std::vector<std::string>> EventMessages(const TVudEventPageItem& page);

struct TTeleport {
    int MapID = 0, X = 0, Y = 0;
    friend bool operator==(const TTeleport&, const TTeleport&) = default;
};
// The first teleport of a page's script outside any branch; false when there is none.
bool EventTeleport(const TVudEventPageItem& page, TTeleport& teleport);

// An event on the map as the game moves it: where it stands now and the step under way.
struct TActor {
    const TVudEventItem* Event = nullptr;
    const TVudEventPageItem* Page = nullptr;  // its first page
    TCellPos Cell;
    TDir Facing = TDir::Down;
    int StepLeft = 0;
    int Steps = 0;
    int Wait = 0;  // frames until it tries its next step
    bool Blocks() const;
    bool Walks() const;  // moves by itself: at random, up and down, or left and right
    int PixelX() const;
    int PixelY() const;
};

class TGameWorld {
public:
    static constexpr int CellPixels = 16;
    static constexpr int StepTicks = 16;  // one pixel per tick

    // The map and tile set record stay owned by the caller; no tile set means no passability
    // table, so every cell is open.
    TGameWorld(const TVudMap& map, const TVudChipSetItem* chipSet);

    bool WrapsX() const;
    bool WrapsY() const;
    // A cell brought into the map on wrapping axes; false when it lies outside otherwise.
    bool Normalise(TCellPos& cell) const;

    // Direction bits the cell lets through: the lower tile's, replaced by a solid upper tile's
    // and narrowed by an upper tile drawn above the characters (the star mark).
    int CellFlags(int x, int y) const;
    // Terrain ID of a cell's lower tile (0 without a tile set or outside the map).
    int TerrainAt(TCellPos cell) const;
    // An event the hero cannot share a cell with (its first page not below the hero).
    bool EventBlocks(int x, int y) const;
    // Events that walk by themselves take their next frame; `paused` holds them (a message
    // is on screen). The seed makes their choices repeatable.
    void TickActors(bool paused);
    void SeedActors(unsigned seed) { FRandom.seed(seed); }
    const std::vector<TActor>& Actors() const { return FActors; }
    // Whether one step from `from` in direction d is allowed: the target exists, both cells let
    // the shared edge through and no event stands on the target.
    bool CanStep(TCellPos from, TDir d) const;

    TCellPos Hero() const { return FHero; }
    TDir Facing() const { return FFacing; }
    void PlaceHero(TCellPos cell, TDir facing = TDir::Down);
    bool Moving() const { return FStepLeft > 0; }
    // Turns the hero; starts a step when it is free to go. False when it only turned (or is
    // still moving).
    bool TryStep(TDir d);
    // One frame of the step in progress.
    void Tick();
    // Sheet column 0..2 for the hero now: the middle one when standing, the feet in turn while
    // walking.
    int WalkPattern() const;
    // Hero's top-left pixel on the map, between cells while walking (may lie outside the map on
    // wrapping axes just after crossing the edge).
    int HeroPixelX() const;
    int HeroPixelY() const;
    int Steps() const { return FSteps; }
    // The cell in front of the hero (wrapped); false when it lies off the map.
    bool FacingCell(TCellPos& cell) const;
    // The event the decision key speaks to: one standing with the hero in the cell in front,
    // else one under or over the hero's own cell; only pages started by the decision key.
    const TVudEventItem* TalkTarget() const;
    // An event started by touch: one under or over the hero's own cell after a step
    // (`bumped` false), or one standing with the hero in the cell the hero walked into (true).
    const TVudEventItem* TouchTarget(bool bumped) const;

private:
    const TVudMap& FMap;
    const TVudChipSetItem* FChipSet;
    bool actorMayStep(const TActor& actor, TDir d) const;
    void stepActor(TActor& actor, TDir d);
    void block(TCellPos cell, int delta);

    std::vector<TActor> FActors;
    std::vector<uint8_t> FBlocked;  // per cell: how many events stand in the way
    std::minstd_rand FRandom{1};
    TCellPos FHero;
    TDir FFacing = TDir::Down;
    int FStepLeft = 0;
    int FSteps = 0;
};
