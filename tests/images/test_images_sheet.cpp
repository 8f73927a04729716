// Sheets, colour controls and the board: colour math, hue, blending, clipping, scaling.
#include "ImageTestUtil.h"
#include "VireoImageFile.h"
#include "VireoSheet.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace {

std::uint16_t rgb565(int r, int g, int b) {
  return std::uint16_t(r << 11 | g << 5 | b);
}

struct TColorCase {
  const char* Name;
  TVireoPaletteEntry Color;
  int Red1, Green1, Blue1, Sat1;  // ColorControl1 levels
  int Red2, Sat2;                 // ColorControl2 red level and saturation
  int TintR, TintG, TintB, TintLevel;
  int Brightness;
  std::uint16_t Expected;
};

TEST(VireoColorTable, AdjustmentsFollowTheLevelSaturationTintBrightnessOrder) {
  const TColorCase cases[] = {
      {"neutral white", {255, 255, 255, 0}, 100, 100, 100, 100, 100, 100, 0, 0, 0, 0, 100,
       0xFFFF},
      // y = (3*25 + 3*25 + 5) / 10 = 15; green counts twice on its 6-bit scale
      {"saturation 0 greys", {200, 100, 40, 0}, 100, 100, 100, 0, 100, 100, 0, 0, 0, 0, 100,
       rgb565(15, 30, 15)},
      {"saturation 200 doubles", {200, 100, 40, 0}, 100, 100, 100, 200, 100, 100, 0, 0, 0, 0,
       100, rgb565(31, 15, 0)},
      {"red level 200 drives red to 31", {64, 64, 64, 0}, 200, 100, 100, 100, 100, 100, 0, 0, 0,
       0, 100, rgb565(31, 16, 8)},
      {"red level 50 halves", {64, 64, 64, 0}, 50, 100, 100, 100, 100, 100, 0, 0, 0, 0, 100,
       rgb565(4, 16, 8)},
      {"controls add around 100", {64, 64, 64, 0}, 50, 100, 100, 100, 50, 100, 0, 0, 0, 0, 100,
       rgb565(0, 16, 8)},
      {"saturations add around 100", {200, 100, 40, 0}, 100, 100, 100, 50, 100, 50, 0, 0, 0, 0,
       100, rgb565(15, 30, 15)},
      {"half tint on black", {0, 0, 0, 0}, 100, 100, 100, 100, 100, 100, 31, 0, 0, 16, 100,
       rgb565(15, 0, 0)},
      {"full tint replaces", {90, 200, 7, 0}, 100, 100, 100, 100, 100, 100, 10, 20, 30, 32, 100,
       rgb565(10, 40, 30)},
      {"brightness 50", {255, 255, 255, 0}, 100, 100, 100, 100, 100, 100, 0, 0, 0, 0, 50,
       rgb565(15, 31, 15)},
      {"brightness 200 on black", {0, 0, 0, 0}, 100, 100, 100, 100, 100, 100, 0, 0, 0, 0, 200,
       0xFFFF},
  };
  for (const TColorCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TVireoSheet sheet;
    for (auto& e : sheet.Palette) e = c.Color;  // index 0 is computed like the others
    sheet.ColorControl1.SetAll(c.Red1, c.Green1, c.Blue1, c.Sat1, c.TintR, c.TintG, c.TintB,
                               c.TintLevel, false);
    sheet.ColorControl2.SetColor(c.Red2, 100, 100, c.Sat2, false);
    sheet.SetBrightness(c.Brightness);
    sheet.UpdateColorTable();
    EXPECT_EQ(sheet.ColorTable[0], c.Expected);
    EXPECT_EQ(sheet.ColorTable[255], c.Expected);
  }
}

