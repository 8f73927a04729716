// The paint engine on plain map objects: automatic shaping, the tools, picking, selections,
// the tile clipboard block and the undo pushes.
#include "GR_ChipSet.h"
#include "MapPaint.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

constexpr int kGrass = 5000;  // a plain tile
int autotile(int n, int shape = 0) {
  return 4000 + 50 * (n - 1) + shape;
}

void makeMap(TVudMap& map, int w, int h, int lower) {
  map.SetWidth(w);
  map.SetHeight(h);
  std::fill(map.LowerLayer.Cells.begin(), map.LowerLayer.Cells.end(), std::uint16_t(lower));
  map.UpperLayer.Fill();
}

int lowerAt(const TVudMap& m, int x, int y) {
  return m.LowerLayer.Get(x, y);
}

void pen(TMapPaintEngine& e, int x, int y) {
  e.BeginStroke(mtPen, x, y, x, y);
  e.EndStroke();
}

// Shape every cell would have from scratch (no Ctrl, no merge targets), for comparison.
int expectedShape(const TVudMap& m, int x, int y) {
  const int k = LowerTileIndex(lowerAt(m, x, y));
  static const int dx[8] = {-1, 0, 1, -1, 1, -1, 0, 1}, dy[8] = {-1, -1, -1, 0, 0, 1, 1, 1};
  static const int bit[8] = {bmNW, bmN, bmNE, bmW, bmE, bmSW, bmS, bmSE};
  int mask = 0;
  for (int i = 0; i < 8; ++i) {
    const int f = LowerTileIndex(lowerAt(m, x + dx[i], y + dy[i]));
    if (f >= 0 && f != k && !(k < 6 && f < 6)) mask |= bit[i];
  }
  return ShapeOfMask(mask);
}

TEST(MapPaint, SingleAutotileInsideAnotherKindShapesItAndItsNeighbours) {
  TVudMap map;
  makeMap(map, 5, 5, autotile(2));
  TMapPaintEngine e(map);
  e.Reload();
  e.Brush().SetSingle(std::uint16_t(autotile(1, 49)));
  pen(e, 2, 2);
  const int expected[5][5] = {
      {0, 0, 0, 0, 0}, {0, 4, 28, 8, 0}, {0, 24, -1, 16, 0}, {0, 2, 20, 1, 0}, {0, 0, 0, 0, 0}};
  EXPECT_EQ(lowerAt(map, 2, 2), autotile(1, 46));
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 5; ++x)
      if (expected[y][x] >= 0) {
        EXPECT_EQ(lowerAt(map, x, y), autotile(2, expected[y][x])) << x << "," << y;
      }
  EXPECT_TRUE(map.Modified);
}

TEST(MapPaint, MapEdgeCountsAsSameUnlessCtrl) {
  struct Case {
    bool Ctrl;
    int Shape;
  } cases[] = {{false, 0}, {true, 34}};
  for (const Case& c : cases) {
    TVudMap map;
    makeMap(map, 4, 4, autotile(1));
    TMapPaintEngine e(map);
    e.Reload();
    e.Ctrl = c.Ctrl;
    e.Brush().SetSingle(std::uint16_t(autotile(1, 49)));
    pen(e, 0, 0);
    EXPECT_EQ(lowerAt(map, 0, 0), autotile(1, c.Shape)) << c.Ctrl;
  }
  // On a map that loops both ways the far side is the neighbour, also with Ctrl.
  TVudMap map;
  makeMap(map, 4, 4, autotile(1));
  map.SetScrollType(3);
  map.LowerLayer.Set(3, 3, std::uint16_t(kGrass));
  TMapPaintEngine e(map);
  e.Reload();
  e.Ctrl = true;
  e.Brush().SetSingle(std::uint16_t(autotile(1, 49)));
  pen(e, 0, 0);
  EXPECT_EQ(lowerAt(map, 0, 0), autotile(1, 1));  // only the north-west corner differs
}

