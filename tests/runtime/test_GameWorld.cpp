#include "GameWorld.h"

#include "LD_ChipSet.h"
#include "LD_Map.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {
// Lower tile index of a plain tile k is 18 + k; its tile ID 5000 + k.
constexpr int kOpen = 5000, kWall = 5001, kNoDown = 5002, kNoLeft = 5003;

class GameWorldTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        map.SetWidth(6);
        map.SetHeight(5);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 6; ++x) {
                map.SetCell(0, x, y, kOpen);
                map.SetCell(1, x, y, 10000);
            }
        chips.SetLowerFlag(18 + 0, cpAll);
        chips.SetLowerFlag(18 + 1, 0);
        chips.SetLowerFlag(18 + 2, cpAll & ~cpDown);
        chips.SetLowerFlag(18 + 3, cpAll & ~cpLeft);
        chips.SetUpperFlag(1, 0);                       // a rock
        chips.SetUpperFlag(2, cpAll);                   // a bridge
        chips.SetUpperFlag(3, 0x10 | cpAll);            // a tree top drawn above the hero
        chips.SetUpperFlag(4, 0x10 | (cpAll & ~cpUp));  // the same, closed upwards
    }

    TVudEventItem* event(int id, int x, int y, int priority)
    {
        TVudEventItem* e = map.Events.Insert(id);
        e->X = x;
        e->Y = y;
        e->Pages.At(0)->Priority = uint8_t(priority);
        return e;
    }

    TVudMap map;
    TVudChipSetItem chips;
};
} // namespace

TEST_F(GameWorldTest, EventsStoredOutsideTheMapWrapIntoItOrTakeNoPart)
{
    // A hand-made file may place events anywhere; the pixel position of a far one must not
    // overflow into a cell on screen either.
    event(1, 6 + 2, 1, 1);
    event(2, -1, 3, 1);
    event(3, 0x10000000 + 2, 2, 1);
    for (int scrollType : {0, 2}) {
        SCOPED_TRACE(scrollType);
        map.SetScrollType(uint8_t(scrollType));
        TGameWorld world(map, &chips);
        const bool wraps = scrollType == 2;
        EXPECT_EQ(world.EventBlocks(2, 1), wraps);
        EXPECT_EQ(world.EventBlocks(5, 3), wraps);
        world.PlaceHero({2, 2}, TDir::Up);
        EXPECT_EQ(world.TalkTarget() != nullptr, wraps);
        for (const TActor& actor : world.Actors()) {
            EXPECT_TRUE(actor.Cell.X >= 0 && actor.Cell.X < 6) << actor.Event->ID;
            EXPECT_TRUE(actor.PixelX() >= 0 && actor.PixelX() < 6 * 16) << actor.Event->ID;
        }
    }
}