TEST(VireoColorTable, SettersSkipTheRebuildWhenNothingChanges) {
  TVireoSheet sheet;
  sheet.Palette[3] = {255, 255, 255, 0};
  sheet.UpdateColorTable();
  sheet.ColorTable[3] = 1234;  // a rebuild would overwrite this
  sheet.ColorControl1.SetColor(100, 100, 100, 100, true);
  sheet.ColorControl2.Reset(true);
  EXPECT_EQ(sheet.ColorTable[3], 1234);
  sheet.ColorControl1.SetTint(0, 0, 0, 0, true);
  EXPECT_EQ(sheet.ColorTable[3], 1234);
  sheet.ColorControl1.SetColor(100, 100, 100, 99, false);  // stored, no rebuild yet
  EXPECT_EQ(sheet.ColorTable[3], 1234);
  EXPECT_EQ(sheet.ColorControl1.Saturation(), 99);
  sheet.ColorControl1.SetColor(100, 100, 100, 100, true);
  EXPECT_EQ(sheet.ColorTable[3], 0xFFFF);
}

TEST(VireoColorTable, OutOfRangeControlValuesAreKeptInRange) {
  TVireoSheet sheet;
  sheet.Palette[1] = {255, 255, 255, 0};
  // A tint level above 32 would give negative weights and spill into other channels.
  sheet.ColorControl1.SetAll(500, -20, 100, 100, 99, 99, 99, 99, true);
  EXPECT_EQ(sheet.ColorControl1.Red(), 200);
  EXPECT_EQ(sheet.ColorControl1.Green(), 0);
  EXPECT_EQ(sheet.ColorControl1.TintLevel(), 32);
  EXPECT_EQ(sheet.ColorTable[1], rgb565(31, 62, 31));
}

TEST(VireoHue, RotationTable) {
  struct {
    TVireoPaletteEntry In;
    int Degrees;
    TVireoPaletteEntry Out;
  } cases[] = {
      {{255, 0, 0, 0}, 0, {255, 0, 0, 0}},
      {{255, 0, 0, 0}, 120, {0, 255, 0, 0}},
      {{255, 0, 0, 0}, 240, {0, 0, 255, 0}},
      {{255, 0, 0, 0}, -120, {0, 0, 255, 0}},  // negative turns wrap like positive ones
      {{255, 0, 0, 0}, 360 + 120, {0, 255, 0, 0}},
      {{128, 128, 128, 0}, 77, {128, 128, 128, 0}},
      {{0, 0, 0, 0}, 90, {0, 0, 0, 0}},
      // V 200, S 191, H 20 -> 50: sector 0, x = round(5/6 * 149.8) = 125, m = 50.2
      {{200, 100, 50, 0}, 30, {200, 175, 50, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Degrees);
    TVireoSheet sheet;
    sheet.Palette[0] = {255, 0, 0, 0};
    sheet.Palette[1] = c.In;
    sheet.RotateHue(c.Degrees);
    EXPECT_EQ(sheet.Palette[1], c.Out);
    EXPECT_EQ(sheet.Palette[0], (TVireoPaletteEntry{255, 0, 0, 0}));  // entry 0 never turns
  }
}

TEST(VireoHue, TableIsRebuiltAfterRotating) {
  TVireoSheet sheet;
  sheet.Palette[1] = {255, 0, 0, 0};
  sheet.UpdateColorTable();
  sheet.RotateHue(120);
  EXPECT_EQ(sheet.ColorTable[1], rgb565(0, 63, 0));
}

// A sheet whose pixel at (x, y) is 1 + x + 10 * y (small sizes); the colours of indices
// 0..63 are distinct and never black.
void fillNumbered(TVireoSheet& sheet, int w, int h) {
  sheet.SetSize(w, h);
  for (int i = 0; i < 256; ++i) sheet.Palette[i] = {255, std::uint8_t(4 * i), 0, 0};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) sheet.ScanLine(y)[x] = std::uint8_t(1 + x + 10 * y);
  sheet.UpdateColorTable();
}

TEST(VireoBoardDraw, OpacityBlendsWithTheFixedWeights) {
  TVireoSheet sheet;
  sheet.SetSize(1, 1);
  sheet.Palette[0] = {255, 255, 255, 0};
  sheet.UpdateColorTable();
  sheet.Opacity = 128;
  TVireoBoard board;
  board.SetSize(1, 1);
  board.DrawSheet(0, 0, sheet.BoundsRect(), sheet);
  // (129 * 31) >> 8 = 15 for red and blue, (129 * 63) >> 8 = 31 for green
  EXPECT_EQ(board.ScanLine(0)[0], rgb565(15, 31, 15));
}