TEST(MapPaint, ShiftStoresTheTileExactlyAndLeavesNeighbours) {
  TVudMap map;
  makeMap(map, 5, 5, autotile(2));
  TMapPaintEngine e(map);
  e.Reload();
  e.Shift = true;
  e.Brush().SetSingle(std::uint16_t(autotile(1, 49)));
  pen(e, 2, 2);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 5; ++x)
      EXPECT_EQ(lowerAt(map, x, y), x == 2 && y == 2 ? autotile(1, 0) : autotile(2)) << x << "," << y;
}

TEST(MapPaint, MergeTargetCountsAsSameForThePaintedKindOnly) {
  // Autotile 2 (index 7) merges into autotile 1 (index 6).
  TVudMap map;
  makeMap(map, 3, 1, autotile(2));
  TMapPaintEngine e(map);
  e.Reload();
  e.SetMergeTarget(7, 6);
  e.Brush().SetSingle(std::uint16_t(autotile(1, 49)));
  pen(e, 1, 0);
  EXPECT_EQ(lowerAt(map, 1, 0), autotile(1, 0));  // the neighbours merge into it
  EXPECT_EQ(lowerAt(map, 0, 0), autotile(2, 24));  // they keep their border towards it
  EXPECT_EQ(lowerAt(map, 2, 0), autotile(2, 16));
}

TEST(MapPaint, BlockOfThreeByThreeAndItsNeighbours) {
  // Pen with a 3 × 3 brush, and the rectangle tool: both give the same shapes.
  for (int tool : {mtPen, mtRectangle}) {
    TVudMap map;
    makeMap(map, 7, 7, autotile(2));
    TMapPaintEngine e(map);
    e.Reload();
    TVudCurrentChip& b = e.Brush();
    b.SetSize(tool == mtPen ? 3 : 1, tool == mtPen ? 3 : 1);
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) b.Set(i, j, std::uint16_t(autotile(1, 49)));
    e.BeginStroke(tool, 2, 2, 2, 2);
    if (tool == mtRectangle) e.MoveStroke(4, 4, 4, 4);
    e.EndStroke();
    const int inner[3][3] = {{34, 20, 36}, {16, 0, 24}, {40, 28, 38}};
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 3; ++x)
        EXPECT_EQ(lowerAt(map, x + 2, y + 2), autotile(1, inner[y][x])) << tool << ":" << x << "," << y;
    // The ring around it carries the borders facing the block; nothing else changed.
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 7; ++x)
        EXPECT_EQ(lowerAt(map, x, y) % 50, expectedShape(map, x, y)) << tool << ":" << x << "," << y;
    EXPECT_EQ(lowerAt(map, 1, 1), autotile(2, 4));
    EXPECT_EQ(lowerAt(map, 3, 1), autotile(2, 28));
    EXPECT_EQ(lowerAt(map, 0, 0), autotile(2, 0));
  }
}

TEST(MapPaint, WaterGetsDeepCorners) {
  // Water A in a sea of water C: no border, four deep corners.
  TVudMap sea;
  makeMap(sea, 5, 5, 2000);
  TMapPaintEngine e(sea);
  e.Reload();
  e.Brush().SetSingle(49);
  pen(e, 2, 2);
  EXPECT_EQ(lowerAt(sea, 2, 2), 750);
  EXPECT_EQ(lowerAt(sea, 2, 1), 2000);

  // A 3 × 3 block of water C in a lake of water A: deep corners on its outer corners only.
  TVudMap lake;
  makeMap(lake, 7, 7, 0);
  TMapPaintEngine l(lake);
  l.Reload();
  l.Brush().SetSize(3, 3);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) l.Brush().Set(i, j, 2049);
  pen(l, 2, 2);
  const int expected[3][3] = {{2050, 2000, 2100}, {2000, 2000, 2000}, {2200, 2000, 2400}};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(lowerAt(lake, x + 2, y + 2), expected[y][x]) << x << "," << y;
  EXPECT_EQ(lowerAt(lake, 1, 1), 0);
  EXPECT_EQ(lowerAt(lake, 3, 1), 0);

  // Water next to grass borders on both sides.
  TVudMap shore;
  makeMap(shore, 3, 3, 0);
  shore.LowerLayer.Set(2, 1, std::uint16_t(kGrass));
  TMapPaintEngine s(shore);
  s.Reload();
  s.Brush().SetSingle(49);
  pen(s, 1, 1);
  EXPECT_EQ(lowerAt(shore, 1, 1), 24);  // east differs
  EXPECT_EQ(lowerAt(shore, 1, 0), 4);   // its south-east corner
}

