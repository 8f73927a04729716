// Tile IDs, shapes, pieces and frames, and the tile set graphic drawing them.
#include "GR_CharSet.h"
#include "GR_ChipSet.h"
#include "LD_ChipSet.h"
#include "MapEditTestKit.h"
#include "VireoImageFile.h"
#include "VudError.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(TileIds, LowerTileIndexBothWays) {
  struct Case { int id, index; };
  const Case cases[] = {
      {-1, -1},   {0, 0},       {799, 0},     {1000, 1},    {2999, 2},    {3000, 3},
      {3049, 3},  {3050, 4},    {3149, 5},    {3150, -1},   {3999, -1},   {4000, 6},
      {4049, 6},  {4599, 17},   {4600, -1},   {4999, -1},   {5000, 18},   {5143, 161},
      {5144, -1}, {9999, -1},   {10000, -1},  {10143, -1},  {20000, -1},  {65535, -1}};
  for (const Case& c : cases) EXPECT_EQ(LowerTileIndex(c.id), c.index) << c.id;
  for (int k = 0; k < kLowerTileCount; ++k) EXPECT_EQ(LowerTileIndex(LowerTileBaseID(k)), k) << k;
  const int bases[][2] = {{0, 0}, {2, 2000}, {3, 3000}, {5, 3100}, {6, 4000}, {17, 4550},
                          {18, 5000}, {161, 5143}, {-1, -1}, {162, -1}};
  for (const auto& b : bases) EXPECT_EQ(LowerTileBaseID(b[0]), b[1]) << b[0];
}

TEST(TileIds, PlainAndUpperPositions) {
  struct Case { int tile, x, y; };
  const Case plain[] = {{0, 192, 0},   {5, 272, 0},   {6, 192, 16},
                        {95, 272, 240}, {96, 288, 0}, {143, 368, 112}};
  for (const Case& c : plain) {
    EXPECT_EQ(PlainTileOrigin(c.tile).X, c.x) << c.tile;
    EXPECT_EQ(PlainTileOrigin(c.tile).Y, c.y) << c.tile;
  }
  const Case upper[] = {{0, 288, 128}, {47, 368, 240}, {48, 384, 0}, {143, 464, 240}};
  for (const Case& c : upper) {
    EXPECT_EQ(UpperTileOrigin(c.tile).X, c.x) << c.tile;
    EXPECT_EQ(UpperTileOrigin(c.tile).Y, c.y) << c.tile;
  }
}

TEST(Shapes, EveryMaskNormalisesToOneOfTheShapes) {
  const int masks[47] = {0,   1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  11,
                         12,  13,  14,  15,  25,  27,  29,  31,  35,  39,  43,  47,
                         70,  78,  71,  79,  140, 141, 142, 143, 95,  175, 59,  63,
                         103, 111, 206, 207, 157, 159, 127, 191, 223, 239, 255};
  for (int s = 0; s < 47; ++s) {
    EXPECT_EQ(MaskOfShape(s), masks[s]);
    EXPECT_EQ(ShapeOfMask(masks[s]), s);
  }
  for (int shape : {47, 48, 49, -1, 50}) EXPECT_EQ(MaskOfShape(shape), 0);
  for (int m = 0; m < 256; ++m) {
    const int n = NormaliseMask(m);
    // Every side bit drags in both of its corners; nothing else changes.
    int expect = m;
    if (m & (bmN | bmW)) expect |= bmNW;
    if (m & (bmN | bmE)) expect |= bmNE;
    if (m & (bmS | bmE)) expect |= bmSE;
    if (m & (bmS | bmW)) expect |= bmSW;
    EXPECT_EQ(n, expect) << m;
    EXPECT_EQ(NormaliseMask(n), n);
    const int shape = ShapeOfMask(m);
    ASSERT_GE(shape, 0) << m;
    ASSERT_LT(shape, 47) << m;
    EXPECT_EQ(MaskOfShape(shape), n) << m;
  }
  // A few raw masks with the shape they must land on.
  const int raw[][2] = {{bmW, 16}, {bmN, 20}, {bmE, 24}, {bmS, 28}, {bmW | bmE, 32},
                        {bmN | bmS, 33}, {bmN | bmW | bmSE, 35}, {bmE | bmS | bmNW, 39}, {255, 46}};
  for (const auto& r : raw) EXPECT_EQ(ShapeOfMask(r[0]), r[1]) << r[0];
}

