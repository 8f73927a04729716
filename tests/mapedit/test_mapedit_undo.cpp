// The three-step undo ring and the event position map with its cell drawing.
#include "GR_CharSet.h"
#include "GR_ChipSet.h"
#include "LD_MapTree.h"
#include "MapEditTestKit.h"
#include "MapEditUtils.h"

#include <gtest/gtest.h>

namespace {

void fillMap(TVudMap& map, int value) {
  std::fill(map.LowerLayer.Cells.begin(), map.LowerLayer.Cells.end(), std::uint16_t(5000 + value));
  std::fill(map.UpperLayer.Cells.begin(), map.UpperLayer.Cells.end(), std::uint16_t(10000 + value));
}

int stateOf(const TVudMap& map) {
  const int lower = map.LowerLayer.Get(3, 2) - 5000, upper = map.UpperLayer.Get(4, 1) - 10000;
  return lower == upper ? lower : -1;
}

class UndoRing : public ::testing::Test {
protected:
  void SetUp() override {
    Map.Clear();
    Undo.ResizeUndo(Map.Width, Map.Height);
  }
  void push(int state) {
    fillMap(Map, state);
    Undo.PushMap(Map);
  }
  // Pops and answers the state the map shows afterwards (-2 when nothing was popped).
  int pop() {
    fillMap(Map, 99);
    return Undo.PopInto(Map) ? stateOf(Map) : -2;
  }
  TVudMap Map;
  TVudMapEditUndoManager Undo;
};

TEST_F(UndoRing, FourPushesThenFourPops) {
  for (int s = 1; s <= 4; ++s) push(s);
  EXPECT_EQ(Undo.Count(), 3);
  EXPECT_EQ(pop(), 4);
  EXPECT_EQ(pop(), 3);
  EXPECT_EQ(pop(), 2);
  EXPECT_EQ(pop(), -2);  // the first state was overwritten by the fourth push
  EXPECT_EQ(stateOf(Map), 99);
  EXPECT_EQ(Undo.Count(), 0);
}

TEST_F(UndoRing, PopThenPushReusesTheSlot) {
  push(1), push(2), push(3);
  EXPECT_EQ(pop(), 3);
  push(4);
  EXPECT_EQ(pop(), 4);
  EXPECT_EQ(pop(), 2);
  EXPECT_EQ(pop(), 1);
  EXPECT_EQ(pop(), -2);
  // Slots stay in 0..2 however the ring turns.
  for (int i = 0; i < 10; ++i) {
    push(i);
    ASSERT_GE(Undo.NextSlot(), 0);
    ASSERT_LT(Undo.NextSlot(), 3);
    pop();
    ASSERT_GE(Undo.NextSlot(), 0);
  }
  push(7);
  Undo.ClearHistory();
  EXPECT_EQ(pop(), -2);
}

TEST_F(UndoRing, PushLayersStoresTheGivenBackup) {
  fillMap(Map, 5);
  const TVudMapLayer lower = Map.LowerLayer, upper = Map.UpperLayer;
  fillMap(Map, 6);
  Undo.PushLayers(Map, lower, upper);
  EXPECT_EQ(pop(), 5);
}

class EventMapTest : public ::testing::Test {
protected:
  void SetUp() override {
    Map.Clear();  // 20 × 15
    Tree.ActiveMapID = 3;
  }
  TVudEventItem* addEvent(int id, int x, int y) {
    TVudEventItem* e = Map.Events.Obtain(id);
    e->X = x, e->Y = y;
    return e;
  }
  TVudMap Map;
  TVudMapTree Tree;
  TVudEventMap Events;
};

TEST_F(EventMapTest, EventsAndStartPositionsOnTheGrid) {
  addEvent(1, 2, 2);
  addEvent(2, 2, 2);   // later in the event order wins the cell
  addEvent(3, 5, 5);
  addEvent(4, 20, 3);  // outside: ignored
  addEvent(5, -1, 0);
  Tree.StartPosition.Set(TVudMapStartPosition::spParty, 3, 5, 5);  // over event 3
  Tree.StartPosition.Set(TVudMapStartPosition::spShip, 3, 0, 14);
  Tree.StartPosition.Set(TVudMapStartPosition::spBoat, 7, 1, 1);   // another map
  Tree.StartPosition.Set(TVudMapStartPosition::spAirship, 3, 20, 0);  // outside
  Events.BuildEventMap(&Tree, &Map);
  EXPECT_EQ(Events.EventAt(2, 2), 2);
  EXPECT_EQ(Events.EventAt(5, 5), 60001);
  EXPECT_EQ(Events.EventAt(0, 14), 60003);
  EXPECT_EQ(Events.EventAt(1, 1), 0);
  EXPECT_EQ(Events.EventAt(19, 0), 0);
  EXPECT_EQ(Events.EventAt(-1, 0), -1);
  EXPECT_EQ(Events.EventAt(20, 0), -1);
  EXPECT_EQ(Events.EventAt(0, 15), -1);
  Events.BuildEventMap(&Tree, nullptr);
  EXPECT_EQ(Events.EventAt(0, 0), -1);
}

// Whether any pixel of the cell changed from black.
bool drewSomething(const TVireoBoard& board, int x, int y, int size) {
  for (int j = y; j < y + size; ++j)
    for (int i = x; i < x + size; ++i)
      if (board.ScanLine(j)[i] != 0) return true;
  return false;
}

TEST_F(EventMapTest, DrawingEventCells) {
  TVudChipSetGraphic chips;
  chips.Sheet().LoadFromBitmap(MakeTestChipSet());
  chips.ComputeProperties();
  TVudCharSetGraphic chars;
  TVudEventItem* withTile = addEvent(1, 0, 0);
  withTile->Pages.At(0)->CharSetIndex = 1;  // upper tile 1: a tree on transparent ground
  addEvent(2, 1, 0)->Pages.At(0)->CharSetName = "NoCargado";
  Events.BuildEventMap(&Tree, &Map);
  Events.SetGraphics(&chips, &chars);
  TVireoBoard board;
  board.SetSize(64, 64);
  // At cell size 8 events are icons even without the marker flag; 60001..60004 always are.
  Events.DrawEventCell(board, 0, 0, 1, false, 8);
  EXPECT_TRUE(drewSomething(board, 0, 0, 8));
  Events.DrawEventCell(board, 8, 0, 60004, false, 4);
  EXPECT_TRUE(drewSomething(board, 8, 0, 4));
  Events.DrawEventCell(board, 16, 0, 1, false, 12);  // no strip for other sizes
  EXPECT_FALSE(drewSomething(board, 16, 0, 12));
  // Marker icons are half transparent: over black they come out darker than opaque ones.
  board.Clear();
  Events.DrawEventCell(board, 0, 0, 1, true, 16);
  Events.DrawEventCell(board, 16, 0, 1, false, 8);
  Events.DrawEventCell(board, 32, 0, 1, true, 8);
  EXPECT_LT(board.ScanLine(4)[36] >> 11, board.ScanLine(4)[20] >> 11);
  // A picture: white box, then the tile over the tile set's colour 0 at 16 pixels.
  board.Clear();
  Events.DrawEventCell(board, 0, 16, 1, false, 16);
  EXPECT_EQ(board.ScanLine(17)[1], 0xFFFF);   // the box's corner
  EXPECT_EQ(board.ScanLine(16)[0], 0);        // outside the box
  EXPECT_EQ(board.ScanLine(18)[2], chips.Sheet().ColorTable[0]);  // tile set colour 0 around the tree
  // A character not in the cache: only the box.
  Events.DrawEventCell(board, 32, 32, 2, false, 32);
  EXPECT_EQ(board.ScanLine(36)[36], 0xFFFF);
  EXPECT_EQ(board.ScanLine(45)[45], 0xFFFF);
  EXPECT_EQ(board.ScanLine(35)[35], 0);
}

}  // namespace