TEST(MapPaint, EllipseRasteriserIsSymmetricAndPinned) {
  // Rows of a 7 × 7 ellipse, and a 5 × 3 one.
  const int rows7[7] = {3, 5, 7, 7, 7, 5, 3};
  for (int j = 0; j < 7; ++j) {
    int n = 0;
    for (int i = 0; i < 7; ++i) n += EllipseCell(7, 7, i, j);
    EXPECT_EQ(n, rows7[j]) << j;
  }
  for (int w = 1; w <= 12; ++w)
    for (int h = 1; h <= 12; ++h)
      for (int i = 0; i < w; ++i)
        for (int j = 0; j < h; ++j) {
          ASSERT_EQ(EllipseCell(w, h, i, j), EllipseCell(w, h, w - 1 - i, j));
          ASSERT_EQ(EllipseCell(w, h, i, j), EllipseCell(w, h, i, h - 1 - j));
        }
}

TEST(MapPaint, RectangleAndEllipseOfSizesOneTwoThreeSeven) {
  for (int tool : {mtRectangle, mtEllipse})
    for (int n : {1, 2, 3, 7}) {
      TVudMap map;
      makeMap(map, 10, 10, kGrass);
      TMapPaintEngine e(map);
      e.Reload();
      e.Layer = emUpper;
      e.Brush().SetSingle(10005);
      e.BeginStroke(tool, 1, 1, 1, 1);
      e.MoveStroke(n, n, n, n);
      e.EndStroke();
      for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
          const bool inRect = x >= 1 && y >= 1 && x <= n && y <= n;
          const bool in = inRect && (tool == mtRectangle || n <= 2 || EllipseCell(n, n, x - 1, y - 1));
          EXPECT_EQ(map.UpperLayer.Get(x, y), in ? 10005 : 10000) << tool << " " << n << ": " << x << "," << y;
        }
    }
}

TEST(MapPaint, DraggingBackToASmallerRectangleRestoresTheCellsOutside) {
  TVudMap map;
  makeMap(map, 8, 8, autotile(2));
  TMapPaintEngine e(map);
  e.Reload();
  e.Brush().SetSingle(std::uint16_t(autotile(1, 49)));
  TVudMap direct;
  makeMap(direct, 8, 8, autotile(2));
  TMapPaintEngine d(direct);
  d.Reload();
  d.Brush().SetSingle(std::uint16_t(autotile(1, 49)));
  e.BeginStroke(mtRectangle, 1, 1, 1, 1);
  e.MoveStroke(6, 6, 6, 6);
  e.MoveStroke(3, 2, 3, 2);
  e.EndStroke();
  d.BeginStroke(mtRectangle, 1, 1, 1, 1);
  d.MoveStroke(3, 2, 3, 2);
  d.EndStroke();
  EXPECT_EQ(map.LowerLayer.Cells, direct.LowerLayer.Cells);
}