TEST(VireoBoardDraw, BlendMatchesThePerChannelFormulaForEveryOpacity) {
  std::mt19937 random(3);
  TVireoSheet sheet;
  sheet.SetSize(256, 4);
  for (auto& e : sheet.Palette)
    e = {std::uint8_t(random()), std::uint8_t(random()), std::uint8_t(random()), 0};
  sheet.UpdateColorTable();
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 256; ++x) sheet.ScanLine(y)[x] = std::uint8_t(x);
  for (int a = 0; a < 255; ++a) {
    TVireoBoard board;
    board.SetSize(256, 4);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 256; ++x) board.ScanLine(y)[x] = std::uint16_t(random());
    TVireoBoard before;
    before.SetSize(256, 4);
    before.CopyRect(0, 0, {0, 0, 256, 4}, board);
    sheet.Opacity = a;
    board.DrawSheet(0, 0, sheet.BoundsRect(), sheet);
    const int s = a + 1, d = 256 - a;
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 256; ++x) {
        const int src = sheet.ColorTable[x], dst = before.ScanLine(y)[x];
        const int r = ((src >> 11) * s + (dst >> 11) * d) >> 8;
        const int g = (((src >> 5) & 63) * s + ((dst >> 5) & 63) * d) >> 8;
        const int b = ((src & 31) * s + (dst & 31) * d) >> 8;
        ASSERT_EQ(board.ScanLine(y)[x], rgb565(r, g, b)) << a << " " << x;
      }
  }
}

TEST(VireoBoardDraw, TransparentAndOpaqueModes) {
  TVireoSheet sheet;
  sheet.SetSize(2, 1);
  sheet.Palette[0] = {255, 0, 0, 0};
  sheet.Palette[1] = {0, 0, 255, 0};
  sheet.ScanLine(0)[1] = 1;
  sheet.UpdateColorTable();
  const std::uint16_t under = rgb565(0, 63, 0);
  for (bool transparent : {false, true})
    for (int opacity : {255, 0}) {
      SCOPED_TRACE(testing::Message() << transparent << " " << opacity);
      TVireoBoard board;
      board.SetSize(2, 1);
      board.ScanLine(0)[0] = board.ScanLine(0)[1] = under;
      sheet.Transparent = transparent;
      sheet.Opacity = opacity;
      board.DrawSheet(0, 0, sheet.BoundsRect(), sheet);
      // Opacity 0 still weighs the source 1/256: (1 * 31) >> 8 = 0, (256 * 63) >> 8 = 63.
      const std::uint16_t red = opacity == 255 ? rgb565(31, 0, 0) : under;
      const std::uint16_t blue = opacity == 255 ? rgb565(0, 0, 31) : under;
      EXPECT_EQ(board.ScanLine(0)[0], transparent ? under : red);
      EXPECT_EQ(board.ScanLine(0)[1], blue);
    }
}

TEST(VireoBoardDraw, UnscaledClippingOnBothSurfaces) {
  TVireoSheet sheet;
  fillNumbered(sheet, 20, 3);
  struct {
    int X, Y;
    TVireoRect Src;
    int FirstBoardX, FirstSheetX, Columns, FirstBoardY, FirstSheetY, Rows;
  } cases[] = {
      {-10, 0, {0, 0, 20, 3}, 0, 10, 10, 0, 0, 3},   // columns from 10 on, at board column 0
      {5, -2, {0, 0, 20, 3}, 5, 0, 11, 0, 2, 1},     // cut at the board's right edge
      {0, 0, {-3, -1, 4, 2}, 3, 0, 4, 1, 0, 2},      // source edges before the sheet
      {2, 1, {15, 0, 40, 9}, 2, 15, 5, 1, 0, 3},     // source beyond the sheet
      {16, 0, {0, 0, 20, 3}, 0, 0, 0, 0, 0, 0},      // nothing visible
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.X << "," << c.Y);
    TVireoBoard board;
    board.SetSize(16, 4);
    board.DrawSheet(c.X, c.Y, c.Src, sheet);
    int drawn = 0;
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 16; ++x)
        if (board.ScanLine(y)[x] != 0) ++drawn;
    EXPECT_EQ(drawn, c.Columns * c.Rows);
    if (c.Columns > 0) {
      const int index = 1 + c.FirstSheetX + 10 * c.FirstSheetY;
      EXPECT_EQ(board.ScanLine(c.FirstBoardY)[c.FirstBoardX], sheet.ColorTable[index]);
    }
  }
}