TQuarterPieces pieces(int a, int b, int c, int d, int e, int f, int g, int h) {
  return {{{a, b}, {c, d}, {e, f}, {g, h}}};
}

TEST(Shapes, AutotileQuarterPieces) {
  struct Case { int shape; TQuarterPieces expect; };
  const Case cases[] = {
      {0, pieces(2, 4, 3, 4, 2, 5, 3, 5)},    // centre cell
      {46, pieces(0, 2, 5, 2, 0, 7, 5, 7)},   // outer corners
      {16, pieces(0, 4, 1, 4, 0, 5, 1, 5)},   // west: the left-middle cell
      {32, pieces(0, 4, 5, 4, 0, 5, 5, 5)},   // west and east
      {1, pieces(4, 0, 3, 4, 2, 5, 3, 5)},    // north-west corner only: inner corner piece
      {15, pieces(4, 0, 5, 0, 4, 1, 5, 1)},   // all four inner corners
      {34, pieces(0, 2, 1, 2, 0, 3, 1, 3)},   // north and west: the top-left cell
      {49, pieces(0, 0, 1, 0, 0, 1, 1, 1)},   // icon
  };
  for (const Case& c : cases) EXPECT_EQ(AutotilePieces(c.shape), c.expect) << c.shape;
}

TEST(Shapes, WaterQuarterPieces) {
  struct Case { int kind, shape, deep; TQuarterPieces expect; };
  const Case cases[] = {
      {0, 0, 0, pieces(0, 8, 1, 8, 0, 9, 1, 9)},
      {0, 0, 15, pieces(0, 10, 1, 10, 0, 11, 1, 11)},  // ID 750
      {1, 34, 0, pieces(6, 0, 7, 4, 6, 3, 1, 9)},
      {2, 0, 0, pieces(0, 14, 1, 14, 0, 15, 1, 15)},
      {2, 0, 9, pieces(0, 12, 1, 14, 0, 15, 1, 13)},   // C deep corners top-left, bottom-right
      {0, 15, 0, pieces(0, 6, 1, 6, 0, 7, 1, 7)},      // corners only
      {1, 46, 2, pieces(6, 0, 1, 10, 6, 1, 7, 1)},      // B outer corners, one deep corner
      {0, 49, 0, pieces(0, 0, 1, 0, 0, 1, 1, 1)},
      {1, 49, 0, pieces(6, 0, 7, 0, 6, 1, 7, 1)},
      {2, 49, 0, pieces(0, 12, 1, 12, 0, 13, 1, 13)},
  };
  for (const Case& c : cases)
    EXPECT_EQ(WaterPieces(c.kind, c.shape, c.deep), c.expect) << c.kind << "/" << c.shape;
}

TEST(Shapes, AnimationFrameSequences) {
  // Slow ping-pong, fast ping-pong, slow three-step, fast three-step over the same counters.
  const int counters[] = {0, 11, 12, 23, 24, 36, 48, 60, 72, 96, -5};
  const int slowPing[] = {0, 0, 0, 0, 1, 1, 2, 2, 1, 0, 0};
  const int fastPing[] = {0, 0, 1, 1, 2, 1, 0, 1, 2, 0, 0};
  const int slowThree[] = {0, 0, 0, 0, 1, 1, 2, 2, 0, 1, 0};
  const int fastThree[] = {0, 0, 1, 1, 2, 0, 1, 2, 0, 2, 0};
  for (std::size_t i = 0; i < std::size(counters); ++i) {
    EXPECT_EQ(WaterFrame(counters[i], 0, 0), slowPing[i]) << counters[i];
    EXPECT_EQ(WaterFrame(counters[i], 1, 0), fastPing[i]) << counters[i];
    EXPECT_EQ(WaterFrame(counters[i], 0, 1), slowThree[i]) << counters[i];
    EXPECT_EQ(WaterFrame(counters[i], 1, 1), fastThree[i]) << counters[i];
  }
  const int animated[][2] = {{0, 0}, {5, 0}, {6, 1}, {13, 2}, {18, 3}, {24, 0}, {-1, 0}};
  for (const auto& a : animated) EXPECT_EQ(AnimatedFrame(a[0]), a[1]) << a[0];
}