TEST(MapPaint, FillOnTheLowerLayerFloodsOneKindWhateverItsShapes) {
  // Autotile 3 in varied shapes; the cell at (3,3) touches the region only diagonally.
  TVudMap map;
  makeMap(map, 5, 5, kGrass);
  const int region[][2] = {{0, 0}, {1, 0}, {1, 1}, {2, 1}, {2, 2}};
  int shape = 0;
  for (auto& c : region) map.LowerLayer.Set(c[0], c[1], std::uint16_t(autotile(3, shape += 7)));
  map.LowerLayer.Set(3, 3, std::uint16_t(autotile(3, 5)));
  TMapPaintEngine e(map);
  e.Reload();
  e.Brush().SetSingle(5010);
  e.BeginStroke(mtFill, 1, 1, 1, 1);
  e.EndStroke();
  for (auto& c : region) EXPECT_EQ(lowerAt(map, c[0], c[1]), 5010);
  EXPECT_EQ(lowerAt(map, 3, 3), autotile(3, 5));
  EXPECT_EQ(lowerAt(map, 4, 4), kGrass);

  // Filling grass with water shapes the whole lake and its shore.
  TVudMap big;
  makeMap(big, 6, 6, kGrass);
  big.LowerLayer.Set(5, 5, std::uint16_t(autotile(1)));
  TMapPaintEngine b(big);
  b.Reload();
  b.Brush().SetSingle(49);
  b.BeginStroke(mtFill, 0, 0, 0, 0);
  b.EndStroke();
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(lowerAt(big, x, y) % 50, expectedShape(big, x, y)) << x << "," << y;
  EXPECT_EQ(lowerAt(big, 4, 4), 4);  // south-east corner towards the autotile
}

TEST(MapPaint, FillOnTheUpperLayerMatchesExactIDs) {
  TVudMap map;
  makeMap(map, 4, 4, kGrass);
  map.UpperLayer.Set(1, 0, 10003);
  map.UpperLayer.Set(1, 1, 10003);
  map.UpperLayer.Set(1, 2, 10004);
  map.UpperLayer.Set(1, 3, 10003);
  TMapPaintEngine e(map);
  e.Reload();
  e.Layer = emUpper;
  e.Brush().SetSingle(10007);
  e.BeginStroke(mtFill, 0, 0, 1, 0);
  e.EndStroke();
  EXPECT_EQ(map.UpperLayer.Get(1, 0), 10007);
  EXPECT_EQ(map.UpperLayer.Get(1, 1), 10007);
  EXPECT_EQ(map.UpperLayer.Get(1, 2), 10004);
  EXPECT_EQ(map.UpperLayer.Get(1, 3), 10003);
  EXPECT_EQ(map.UpperLayer.Get(0, 0), 10000);
  EXPECT_EQ(lowerAt(map, 1, 0), kGrass);
}

TEST(MapPaint, PickReducesShapesUnlessShift) {
  TVudMap map;
  makeMap(map, 3, 1, kGrass);
  map.LowerLayer.Set(0, 0, std::uint16_t(autotile(1, 23)));
  map.LowerLayer.Set(1, 0, 1750);
  map.LowerLayer.Set(2, 0, 3070);
  map.UpperLayer.Set(2, 0, 10033);
  TMapPaintEngine e(map);
  e.Reload();
  for (bool shift : {false, true}) {
    e.Shift = shift;
    const TVudCurrentChip b = e.PickBrush({0, 0, 3, 1});
    EXPECT_EQ(b.Width, 3);
    EXPECT_EQ(b.Height, 1);
    EXPECT_EQ(b.At(0, 0), shift ? autotile(1, 23) : autotile(1, 49));
    EXPECT_EQ(b.At(1, 0), shift ? 1750 : 1049);
    EXPECT_EQ(b.At(2, 0), shift ? 3070 : 3099);
  }
  e.Layer = emUpper;
  EXPECT_EQ(e.PickBrush({2, 0, 1, 1}).At(0, 0), 10033);
  EXPECT_EQ(e.PickBrush({0, 0, 9, 9}).Width, 6);  // never more than 6 × 6
}

// A map whose cells are all different, for the selection tests.
void makeNumbered(TVudMap& map) {
  makeMap(map, 6, 6, kGrass);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) {
      map.LowerLayer.Set(x, y, std::uint16_t(5000 + x + 6 * y));
      map.UpperLayer.Set(x, y, std::uint16_t(10100 + x + 6 * y));
    }
}