TEST(VireoBoardDraw, CopyRectClipsAndHandlesOverlap) {
  TVireoBoard board;
  board.SetSize(5, 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 5; ++x) board.ScanLine(y)[x] = std::uint16_t(x + 10 * y);
  board.CopyRect(1, 1, {0, 0, 5, 5}, board);  // overlapping move down-right
  EXPECT_EQ(board.ScanLine(0)[0], 0);
  EXPECT_EQ(board.ScanLine(1)[1], 0);
  EXPECT_EQ(board.ScanLine(4)[4], 33);
  TVireoBoard target;
  target.SetSize(3, 3);
  target.CopyRect(-2, -1, {0, 0, 5, 5}, board);
  EXPECT_EQ(target.ScanLine(0)[0], board.ScanLine(1)[2]);
  EXPECT_EQ(target.ScanLine(2)[2], board.ScanLine(3)[4]);
}

TEST(VireoBoardDraw, StretchScalesByNearestNeighbourWithoutShiftingWhenClipped) {
  TVireoSheet sheet;
  fillNumbered(sheet, 4, 2);
  TVireoBoard board;
  board.SetSize(8, 4);
  board.StretchSheet({0, 0, 8, 4}, sheet, sheet.BoundsRect());
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x)
      ASSERT_EQ(board.ScanLine(y)[x], sheet.ColorTable[1 + x / 2 + 10 * (y / 2)]) << x << "," << y;
  // Half of the picture hangs off the left edge: the visible part keeps its place.
  TVireoBoard clipped;
  clipped.SetSize(8, 4);
  clipped.StretchSheet({-3, -1, 5, 3}, sheet, sheet.BoundsRect());
  EXPECT_EQ(clipped.ScanLine(0)[0], sheet.ColorTable[1 + 1 + 0]);  // dest x -3 + 3 -> source 1
  EXPECT_EQ(clipped.ScanLine(0)[1], sheet.ColorTable[1 + 2 + 0]);
  EXPECT_EQ(clipped.ScanLine(1)[0], sheet.ColorTable[1 + 1 + 10]);
  EXPECT_EQ(clipped.ScanLine(0)[5], 0);
  // A source rectangle reaching past the sheet draws only what maps onto real pixels.
  TVireoBoard past;
  past.SetSize(8, 4);
  past.StretchSheet({0, 0, 8, 2}, sheet, {2, 0, 6, 1});
  EXPECT_EQ(past.ScanLine(0)[3], sheet.ColorTable[1 + 3]);
  EXPECT_EQ(past.ScanLine(0)[4], 0);
}

TEST(VireoBoardDraw, ZoomedDrawing) {
  TVireoSheet sheet;
  fillNumbered(sheet, 4, 4);
  TVireoBoard board;
  board.SetSize(16, 16);
  board.DrawSheetZoomed(8, 8, 1.0, 2, 2, sheet.BoundsRect(), sheet);
  EXPECT_EQ(board.ScanLine(6)[6], sheet.ColorTable[1]);
  EXPECT_EQ(board.ScanLine(5)[5], 0);
  board.Clear();
  board.DrawSheetZoomed(8, 8, 2.0, 2, 2, sheet.BoundsRect(), sheet);
  EXPECT_EQ(board.ScanLine(4)[4], sheet.ColorTable[1]);
  EXPECT_EQ(board.ScanLine(11)[11], sheet.ColorTable[1 + 3 + 30]);
  EXPECT_EQ(board.ScanLine(12)[12], 0);
}