TEST_F(GameWorldTest, StepsFollowTheTileFlagsOfBothCellsAndBothLayers)
{
    struct TCase {
        const char* What;
        int Layer, X, Y, Tile;  // the one cell changed before stepping
        int FromX, FromY;
        TDir Dir;
        bool Allowed;
    };
    const TCase cases[] = {
        {"open ground", 0, 2, 2, kOpen, 1, 2, TDir::Right, true},
        {"a wall tile", 0, 2, 2, kWall, 1, 2, TDir::Right, false},
        {"leaving a wall tile", 0, 1, 2, kWall, 1, 2, TDir::Right, false},
        {"closed side facing the hero", 0, 2, 2, kNoDown, 2, 3, TDir::Up, false},
        {"closed side elsewhere", 0, 2, 2, kNoDown, 1, 2, TDir::Right, true},
        {"leaving through a closed side", 0, 2, 2, kNoDown, 2, 2, TDir::Down, false},
        {"entering from the right of a tile closed on the left", 0, 2, 2, kNoLeft, 3, 2, TDir::Left, true},
        {"entering from the left over a closed left side", 0, 2, 2, kNoLeft, 1, 2, TDir::Right, false},
        {"a solid upper tile", 1, 2, 2, 10001, 1, 2, TDir::Right, false},
        {"a bridge over a wall", 1, 1, 1, 10002, 1, 0, TDir::Down, true},
        {"walking under a tree top", 1, 2, 2, 10003, 1, 2, TDir::Right, true},
        {"a tree top narrows the ground below", 1, 2, 2, 10004, 2, 3, TDir::Up, true},
        {"a tree top narrows the ground below (leaving)", 1, 2, 2, 10004, 2, 2, TDir::Up, false},
        {"upper IDs past the last tile count as the last", 1, 2, 2, 19999, 1, 2, TDir::Right, true},
        {"off the map edge", 0, 0, 0, kOpen, 0, 0, TDir::Left, false},
        {"off the bottom edge", 0, 0, 0, kOpen, 5, 4, TDir::Down, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        SetUp();
        if (std::string(c.What).find("bridge") != std::string::npos)
            map.SetCell(0, 1, 1, kWall);
        map.SetCell(c.Layer, c.X, c.Y, uint16_t(c.Tile));
        const TGameWorld world(map, &chips);
        EXPECT_EQ(world.CanStep({c.FromX, c.FromY}, c.Dir), c.Allowed);
    }
}

TEST_F(GameWorldTest, OnlyEventsAtTheHerosLevelBlock)
{
    event(1, 2, 1, 0);  // below the hero: walked over
    event(2, 3, 1, 1);  // with the hero
    event(3, 4, 1, 2);  // above the hero
    const TGameWorld world(map, &chips);
    EXPECT_TRUE(world.CanStep({2, 2}, TDir::Up));
    EXPECT_FALSE(world.CanStep({3, 2}, TDir::Up));
    EXPECT_TRUE(world.CanStep({4, 2}, TDir::Up));
    EXPECT_TRUE(world.CanStep({5, 2}, TDir::Up));
}

TEST_F(GameWorldTest, WithoutATileSetEveryCellInsideIsOpen)
{
    map.SetCell(0, 2, 2, kWall);
    const TGameWorld world(map, nullptr);
    EXPECT_TRUE(world.CanStep({1, 2}, TDir::Right));
    EXPECT_FALSE(world.CanStep({0, 2}, TDir::Left));
}

TEST_F(GameWorldTest, WrappingAxesLeadAroundTheEdge)
{
    struct TCase {
        int ScrollType;
        TCellPos From;
        TDir Dir;
        bool Allowed;
        TCellPos To;
    };
    const TCase cases[] = {
        {0, {0, 2}, TDir::Left, false, {0, 2}},
        {2, {0, 2}, TDir::Left, true, {5, 2}},
        {2, {5, 2}, TDir::Right, true, {0, 2}},
        {2, {2, 0}, TDir::Up, false, {2, 0}},
        {1, {2, 0}, TDir::Up, true, {2, 4}},
        {1, {2, 4}, TDir::Down, true, {2, 0}},
        {3, {5, 4}, TDir::Right, true, {0, 4}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.ScrollType);
        map.SetScrollType(uint8_t(c.ScrollType));
        TGameWorld world(map, &chips);
        world.PlaceHero(c.From);
        EXPECT_EQ(world.TryStep(c.Dir), c.Allowed);
        EXPECT_EQ(world.Hero(), c.To);
        EXPECT_EQ(world.Facing(), c.Dir);
    }
}

TEST_F(GameWorldTest, AStepTakesItsFramesAndMovesThePictureOnePixelEach)
{
    TGameWorld world(map, &chips);
    world.PlaceHero({2, 2});
    EXPECT_EQ(world.WalkPattern(), 1);
    ASSERT_TRUE(world.TryStep(TDir::Right));
    EXPECT_EQ(world.Hero(), (TCellPos{3, 2}));
    EXPECT_EQ(world.HeroPixelX(), 32);
    EXPECT_FALSE(world.TryStep(TDir::Down)) << "no new step while one is under way";
    EXPECT_EQ(world.Facing(), TDir::Right);
    const int firstFoot = world.WalkPattern();
    EXPECT_NE(firstFoot, 1);
    for (int i = 1; i <= TGameWorld::StepTicks; ++i) {
        world.Tick();
        EXPECT_EQ(world.HeroPixelX(), 32 + i);
    }
    EXPECT_FALSE(world.Moving());
    EXPECT_EQ(world.WalkPattern(), 1);
    ASSERT_TRUE(world.TryStep(TDir::Right));
    EXPECT_EQ(world.WalkPattern(), 2 - firstFoot) << "the feet take turns";

    // Into a wall the hero only turns.
    for (int i = 0; i < TGameWorld::StepTicks; ++i)
        world.Tick();
    map.SetCell(0, 4, 3, kWall);
    TGameWorld blocked(map, &chips);
    blocked.PlaceHero({4, 2});
    EXPECT_FALSE(blocked.TryStep(TDir::Down));
    EXPECT_EQ(blocked.Facing(), TDir::Down);
    EXPECT_EQ(blocked.Hero(), (TCellPos{4, 2}));
    EXPECT_FALSE(blocked.Moving());
}

TEST(CameraAxis, FollowsTheHeroAndStopsAtTheMapEdges)
{
    struct TCase {
        int Focus, MapPixels, Screen;
        bool Wraps;
        int Camera;
    };
    const TCase cases[] = {
        {200, 480, 320, false, 40},    // centred on the hero
        {40, 480, 320, false, 0},      // held at the left edge
        {470, 480, 320, false, 160},   // held at the right edge
        {160, 320, 320, false, 0},     // exactly one screen
        {100, 160, 320, false, -80},   // a small map is centred
        {40, 480, 320, true, -120},    // a wrapping axis is never held
        {470, 480, 320, true, 310},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Focus);
        EXPECT_EQ(CameraAxis(c.Focus, c.MapPixels, c.Screen, c.Wraps), c.Camera);
    }
}