void selectRect(TMapPaintEngine& e, int x, int y, int w, int h) {
  e.BeginStroke(mtSelect, x, y, x, y);
  e.SetSelection({x, y, w, h});
  e.EndStroke();
}

TEST(MapPaint, SelectionLiftMoveAndCancel) {
  TVudMap map;
  makeNumbered(map);
  const auto before = map.SaveToFileBytes();
  TMapPaintEngine e(map);
  e.Reload();
  e.Brushes[emLower].SetSingle(std::uint16_t(autotile(1, 23)));
  selectRect(e, 1, 1, 2, 2);
  EXPECT_TRUE(e.SelectionLiftedNotMoved());
  EXPECT_EQ(map.SaveToFileBytes(), before);  // lifting leaves the map alone
  EXPECT_EQ(e.UndoManager().Count(), 0);

  e.MoveSelectionTo(2, 3);
  EXPECT_EQ(e.UndoManager().Count(), 1);
  EXPECT_EQ(e.Selection(), (TCellRect{2, 3, 2, 2}));
  EXPECT_EQ(lowerAt(map, 1, 1), autotile(1, 0));  // the vacated cells: the lower brush, shape 0
  EXPECT_EQ(map.UpperLayer.Get(1, 1), 10000);
  EXPECT_EQ(lowerAt(map, 2, 3), 5000 + 1 + 6);   // the lifted content at its new place
  EXPECT_EQ(map.UpperLayer.Get(3, 4), 10100 + 2 + 12);
  e.MoveSelectionTo(3, 3);  // a second step pushes nothing
  EXPECT_EQ(e.UndoManager().Count(), 1);
  EXPECT_EQ(lowerAt(map, 2, 3), 5000 + 2 + 18);  // left behind: the map as it was
  EXPECT_EQ(lowerAt(map, 3, 3), 5007);

  // The right button during the drag puts everything back and keeps one undo step.
  e.CancelSelectionDrag();
  EXPECT_EQ(map.SaveToFileBytes(), before);
  EXPECT_TRUE(e.Selection().Empty());
  EXPECT_EQ(e.UndoManager().Count(), 1);

  // Cancelling before any move undoes nothing else.
  TVudMap other;
  makeNumbered(other);
  TMapPaintEngine o(other);
  o.Reload();
  o.Brush().SetSingle(5020);
  pen(o, 0, 0);
  selectRect(o, 2, 2, 2, 2);
  o.CancelSelectionDrag();
  EXPECT_EQ(lowerAt(other, 0, 0), 5020);
  EXPECT_EQ(o.UndoManager().Count(), 1);
}

TEST(MapPaint, ClearCopyPasteAndSelectAll) {
  TVudMap map;
  makeNumbered(map);
  const auto before = map.SaveToFileBytes();
  TMapPaintEngine e(map);
  e.Reload();
  e.Brushes[emLower].SetSingle(1049);  // water B: vacates as 1000
  selectRect(e, 0, 0, 2, 3);
  const std::vector<std::uint8_t> block = e.CopySelection();
  ASSERT_EQ(block.size(), 4u + 2 * 3 * 4);
  EXPECT_EQ(block[0], 2);
  EXPECT_EQ(block[2], 3);
  // Column by column: (0,1) comes right after (0,0).
  EXPECT_EQ(block[8] | block[9] << 8, 5006);
  e.ClearSelection();
  EXPECT_EQ(lowerAt(map, 1, 2), 1000);
  EXPECT_EQ(map.UpperLayer.Get(1, 2), 10000);
  EXPECT_EQ(e.UndoManager().Count(), 1);

  // Paste centred on the visible area: 320 × 240 pixels at 32, scrolled by 64, 0.
  int left = 0, top = 0;
  PasteOrigin(320, 240, 64, 0, 32, 2, 3, left, top);
  EXPECT_EQ(left, (160 + 64) / 32 - 1);
  EXPECT_EQ(top, 120 / 32 - 1);
  const auto beforePaste = map.SaveToFileBytes();
  ASSERT_TRUE(e.Paste(block.data(), block.size(), 3, 2));
  EXPECT_EQ(lowerAt(map, 3, 2), 5000);
  EXPECT_EQ(lowerAt(map, 4, 4), 5013);
  EXPECT_EQ(e.Selection(), (TCellRect{3, 2, 2, 3}));
  // Moving the pasted block restores what lay beneath.
  e.MoveSelectionTo(10, 10);
  EXPECT_EQ(map.SaveToFileBytes(), beforePaste);
  EXPECT_TRUE(e.Undo());
  EXPECT_TRUE(e.Undo());
  EXPECT_EQ(map.SaveToFileBytes(), before);

  e.SelectAll();
  EXPECT_EQ(e.Selection(), (TCellRect{0, 0, 6, 6}));
  EXPECT_EQ(e.CopySelection().size(), 4u + 36 * 4);
}