TEST(VireoBoardDraw, BoardBrightnessIsHandedToTheSheet) {
  TVireoSheet sheet;
  sheet.SetSize(1, 1);
  sheet.Palette[0] = {255, 255, 255, 0};
  sheet.UpdateColorTable();
  TVireoBoard board;
  board.SetSize(1, 1);
  board.Brightness = 50;
  board.DrawSheet(0, 0, sheet.BoundsRect(), sheet);
  EXPECT_EQ(sheet.Brightness(), 50);
  EXPECT_EQ(board.ScanLine(0)[0], rgb565(15, 31, 15));
}

TEST(VireoBoard, RowsAreAlignedForWrapping) {
  TVireoBoard board;
  board.SetSize(3, 1);
  EXPECT_EQ(board.BytesPerLine(), 8);
  EXPECT_EQ(board.Stride(), 0);  // fewer than 2 rows
  board.SetSize(3, 2);
  EXPECT_EQ(board.Stride(), 8);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(board.Bits()) % 4, 0u);
  board.ScanLine(1)[2] = 7;
  board.SetSize(3, 2);  // same size: cleared
  EXPECT_EQ(board.ScanLine(1)[2], 0);
}

TEST(VireoSheetBasics, SizeMirrorAndContentQueries) {
  TVireoSheet sheet;
  fillNumbered(sheet, 5, 2);
  sheet.SetSize(5, 2);  // same size keeps the pixels
  EXPECT_EQ(sheet.ScanLine(1)[4], 15);
  sheet.MirrorHorizontally();
  EXPECT_EQ(sheet.ScanLine(1)[0], 15);
  EXPECT_EQ(sheet.ScanLine(1)[2], 13);  // the middle one stays
  EXPECT_TRUE(sheet.SameContent({0, 0, 2, 1}, {0, 0, 2, 1}));
  EXPECT_FALSE(sheet.SameContent({0, 0, 2, 1}, {1, 0, 3, 1}));
  EXPECT_FALSE(sheet.SameContent({0, 0, 2, 1}, {0, 0, 3, 1}));
  EXPECT_TRUE(sheet.SameContent({3, 3, 3, 3}, {0, 0, 0, 0}));
  EXPECT_FALSE(sheet.SameContent({4, 0, 6, 1}, {0, 0, 2, 1}));  // reaches outside
  sheet.ScanLine(0)[0] = 0;
  EXPECT_TRUE(sheet.IsAllTransparent({2, 2, 2, 2}));
  EXPECT_TRUE(sheet.IsAllOpaque({2, 2, 2, 2}));
  EXPECT_TRUE(sheet.IsAllTransparent({-5, -5, 1, 1}));
  EXPECT_FALSE(sheet.IsAllOpaque({0, 0, 2, 2}));
  EXPECT_TRUE(sheet.IsAllOpaque({1, 0, 50, 50}));
  sheet.Clear();
  EXPECT_EQ(sheet.Width(), 5);
  EXPECT_EQ(sheet.Palette[7], TVireoPaletteEntry{});
  sheet.SetSize(2, 2);
  EXPECT_EQ(sheet.ScanLine(1)[1], 0);
  sheet.FreeImage();
  EXPECT_EQ(sheet.Pixels(), nullptr);
  EXPECT_EQ(sheet.BoundsRect(), (TVireoRect{0, 0, 0, 0}));
}

TVireoBitmap numberedBitmap(int w, int h, int bits = 8) {
  TVireoBitmap b(w, h, bits);
  if (bits == 8)
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) b.ScanLine(y)[x] = std::uint8_t((x + 3 * y) % 255 + 1);
  if (bits == 8) b.Palette[9] = {1, 2, 3, 0};
  return b;
}