// A tile set whose every 8 × 8 piece is one colour that names the piece.
class PieceSheet : public ::testing::Test {
protected:
  static int pieceIndex(int px, int py) { return (px * 7 + py * 31) % 251 + 1; }
  void SetUp() override {
    TVireoSheet& s = Chips.Sheet();
    for (int y = 0; y < 256; ++y)
      for (int x = 0; x < 480; ++x) s.ScanLine(y)[x] = std::uint8_t(pieceIndex(x / 8, y / 8));
    for (int i = 0; i < 256; ++i) s.Palette[i] = {std::uint8_t(i), std::uint8_t(255 - i), 77, 0};
    s.UpdateColorTable();
    Chips.ComputeProperties();
    Board.SetSize(64, 64);
  }
  // The piece each quarter of a tile drawn at (0, 0) with this cell size shows.
  void expectQuarters(int tileID, int counter, int cellSize, const TQuarterPieces& expect,
                      TVireoPoint origin) {
    Board.Clear();
    Chips.DrawTile(Board, 0, 0, tileID, counter, false, cellSize);
    const int h = cellSize / 2;
    for (int q = 0; q < 4; ++q)
      for (int corner : {0, h - 1}) {
        const int x = h * (q & 1) + corner, y = h * (q >> 1) + corner;
        EXPECT_EQ(Board.ScanLine(y)[x],
                  Chips.Sheet().ColorTable[std::size_t(
                      pieceIndex(origin.X / 8 + expect[q].X, origin.Y / 8 + expect[q].Y))])
            << "tile " << tileID << " quarter " << q << " size " << cellSize;
      }
  }
  TVudChipSetGraphic Chips;
  TVireoBoard Board;
};

TEST_F(PieceSheet, DrawsThePiecesOfEachKindAtEveryCellSize) {
  TVudChipSetItem record;
  record.WaterSpeed = 0, record.WaterSequence = 0;
  Chips.SetChipSet(&record);  // empty name: keeps our hand-made pixels
  for (int size : {32, 16, 8, 4}) {
    expectQuarters(4000 + 50 * 6 + 46, 0, size, AutotilePieces(46), AutotileBlockOrigin(6));
    expectQuarters(4000 + 50 * 11 + 1, 0, size, AutotilePieces(1), AutotileBlockOrigin(11));
    expectQuarters(4047, 0, size, AutotilePieces(0), AutotileBlockOrigin(0));  // 47 draws as 0
    expectQuarters(750, 0, size, pieces(0, 10, 1, 10, 0, 11, 1, 11), {0, 0});
    expectQuarters(1034, 0, size, pieces(6, 0, 7, 4, 6, 3, 1, 9), {0, 0});
    // Slow water at counter 24 is frame 1: every piece 16 pixels right; counter 72 again.
    expectQuarters(1034, 24, size, pieces(8, 0, 9, 4, 8, 3, 3, 9), {0, 0});
    expectQuarters(1034, 72, size, pieces(8, 0, 9, 4, 8, 3, 3, 9), {0, 0});
    // Animated tile 2 at counter 13 shows its third frame (y 64 + 32).
    expectQuarters(3050, 13, size, pieces(0, 0, 1, 0, 0, 1, 1, 1), {64, 96});
    expectQuarters(3099, 13, size, pieces(0, 0, 1, 0, 0, 1, 1, 1), {64, 96});
    expectQuarters(5000 + 100, 0, size, pieces(0, 0, 1, 0, 0, 1, 1, 1), PlainTileOrigin(100));
    expectQuarters(10000 + 60, 0, size, pieces(0, 0, 1, 0, 0, 1, 1, 1), UpperTileOrigin(60));
    // Upper IDs past the last tile clamp to it.
    expectQuarters(10999, 0, size, pieces(0, 0, 1, 0, 0, 1, 1, 1), UpperTileOrigin(143));
  }
  record.WaterSpeed = 1, record.WaterSequence = 1;  // fast three-step: counter 36 is frame 0
  expectQuarters(1034, 36, 16, pieces(6, 0, 7, 4, 6, 3, 1, 9), {0, 0});
}