TEST(MapPaint, MalformedClipboardBlocksPasteNothing) {
  auto block = [](int w, int h, std::size_t cells) {
    std::vector<std::uint8_t> b{std::uint8_t(w), std::uint8_t(w >> 8), std::uint8_t(h), std::uint8_t(h >> 8)};
    b.resize(4 + cells * 4, 0);
    return b;
  };
  const std::vector<std::uint8_t> cases[] = {
      {}, {1, 0}, block(0, 1, 0), block(1, 0, 0), block(1000, 1, 1000), block(2, 2, 3), block(999, 999, 10)};
  TVudMap map;
  makeNumbered(map);
  const auto before = map.SaveToFileBytes();
  TMapPaintEngine e(map);
  e.Reload();
  for (const auto& c : cases) {
    EXPECT_FALSE(e.Paste(c.data(), c.size(), 0, 0)) << c.size();
    EXPECT_EQ(e.UndoManager().Count(), 0);
  }
  EXPECT_EQ(map.SaveToFileBytes(), before);
  const auto ok = block(1, 1, 1);
  EXPECT_TRUE(e.Paste(ok.data(), ok.size(), 5, 5));
  EXPECT_EQ(lowerAt(map, 5, 5), 0);
}

// One operation of every tool on both layers.
struct TOp {
  const char* Name;
  int Layer;
  std::function<void(TMapPaintEngine&)> Run;
};

std::vector<TOp> allOps() {
  std::vector<TOp> ops;
  for (int layer : {emLower, emUpper}) {
    ops.push_back({"pen", layer, [](TMapPaintEngine& e) {
                     e.BeginStroke(mtPen, 1, 1, 1, 1);
                     e.MoveStroke(5, 3, 5, 3);
                     e.EndStroke();
                   }});
    ops.push_back({"rectangle", layer, [](TMapPaintEngine& e) {
                     e.BeginStroke(mtRectangle, 2, 2, 2, 2);
                     e.MoveStroke(6, 5, 6, 5);
                     e.EndStroke();
                   }});
    ops.push_back({"ellipse", layer, [](TMapPaintEngine& e) {
                     e.BeginStroke(mtEllipse, 0, 0, 0, 0);
                     e.MoveStroke(6, 6, 6, 6);
                     e.EndStroke();
                   }});
    ops.push_back({"fill", layer, [](TMapPaintEngine& e) {
                     e.BeginStroke(mtFill, 4, 4, 4, 4);
                     e.EndStroke();
                   }});
    ops.push_back({"move selection", layer, [](TMapPaintEngine& e) {
                     selectRect(e, 1, 1, 3, 2);
                     e.MoveSelectionTo(3, 4);
                   }});
    ops.push_back({"clear", layer, [](TMapPaintEngine& e) {
                     selectRect(e, 0, 2, 4, 4);
                     e.ClearSelection();
                   }});
    ops.push_back({"paste", layer, [](TMapPaintEngine& e) {
                     const std::uint8_t b[] = {1, 0, 1, 0, 0x10, 0x27, 0x12, 0x27};
                     e.Paste(b, sizeof b, 6, 6);
                   }});
  }
  return ops;
}