TEST_F(GameWorldTest, TheDecisionKeySpeaksToTheEventInFrontOrUnderfoot)
{
    auto page = [](TVudEventItem* e) { return e->Pages.At(0); };
    TVudEventItem* front = event(1, 3, 1, 1);
    TVudEventItem* floor = event(2, 3, 2, 0);
    TVudEventItem* touch = event(3, 2, 2, 1);
    page(touch)->Trigger = 1;  // starts on touch, not by the key
    page(front)->Script.Lines = {
        {10110, 0, "uno"}, {20110, 0, "dos"}, {10110, 1, "en una rama"}, {20110, 1, "sigue"},
        {10110, 0, "tres"}, {0, 0},
    };
    page(floor)->Script.Lines = {{20110, 0, "sin principio"}, {0, 0}};

    TGameWorld world(map, &chips);
    world.PlaceHero({3, 2}, TDir::Up);
    EXPECT_EQ(world.TalkTarget(), front) << "the one in front comes before the one underfoot";
    world.PlaceHero({3, 2}, TDir::Down);
    EXPECT_EQ(world.TalkTarget(), floor);
    world.PlaceHero({3, 3}, TDir::Up);
    EXPECT_EQ(world.TalkTarget(), nullptr) << "an event below the hero is not in the way";
    world.PlaceHero({1, 2}, TDir::Right);
    EXPECT_EQ(world.TalkTarget(), nullptr);

    using TMessages = std::vector<std::vector<std::string>>;
    EXPECT_EQ(EventMessages(*page(front)), (TMessages{{"uno", "dos"}, {"tres"}}));
    EXPECT_EQ(EventMessages(*page(floor)), TMessages{});
}