TEST_F(PieceSheet, IdsOutsideTheRangesDrawNothing) {
  for (int id : {-1, 3150, 3999, 4600, 4999, 5144, 9999, 20000, 65535}) {
    Board.SetSize(32, 32);
    Chips.DrawTile(Board, 0, 0, id, 0, false, 32);
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) ASSERT_EQ(Board.ScanLine(y)[x], 0) << id;
    EXPECT_TRUE(Chips.SkipsTile(id));
  }
}

TEST_F(PieceSheet, TransparentModeSkipsEmptyTilesAndOpacityBlends) {
  const TVireoPoint u = UpperTileOrigin(5);
  for (int y = 0; y < 16; ++y) std::fill_n(Chips.Sheet().ScanLine(u.Y + y) + u.X, 16, 0);
  Chips.ComputeProperties();
  EXPECT_TRUE(Chips.UpperTransparent(5));
  EXPECT_FALSE(Chips.UpperTransparent(6));
  Chips.SetTransparentMode(true);
  EXPECT_TRUE(Chips.SkipsTile(10005));
  EXPECT_FALSE(Chips.SkipsTile(10006));
  Chips.SetTransparentMode(false);
  EXPECT_FALSE(Chips.SkipsTile(10005));
  Chips.SetOpacityLevel(2);
  EXPECT_EQ(Chips.Sheet().Opacity, 195);
  EXPECT_EQ(Chips.DimmedSheet().Opacity, 195);
}

TEST(ChipSetGraphic, MergeTargetsAndLoading) {
  QTemporaryDir dir;
  const std::filesystem::path project = dir.path().toStdString();
  WriteTestChipSet(project, "Prueba");
  SetMaterialResolver([&](const std::string& name, const std::string& folder) {
    return ResolveMaterialIn(project, name, folder);
  });
  TVudChipSetGraphic chips;
  TVudChipSetItem record;
  record.ChipSetName = "PRUEBA";  // letter case of the file does not matter
  chips.SetChipSet(&record);
  EXPECT_EQ(chips.ImageName(), "PRUEBA");
  // Autotile 3 (lower index 8) carries autotile 1's icon beside its own.
  for (int k = 0; k < kLowerTileCount; ++k) EXPECT_EQ(chips.MergeTarget(k), k == 8 ? 6 : -1) << k;
  EXPECT_EQ(chips.MergeTarget(-3), -1);
  EXPECT_TRUE(chips.UpperTransparent(0));
  EXPECT_TRUE(chips.UpperTransparent(7));
  EXPECT_FALSE(chips.UpperTransparent(1));
  EXPECT_FALSE(chips.PlainTransparent(0));
  // The dimmed copy is darker and greyer than the original.
  const std::uint16_t plain = chips.Sheet().ColorTable[2], dim = chips.DimmedSheet().ColorTable[2];
  EXPECT_LT(dim & 31, plain & 31);
  // Dimmed drawing takes its colours from that copy.
  TVireoBoard board;
  board.SetSize(16, 16);
  const TVireoPoint p = PlainTileOrigin(3);
  const std::uint8_t index = chips.Sheet().ScanLine(p.Y + 5)[p.X + 5];
  chips.DrawTile(board, 0, 0, 5003, 0, true, 16);
  EXPECT_EQ(board.ScanLine(5)[5], chips.DimmedSheet().ColorTable[index]);
  chips.DrawTile(board, 0, 0, 5003, 0, false, 16);
  EXPECT_EQ(board.ScanLine(5)[5], chips.Sheet().ColorTable[index]);
  EXPECT_NE(chips.Sheet().ColorTable[index], chips.DimmedSheet().ColorTable[index]);

  SetLenientMode(false);
  record.ChipSetName = "NoExiste";
  EXPECT_THROW(chips.SetChipSet(&record), std::exception);
  EXPECT_TRUE(chips.Sheet().IsAllTransparent(chips.Sheet().BoundsRect()));
  SetLenientMode(true);
  record.ChipSetName = "TampocoExiste";
  EXPECT_NO_THROW(chips.SetChipSet(&record));
  EXPECT_TRUE(chips.Sheet().IsAllTransparent(chips.Sheet().BoundsRect()));
  chips.LoadChipSetImage("Prueba");
  EXPECT_FALSE(chips.Sheet().IsAllTransparent(chips.Sheet().BoundsRect()));
  chips.Clear();
  EXPECT_EQ(chips.ChipSet(), nullptr);
  EXPECT_TRUE(chips.Sheet().IsAllTransparent(chips.Sheet().BoundsRect()));
  SetLenientMode(false);
  SetMaterialResolver({});
}