void makeMixed(TVudMap& map) {
  makeMap(map, 8, 8, kGrass);
  for (int i = 0; i < 8; ++i) {
    map.LowerLayer.Set(i, 3, std::uint16_t(autotile(4, i)));
    map.LowerLayer.Set(3, i, 2000);
    map.UpperLayer.Set(i, i, std::uint16_t(10010 + i));
  }
}

TEST(MapPaint, UndoRestoresTheSavedBytesForEveryToolAndLayer) {
  for (const TOp& op : allOps()) {
    TVudMap map;
    makeMixed(map);
    const auto before = map.SaveToFileBytes();
    TMapPaintEngine e(map);
    e.Reload();
    e.Layer = op.Layer;
    e.Brushes[emLower].SetSize(2, 1);
    e.Brushes[emLower].Set(0, 0, std::uint16_t(autotile(1, 49)));
    e.Brushes[emLower].Set(1, 0, 49);
    e.Brushes[emUpper].SetSingle(10020);
    op.Run(e);
    EXPECT_NE(map.SaveToFileBytes(), before) << op.Name << " " << op.Layer;
    EXPECT_EQ(e.UndoManager().Count(), 1) << op.Name;
    EXPECT_TRUE(e.Undo());
    EXPECT_EQ(map.SaveToFileBytes(), before) << op.Name << " " << op.Layer;
  }
}

TEST(MapPaint, ThreeOperationsUndoInOrderAndAFourthUndoDoesNothing) {
  TVudMap map;
  makeMixed(map);
  TMapPaintEngine e(map);
  e.Reload();
  e.Brush().SetSingle(std::uint16_t(autotile(2, 49)));
  std::vector<std::vector<std::uint8_t>> states{map.SaveToFileBytes()};
  const auto ops = allOps();
  for (int i : {0, 1, 3}) {
    ops[std::size_t(i)].Run(e);
    states.push_back(map.SaveToFileBytes());
  }
  for (int i = 2; i >= 0; --i) {
    EXPECT_TRUE(e.Undo());
    EXPECT_EQ(map.SaveToFileBytes(), states[std::size_t(i)]) << i;
  }
  EXPECT_FALSE(e.Undo());
  EXPECT_EQ(map.SaveToFileBytes(), states[0]);
}

TEST(MapPaint, CellWritesReportTheChangedRegion) {
  TVudMap map;
  makeMap(map, 10, 10, kGrass);
  int left = 99, top = 99, right = -1, bottom = -1, calls = 0;
  map.OnCellsChanged = [&](int x, int y, int w, int h) {
    ++calls;
    left = std::min(left, x), top = std::min(top, y);
    right = std::max(right, x + w - 1), bottom = std::max(bottom, y + h - 1);
  };
  TMapPaintEngine e(map);
  e.Reload();
  e.Brush().SetSingle(49);
  map.Modified = false;
  pen(e, 4, 4);
  EXPECT_TRUE(map.Modified);
  // The cell and its eight reshaped grass neighbours (plain tiles do not change).
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(left, 4);
  EXPECT_EQ(bottom, 4);
  e.CancelStroke();  // no stroke running: nothing happens
  EXPECT_EQ(calls, 1);
}

TEST(MapPaint, CancelledStrokeRestoresBothLayers) {
  TVudMap map;
  makeMixed(map);
  const auto before = map.SaveToFileBytes();
  TMapPaintEngine e(map);
  e.Reload();
  e.Brush().SetSingle(std::uint16_t(autotile(5, 49)));
  e.BeginStroke(mtPen, 0, 0, 0, 0);
  e.MoveStroke(7, 7, 7, 7);
  e.CancelStroke();
  EXPECT_EQ(map.SaveToFileBytes(), before);
  EXPECT_EQ(e.UndoManager().Count(), 0);
}

}  // namespace