TEST_F(GameWorldTest, TouchStartsEventsUnderfootAfterAStepOrInTheWayWhenBumped)
{
    TVudEventItem* mat = event(1, 2, 2, 0);
    TVudEventItem* guard = event(2, 3, 1, 1);
    TVudEventItem* key = event(3, 4, 2, 0);
    mat->Pages.At(0)->Trigger = 1;
    guard->Pages.At(0)->Trigger = 1;
    mat->Pages.At(0)->Script.Lines = {{11010, 0, "", {-1}}, {10810, 1, "", {9, 9, 9}}, {10810, 0, "", {2, 5, 7}}, {0, 0}};
    TGameWorld world(map, &chips);
    world.PlaceHero({2, 2}, TDir::Up);
    EXPECT_EQ(world.TouchTarget(false), mat);
    EXPECT_EQ(world.TouchTarget(true), nullptr);
    world.PlaceHero({3, 2}, TDir::Up);
    EXPECT_EQ(world.TouchTarget(true), guard);
    EXPECT_EQ(world.TouchTarget(false), nullptr);
    world.PlaceHero({4, 2}, TDir::Up);
    EXPECT_EQ(world.TouchTarget(false), nullptr) << "started by the decision key only";

    TTeleport to;
    ASSERT_TRUE(EventTeleport(*mat->Pages.At(0), to));
    EXPECT_EQ(to, (TTeleport{2, 5, 7})) << "the one outside any branch";
    EXPECT_FALSE(EventTeleport(*key->Pages.At(0), to));
}

TEST_F(GameWorldTest, WalkingEventsKeepToOpenCellsTurnRoundAndCarryTheirBlockWithThem)
{
    for (int y = 0; y < 5; ++y) {
        map.SetCell(0, 1, y, kWall);
        map.SetCell(0, 3, y, kWall);
    }
    TVudEventItem* pacer = event(1, 2, 1, 1);
    pacer->Pages.At(0)->MoveType = 2;  // up and down the corridor x = 2
    pacer->Pages.At(0)->MoveFrequency = 8;
    TVudEventItem* wanderer = event(2, 5, 2, 1);
    wanderer->Pages.At(0)->MoveType = 1;  // at random over the open cells x = 4..5
    wanderer->Pages.At(0)->MoveFrequency = 8;
    TGameWorld world(map, &chips);
    world.PlaceHero({4, 4});
    std::set<int> pacerRows;
    std::set<std::pair<int, int>> wandererCells;
    for (int frame = 0; frame < 4000; ++frame) {
        world.TickActors(false);
        const TActor& p = world.Actors()[0];
        const TActor& w = world.Actors()[1];
        ASSERT_EQ(p.Cell.X, 2);
        ASSERT_TRUE(p.Cell.Y >= 0 && p.Cell.Y < 5);
        ASSERT_TRUE(w.Cell.X >= 4 && w.Cell.X < 6 && w.Cell.Y >= 0 && w.Cell.Y < 5);
        ASSERT_FALSE(w.Cell == world.Hero());
        ASSERT_TRUE(world.EventBlocks(p.Cell.X, p.Cell.Y) && world.EventBlocks(w.Cell.X, w.Cell.Y));
        pacerRows.insert(p.Cell.Y);
        wandererCells.insert({w.Cell.X, w.Cell.Y});
    }
    EXPECT_EQ(pacerRows.size(), 5u) << "from one end of the corridor to the other";
    EXPECT_GT(wandererCells.size(), 3u);
    // Only the cells they stand on block.
    int blocked = 0;
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            blocked += world.EventBlocks(x, y);
    EXPECT_EQ(blocked, 2);

    // Held while a message shows (a step under way still ends).
    for (int frame = 0; frame < TGameWorld::StepTicks; ++frame)
        world.TickActors(true);
    const TCellPos held = world.Actors()[0].Cell;
    for (int frame = 0; frame < 500; ++frame)
        world.TickActors(true);
    EXPECT_EQ(world.Actors()[0].Cell, held);
    EXPECT_EQ(world.Actors()[0].StepLeft, 0);
}