TEST(ChipSetGraphic, MaterialNamesNeverLeaveTheirFolder) {
  QTemporaryDir dir;
  const std::filesystem::path project = dir.path().toStdString();
  WriteTestChipSet(project, "A");
  EXPECT_FALSE(ResolveMaterialIn(project, "a", "ChipSet").empty());
  for (const char* bad : {"", "..", "../ChipSet/A", "x/A", "x\\A"})
    EXPECT_TRUE(ResolveMaterialIn(project, bad, "ChipSet").empty()) << bad;

  // A name from a file that is really a path reads nothing, even where a picture lies there.
  const std::string path = (project / "ChipSet" / "A.png").string();
  SetMaterialResolver({});
  SetLenientMode(true);
  TVudChipSetGraphic chips;
  chips.LoadChipSetImage(path);
  EXPECT_TRUE(chips.Sheet().IsAllTransparent(chips.Sheet().BoundsRect()));
  TVudCharSetGraphic chars;
  const TVireoSheet& sheet = chars.CharSetSheet(chars.AcquireCharSet(path));
  EXPECT_TRUE(sheet.IsAllTransparent(sheet.BoundsRect()));
  SetLenientMode(false);
}

TEST(CharSetCache, AcquireFindAndPurge) {
  SetLenientMode(true);
  TVudCharSetGraphic cache;
  for (int i = 0; i < 25; ++i) EXPECT_EQ(cache.AcquireCharSet("Chara" + std::to_string(i)), i);
  EXPECT_EQ(cache.AcquireCharSet("CHARA3"), 3);
  EXPECT_EQ(cache.IndexOfCharSet("chara24"), 24);
  EXPECT_EQ(cache.IndexOfCharSet("Otro"), -1);
  EXPECT_EQ(cache.CharSetSheet(0).Width(), 288);
  cache.ClearUseMarks();
  for (int i = 10; i < 25; ++i) cache.AcquireCharSet("Chara" + std::to_string(i));
  cache.PurgeIdle();
  EXPECT_EQ(cache.Count(), 19);
  EXPECT_EQ(cache.Name(0), "Chara6");
  EXPECT_EQ(cache.Name(18), "Chara24");
  // All idle: the walk stops below the threshold and never drops the last entry.
  for (int i = 0; i < 5; ++i) cache.AcquireCharSet("Extra" + std::to_string(i));
  cache.ClearUseMarks();
  cache.PurgeIdle();
  EXPECT_EQ(cache.Count(), 19);
  EXPECT_EQ(cache.Name(18), "Extra4");
  cache.ClearAll();
  EXPECT_EQ(cache.Count(), 0);
  SetLenientMode(false);
  EXPECT_EQ(TVudCharSetGraphic::CharacterOrigin(5).X, 72);
  EXPECT_EQ(TVudCharSetGraphic::CharacterOrigin(5).Y, 128);
}

}  // namespace