TEST(VireoSheetLoad, CopiesWhatFitsFromTheOrigin) {
  const TVireoBitmap bitmap = numberedBitmap(300, 200);
  TVireoSheet sheet;
  sheet.SetSize(256, 256);
  sheet.LoadFromBitmap(bitmap);
  EXPECT_EQ(sheet.ScanLine(199)[255], bitmap.ScanLine(199)[255]);
  EXPECT_TRUE(sheet.IsAllTransparent({0, 200, 256, 256}));
  EXPECT_EQ(sheet.Palette[9], (TVireoPaletteEntry{1, 2, 3, 0}));

  sheet.AutoSize = true;
  sheet.LoadFromBitmap(bitmap, {10, 20});
  EXPECT_EQ(sheet.Width(), 300);
  EXPECT_EQ(sheet.ScanLine(0)[0], bitmap.ScanLine(20)[10]);
  EXPECT_TRUE(sheet.IsAllTransparent({290, 0, 300, 200}));
}

TEST(VireoSheetLoad, NegativeOriginIsClippedNotReadBeforeTheBitmap) {
  const TVireoBitmap bitmap = numberedBitmap(10, 10);
  TVireoSheet sheet;
  sheet.SetSize(10, 10);
  sheet.LoadFromBitmap(bitmap, {-3, -2});
  EXPECT_EQ(sheet.ScanLine(2)[3], bitmap.ScanLine(0)[0]);
  EXPECT_EQ(sheet.ScanLine(9)[9], bitmap.ScanLine(7)[6]);
  EXPECT_TRUE(sheet.IsAllTransparent({0, 0, 10, 2}));
}

TEST(VireoSheetLoad, OnlyEightBitPicturesAndErrorsOnRequest) {
  TVireoSheet sheet;
  sheet.SetSize(4, 4);
  const TVireoBitmap truecolour(4, 4, 24);
  try {
    sheet.LoadFromBitmap(truecolour);
    FAIL();
  } catch (const EVireoError& e) {
    EXPECT_STREQ(e.what(), "Formato de imagen no válido");
  }
  const TTestDir dir;
  SaveImageFile(truecolour, dir / "true.png");
  sheet.Palette[5] = {9, 9, 9, 0};
  sheet.LoadFromFile(dir / "true.png", false);
  EXPECT_EQ(sheet.Palette[5], TVireoPaletteEntry{});  // left cleared
  EXPECT_THROW(sheet.LoadFromFile(dir / "true.png", true), EVireoError);
  EXPECT_THROW(sheet.LoadFromFile(dir / "missing.png", true), EVireoFileError);
  sheet.LoadFromFile("", true);  // no name: just cleared
  SaveImageFile(numberedBitmap(4, 4), dir / "ok.xyz");
  sheet.LoadFromFile(dir / "ok.xyz", true);
  EXPECT_EQ(sheet.Palette[9], (TVireoPaletteEntry{1, 2, 3, 0}));
  EXPECT_EQ(sheet.ToBitmap().ScanLine(3)[2], numberedBitmap(4, 4).ScanLine(3)[2]);
}

TEST(VireoColorBar, PaintsEightPiecesAndFollowsTheLevels) {
  TColorBar bar;
  TVireoBoard board;
  bar.Paint(board);
  EXPECT_EQ(board.Width(), 360);
  EXPECT_EQ(board.Height(), 96);
  auto red = [](std::uint16_t c) { return c >> 11; };
  auto green = [](std::uint16_t c) { return (c >> 5) & 63; };
  const std::uint16_t left = board.ScanLine(8)[0], third = board.ScanLine(8)[120];
  EXPECT_GT(red(left), 25);    // red at the left end
  EXPECT_GT(green(third), 50); // green a third of the way
  EXPECT_LT(red(board.ScanLine(0)[0]), red(left));  // darker at the top
  EXPECT_EQ(board.ScanLine(50)[10], 0);             // below the strip
  bar.SetLevels(100, 100, 100, 0);
  bar.Paint(board);
  for (int x = 0; x < 360; x += 7) {
    const std::uint16_t c = board.ScanLine(5)[x];
    EXPECT_EQ(red(c), c & 31);  // grey: red and blue equal
  }
}

}  // namespace
