// The tile palette: its cell tables, the drag clamp and the mouse behaviour on a real widget.
#include "ChipSelector.h"

#include "GR_ChipSet.h"
#include "LD_Map.h"
#include "MapEditTestKit.h"

#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using P = TFormChipSelector;

QApplication& app() {
  static int argc = 1;
  static char name[] = "ChipSelectorTest";
  static char* argv[] = {name, nullptr};
  static QApplication* instance = new QApplication(argc, argv);
  return *instance;
}

TEST(ChipSelectorTable, CellToTilePerMode) {
  struct Case { int mode, column, row, tile; };
  const Case cases[] = {
      {emLower, 0, 0, 49},    {emLower, 1, 0, 1049},  {emLower, 2, 0, 2049},
      {emLower, 3, 0, 3000},  {emLower, 5, 0, 3100},  {emLower, 0, 1, 4049},
      {emLower, 5, 2, 4599},  {emLower, 0, 3, 5000},  {emLower, 5, 26, 5143},
      {emUpper, 0, 0, 10000}, {emUpper, 5, 23, 10143}, {emEvents, 2, 1, 10008},
      {emLower, 6, 0, -1},    {emLower, 0, 27, -1},   {emUpper, 0, 24, -1},
      {emNone, 0, 0, -1},     {emLower, -1, 0, -1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(P::PaletteTileAt(c.mode, c.column, c.row), c.tile)
        << "mode " << c.mode << " cell " << c.column << "," << c.row;
  EXPECT_EQ(P::PaletteRows(emLower), 27);
  EXPECT_EQ(P::PaletteRows(emUpper), 24);
  EXPECT_EQ(P::PaletteRows(emNone), 0);
}

TEST(ChipSelectorTable, EveryCellIsTheInverseOfItsTile) {
  for (int mode : {emLower, emUpper, emEvents})
    for (int r = 0; r < P::PaletteRows(mode); ++r)
      for (int c = 0; c < 6; ++c)
        ASSERT_EQ(P::PaletteCellOf(mode, P::PaletteTileAt(mode, c, r)), QPoint(c, r))
            << "mode " << mode << " cell " << c << "," << r;
}

TEST(ChipSelectorTable, TileToCellForShapesAndStrayIDs) {
  struct Case { int mode, tile; QPoint cell; };
  const Case cases[] = {
      {emLower, 0, {0, 0}},       {emLower, 1023, {1, 0}},    {emLower, 2999, {2, 0}},
      {emLower, 3075, {4, 0}},    {emLower, 4049, {0, 1}},    {emLower, 4599, {5, 2}},
      {emLower, 4010, {-1, -1}},  // an autotile in an exact shape
      {emLower, 5005, {5, 3}},    {emLower, 5144, {-1, -1}},  {emLower, 10000, {-1, -1}},
      {emUpper, 10007, {1, 1}},   {emUpper, 4049, {-1, -1}},  {emUpper, 10144, {-1, -1}},
      {emNone, 10000, {-1, -1}},  {emLower, -5, {-1, -1}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(P::PaletteCellOf(c.mode, c.tile), c.cell) << "mode " << c.mode << " tile " << c.tile;
}

TEST(ChipSelectorTable, PixelsRoundTowardMinusInfinity) {
  struct Case { QPoint pixel, cell; };
  const Case cases[] = {{{0, 0}, {0, 0}},   {{31, 31}, {0, 0}},  {{32, 63}, {1, 1}},
                        {{-1, -1}, {-1, -1}}, {{-32, -33}, {-1, -2}}, {{191, 863}, {5, 26}}};
  for (const Case& c : cases) EXPECT_EQ(P::CellAtPixel(c.pixel), c.cell) << c.pixel.x() << "," << c.pixel.y();
}

TEST(ChipSelectorTable, DragClampsToGridAndSixRows) {
  struct Case { int mode; QPoint anchor, cursor; QRect sel; };
  const Case cases[] = {
      {emLower, {0, 0}, {3, 9}, QRect(0, 0, 4, 6)},     // stops at row 5
      {emLower, {2, 10}, {-4, -3}, QRect(0, 5, 3, 6)},  // left and up, clamped
      {emLower, {5, 26}, {9, 40}, QRect(5, 26, 1, 1)},  // beyond the grid's end
      {emUpper, {1, 20}, {4, 30}, QRect(1, 20, 4, 4)},  // upper grid has 24 rows
      {emEvents, {1, 1}, {4, 4}, QRect(1, 1, 1, 1)},    // event mode keeps one cell
  };
  for (const Case& c : cases) {
    const QRect r = P::DragRect(c.mode, c.anchor, c.cursor);
    EXPECT_EQ(r, c.sel) << "mode " << c.mode;
    EXPECT_LE(r.width(), 6);
    EXPECT_LE(r.height(), 6);
  }
}

class ChipSelectorWidget : public ::testing::Test {
protected:
  void SetUp() override {
    Map.SetWidth(20);
    Map.SetHeight(15);
    Palette.SetMap(&Map, nullptr);
    Palette.resize(220, 300);
    Palette.show();
    Palette.SetPaletteMode(emLower);
  }
  QPoint pixelOf(int c, int r) const { return QPoint(c * 32 + 16, r * 32 + 16); }
  void press(int c, int r, Qt::MouseButton b = Qt::LeftButton) {
    QTest::mousePress(Palette.PaintBox(), b, {}, pixelOf(c, r));
  }
  void moveTo(int c, int r) { QTest::mouseMove(Palette.PaintBox(), pixelOf(c, r)); }
  void release(Qt::MouseButton b = Qt::LeftButton) {
    QTest::mouseRelease(Palette.PaintBox(), b, {}, Palette.PaintBox()->mapFromGlobal(QCursor::pos()));
  }
  // Moves right after the press do nothing until the hold timer re-posts the cursor.
  void waitHold() {
    for (int i = 0; i < 100 && Palette.HoldTimer()->isActive(); ++i) QTest::qWait(20);
    ASSERT_FALSE(Palette.HoldTimer()->isActive());
  }

  QApplication& App = app();  // before any widget
  TVudMap Map;
  TFormChipSelector Palette;
};

TEST_F(ChipSelectorWidget, ClickGivesAutotileBrushAndReportsOnRelease) {
  QSignalSpy changed(&Palette, &TFormChipSelector::BrushChanged);
  press(0, 1);
  EXPECT_TRUE(Palette.Dragging());
  EXPECT_EQ(changed.count(), 0);
  release();
  EXPECT_EQ(changed.count(), 1);
  EXPECT_EQ(Palette.PaletteSelection(), QRect(0, 1, 1, 1));
  const TVudCurrentChip chip = Palette.SelectedBlock();
  EXPECT_EQ(chip.Width, 1);
  EXPECT_EQ(chip.At(0, 0), 4049);
}

TEST_F(ChipSelectorWidget, DragStopsAtSixRowsAndGivesTheBlock) {
  press(1, 0);
  moveTo(2, 9);
  EXPECT_EQ(Palette.PaletteSelection(), QRect(1, 0, 1, 1)) << "moves during the hold are ignored";
  waitHold();
  EXPECT_EQ(Palette.PaletteSelection(), QRect(1, 0, 2, 6));
  release();
  const TVudCurrentChip chip = Palette.SelectedBlock();
  ASSERT_EQ(chip.Width, 2);
  ASSERT_EQ(chip.Height, 6);
  EXPECT_EQ(chip.At(0, 0), 1049);
  EXPECT_EQ(chip.At(1, 0), 2049);
  EXPECT_EQ(chip.At(1, 5), 5000 + 2 + 6 * 5 - 18);
}

TEST_F(ChipSelectorWidget, EventModeDragKeepsOneCell) {
  Palette.SetPaletteMode(emEvents);
  press(2, 2);
  moveTo(4, 5);
  waitHold();
  release();
  EXPECT_EQ(Palette.PaletteSelection(), QRect(2, 2, 1, 1));
  EXPECT_EQ(Palette.SelectedBlock().At(0, 0), 10014);
}

TEST_F(ChipSelectorWidget, AnotherButtonCancelsTheDrag) {
  Palette.SelectPaletteRect(QRect(3, 3, 2, 2));
  QSignalSpy changed(&Palette, &TFormChipSelector::BrushChanged);
  press(0, 0);
  waitHold();
  moveTo(1, 2);
  press(1, 2, Qt::RightButton);
  EXPECT_FALSE(Palette.Dragging());
  EXPECT_EQ(Palette.PaletteSelection(), QRect(3, 3, 2, 2));
  release();
  EXPECT_EQ(changed.count(), 0);
}

TEST_F(ChipSelectorWidget, EachModeKeepsItsSelectionAndScroll) {
  QSignalSpy changed(&Palette, &TFormChipSelector::BrushChanged);
  Palette.SelectPaletteRect(QRect(0, 10, 2, 2));
  Palette.ScrollFrame()->verticalScrollBar()->setValue(200);
  const int lowerScroll = Palette.ScrollPosition();
  ASSERT_GT(lowerScroll, 0);
  Palette.SetPaletteMode(emUpper);
  EXPECT_EQ(changed.count(), 1);
  EXPECT_EQ(Palette.PaletteSelection(), QRect(0, 0, 1, 1));
  EXPECT_EQ(Palette.ScrollPosition(), 0);
  Palette.SelectPaletteRect(QRect(4, 1, 1, 1));
  Palette.SetPaletteMode(emUpper);
  EXPECT_EQ(changed.count(), 1) << "same mode is a no-op";
  Palette.SetPaletteMode(emLower);
  EXPECT_EQ(Palette.PaletteSelection(), QRect(0, 10, 2, 2));
  EXPECT_EQ(Palette.ScrollPosition(), lowerScroll);
  Palette.SetPaletteMode(emUpper);
  EXPECT_EQ(Palette.PaletteSelection(), QRect(4, 1, 1, 1));
}

TEST_F(ChipSelectorWidget, PickedTilesShowTheirCell) {
  Palette.ShowTile(1023);  // water B in some shape
  EXPECT_EQ(Palette.PaletteSelection(), QRect(1, 0, 1, 1));
  Palette.ShowTile(4010);  // autotile in an exact shape: nothing selected
  EXPECT_EQ(Palette.PaletteSelection().x(), -1);
  Palette.ResetPalette();
  EXPECT_EQ(Palette.PaletteMode(), emNone);
  Palette.SetPaletteMode(emLower);
  EXPECT_EQ(Palette.PaletteSelection(), QRect(0, 0, 1, 1));
}

TEST_F(ChipSelectorWidget, WheelScrollsSixteenPixelsPerNotch) {
  QWidget* vp = Palette.ScrollFrame()->viewport();
  QWheelEvent wheel(QPointF(20, 20), vp->mapToGlobal(QPointF(20, 20)), {}, QPoint(0, -240),
                    Qt::NoButton, {}, Qt::NoScrollPhase, false);
  QApplication::sendEvent(vp, &wheel);
  EXPECT_EQ(Palette.ScrollPosition(), 32);
}

TEST_F(ChipSelectorWidget, NoMapNoGridAndClicksIgnored) {
  TVudMap none;
  Palette.SetMap(&none, nullptr);
  Palette.RefreshPalette();
  EXPECT_EQ(Palette.PaintBox()->height(), 0);
  QSignalSpy changed(&Palette, &TFormChipSelector::BrushChanged);
  QTest::mousePress(Palette.ScrollFrame()->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_FALSE(Palette.Dragging());
}

TEST_F(ChipSelectorWidget, DrawsTheTilesWithTheTileSet) {
  QTemporaryDir dir;
  const auto file = WriteTestChipSet(dir.path().toStdString(), "Test");
  TVudChipSetGraphic chips;
  chips.LoadChipSetFile(file, "Test");
  Map.ChipSetID = 1;
  Palette.SetMap(&Map, &chips);
  Palette.RefreshPalette();
  QApplication::processEvents();
  EXPECT_EQ(Palette.ScrollFrame()->size(), Palette.size()) << "the frame fills the form";
  const QImage shot = Palette.PaintBox()->grab().toImage();
  ASSERT_EQ(shot.height(), 27 * 32);
  // Cells differ from each other (they are drawn) and the frame sits on the first cell.
  EXPECT_NE(shot.pixel(48, 48), shot.pixel(48 + 64, 48 + 96));
  EXPECT_EQ(QColor(shot.pixel(0, 0)), QColor(Qt::black));
}

}  // namespace

namespace {

// Writes a picture of the lower palette when TF_PALETTE_SHOT names the file and
// TF_PALETTE_CHIPSET a tile set picture (run under Xvfb for the documentation).
TEST_F(ChipSelectorWidget, Screenshot) {
  const QByteArray shot = qgetenv("TF_PALETTE_SHOT"), set = qgetenv("TF_PALETTE_CHIPSET");
  if (shot.isEmpty() || set.isEmpty()) GTEST_SKIP() << "no screenshot asked for";
  TVudChipSetGraphic chips;
  chips.LoadChipSetFile(set.toStdString(), "Palette");
  Map.ChipSetID = 1;
  Palette.SetMap(&Map, &chips);
  Palette.resize(192 + 20, 420);
  Palette.RefreshPalette();
  Palette.SelectPaletteRect(QRect(1, 3, 3, 2));
  QApplication::processEvents();
  ASSERT_TRUE(Palette.grab().save(QString::fromLocal8Bit(shot)));
}

}  // namespace
