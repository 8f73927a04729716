// The map view and its two pickers, offscreen: layout, scroll geometry, zoom keeping the
// centre, drawing only what changed, and what the pickers return.
#include "AreaMaker.h"
#include "LD_MapTree.h"
#include "MapDraw.h"
#include "MapEditTestKit.h"
#include "MapPosSetter.h"
#include "MapViewer.h"
#include "VireoImageFile.h"

#include <QApplication>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>
#include <cstring>
#include <gtest/gtest.h>

namespace {

const std::filesystem::path kTileSet = std::filesystem::path(TF_TEST_DATA) / "mapedit" / "TestChipSet.png";

QApplication& app() {
  static int argc = 1;
  static char name[] = "test_mapedit_viewer";
  static char* argv[] = {name, nullptr};
  // Never destroyed: tearing Qt down during static destruction crashes.
  static QApplication* instance = new QApplication(argc, argv);
  return *instance;
}
// Widgets in the fixtures are built before SetUp runs: the application must exist first. Not
// at program start, though: listing the tests must work without any display.
struct TAppGuard {
  TAppGuard() { app(); }
};

// Counts the cells each redraw touches.
template <class Base>
class TCounting : public Base {
public:
  int Drawn = 0;
  std::vector<QPoint> Cells;
  void DrawCell(int column, int row) override {
    ++Drawn;
    Cells.emplace_back(column, row);
    Base::DrawCell(column, row);
  }
};

template <class TView>
class ViewerTest : public ::testing::Test {
protected:
  void SetUp() override {
    Tree.ActiveMapID = 1;
    Item = Tree.AddMap(0, 1);
    Map.ID = 1;
  }
  void open(int width, int height, QSize client) {
    MakeSampleMap(Map, width, height);
    View.ChipSetGraphic().LoadChipSetFile(kTileSet, "TestChipSet");
    View.SetMapTree(&Tree);
    View.SetMap(&Map);
    View.resize(client);
    View.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&View));
    // Grow the widget until its client has the wanted size (scroll bars take some of it).
    for (int i = 0; i < 3 && View.ClientSize() != client; ++i)
      View.resize(View.size() + (client - View.ClientSize()));
    View.ReloadMap();
    ASSERT_EQ(View.ClientSize(), client);
  }
  void paint() {
    View.PaintBox()->repaint();
  }
  TAppGuard Guard;
  TVudMapTree Tree;
  TVudMapTreeItem* Item = nullptr;
  TVudMap Map;
  TView View;
};

using MapViewer = ViewerTest<TCounting<TFormMapViewer>>;

TEST_F(MapViewer, SmallMapIsCentredAndCannotScroll) {
  open(20, 15, {1000, 800});
  EXPECT_EQ(View.PictureRect(), QRect(180, 160, 640, 480));
  EXPECT_EQ(View.MapFrame()->horizontalScrollBar()->maximum(), 0);
  EXPECT_EQ(View.MapFrame()->verticalScrollBar()->maximum(), 0);
  View.SetScrollPos(50, 50);
  EXPECT_EQ(View.ScrollPos(), QPoint(0, 0));
  EXPECT_EQ(View.CellAt({-1, 0}), QPoint(-1, 0));
  EXPECT_EQ(View.CellAt({33, 95}), QPoint(1, 2));
  EXPECT_EQ(View.NearestGridPoint({47, 48}), QPoint(1, 2));
}

TEST_F(MapViewer, ZoomKeepsTheStoredCentre) {
  Item->ScrollX = 320;
  Item->ScrollY = 0;
  open(100, 100, {400, 300});
  EXPECT_EQ(View.ScrollPos(), QPoint(320, 0));  // the stored point stays centred at 32
  View.SetCellSize(16);
  EXPECT_EQ(View.ScrollPos().x(), (200 + 320) * 16 / 32 - 200);  // 60
  EXPECT_EQ(View.ScrollPos().y(), 0);  // (150 + 0) / 2 - 150 < 0: clamped
  int calls = 0;
  View.OnScaleChanged = [&](TFormMapViewer*) { ++calls; };
  View.SetCellSize(16);  // unchanged: no-op
  EXPECT_EQ(calls, 0);
  View.SetCellSize(32);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(View.ScrollPos().x(), 320);
  View.SetCellSize(5);  // not a zoom level
  EXPECT_EQ(View.CellSize(), 32);
}

TEST_F(MapViewer, ScrollBarsWriteTheStoredOffsets) {
  open(100, 100, {400, 300});
  View.SetScrollPos(100, 40);
  EXPECT_EQ(Item->ScrollX, 100);
  EXPECT_EQ(Item->ScrollY, 40);
  View.SetCellSize(8);
  const QPoint before = View.ScrollPos();
  const int storedX = Item->ScrollX;
  View.SetScrollPos(before.x() + 10, before.y());
  EXPECT_EQ(Item->ScrollX, storedX + 10 * 32 / 8);
  // Layout never writes them: reloading with the keep flag leaves them alone.
  View.KeepPosition = true;
  const int kept = Item->ScrollX;
  View.ReloadMap();
  EXPECT_EQ(Item->ScrollX, kept);
}

TEST_F(MapViewer, ScrollingCopiesAndRedrawsOnlyTheExposedStrip) {
  open(100, 100, {640, 480});  // 20 × 15 visible cells
  paint();
  View.Drawn = 0;
  View.SetScrollPos(32, 0);
  paint();
  EXPECT_EQ(View.Drawn, 15);  // one new column
  View.Drawn = 0;
  View.SetScrollPos(40, 8);
  paint();
  EXPECT_LE(View.Drawn, 21 + 16);  // a partial column and a partial row
  // The copied picture equals a fresh full drawing at the same place.
  TVireoBoard copy;
  copy.SetSize(640, 480);
  copy.CopyRect(0, 0, {0, 0, 640, 480}, View.FrontBoard());
  View.RedrawAll();
  for (int y = 0; y < 480; ++y)
    ASSERT_EQ(std::memcmp(copy.ScanLine(y), View.FrontBoard().ScanLine(y), 640 * 2), 0) << y;
}

TEST_F(MapViewer, InvalidatedCellsAreTheOnlyOnesRedrawn) {
  open(10, 10, {640, 480});
  paint();
  View.Drawn = 0;
  View.Cells.clear();
  Map.LowerLayer.Set(4, 4, 5010);
  View.InvalidateCells(QRect(4, 4, 1, 1));
  paint();
  EXPECT_EQ(View.Drawn, 1);
  // On a map looping horizontally the copy beyond the edge is redrawn too.
  Map.SetScrollType(2);
  View.Cells.clear();
  View.InvalidateCells(QRect(-1, 2, 2, 1));
  paint();
  std::sort(View.Cells.begin(), View.Cells.end(),
            [](QPoint a, QPoint b) { return a.x() < b.x(); });
  EXPECT_EQ(View.Cells, (std::vector<QPoint>{{0, 2}, {9, 2}}));
}

TEST_F(MapViewer, NoMapOrAnEmptyMapShowsNothing) {
  View.resize(300, 200);
  View.show();
  View.ReloadMap();  // no map assigned yet
  EXPECT_TRUE(View.PictureRect().isEmpty());
  open(20, 15, {300, 200});
  Map.Unload();
  View.ReloadMap();
  paint();
  EXPECT_TRUE(View.PictureRect().isEmpty());
  EXPECT_EQ(View.ScrollPos(), QPoint(0, 0));
}

TEST_F(MapViewer, EventChangesRedrawTheirMarkers) {
  open(20, 15, {640, 480});
  const std::uint16_t before = View.FrontBoard().ScanLine(7 * 32 + 16)[4 * 32 + 16];
  TVudEventItem* e = Map.Events.Obtain(3);
  e->X = 4, e->Y = 7;
  View.EventsChanged();
  EXPECT_EQ(View.EventMap().EventAt(4, 7), 3);
  EXPECT_NE(View.FrontBoard().ScanLine(7 * 32 + 16)[4 * 32 + 16], before);
}

TEST_F(MapViewer, MiddleButtonPansAndGivesTheFrameFocus) {
  open(100, 100, {400, 300});
  View.SetScrollPos(200, 200);
  QWidget* box = View.PaintBox();
  QTest::mousePress(box, Qt::MiddleButton, {}, QPoint(100, 100));
  QTest::mouseMove(box, QPoint(60, 130));
  EXPECT_EQ(View.ScrollPos(), QPoint(240, 170));
  QTest::mouseRelease(box, Qt::MiddleButton, {}, QPoint(60, 130));
  EXPECT_EQ(QApplication::focusWidget(), View.MapFrame());
  QTest::mouseMove(box, QPoint(10, 10));  // no longer panning
  EXPECT_EQ(View.ScrollPos(), QPoint(240, 170));
}

TEST_F(MapViewer, AutoScrollSteps) {
  const int cases[][3] = {{100, 400, 0},  {16, 400, 0},  {15, 400, 0},  {14, 400, -2},
                          {0, 400, -16},  {-30, 400, -40}, {-100, 400, -40},
                          {384, 400, 0},  {386, 400, 2},  {400, 400, 16}, {500, 400, 40}};
  for (const auto& c : cases) EXPECT_EQ(TFormMapViewer::AutoScrollDelta(c[0], c[1]), c[2]) << c[0];
}

TEST_F(MapViewer, BoardMatchesTheSharedRasteriser) {
  Tree.StartPosition.Set(TVudMapStartPosition::spParty, 1, 3, 3);
  open(60, 40, {1920, 1280});
  TVudEventItem* e = Map.Events.Obtain(1);
  e->X = 5, e->Y = 6;
  View.ReloadMap();
  TMapDrawContext context;
  context.Map = &Map;
  context.Chips = &View.ChipSetGraphic();
  context.Events = &View.EventMap();
  TVireoBoard whole;
  DrawMapPicture(whole, context);
  ASSERT_EQ(View.PictureRect().size(), QSize(1920, 1280));
  for (int y = 0; y < 1280; ++y)
    ASSERT_EQ(std::memcmp(whole.ScanLine(y), View.FrontBoard().ScanLine(y), 1920 * 2), 0) << y;
  if (const char* dir = std::getenv("TF_SCREENSHOT_DIR")) {
    // Under Xvfb: the 60 × 40 map in a window of ordinary size, at 1/1 scrolled and at 1/2.
    View.resize(1024, 700);
    View.SetScrollPos(64, 96);
    QApplication::processEvents();
    View.grab().save(QString::fromLocal8Bit(dir) + "/mapedit-viewer-60x40-zoom1.png");
    View.SetCellSize(16);
    QApplication::processEvents();
    View.grab().save(QString::fromLocal8Bit(dir) + "/mapedit-viewer-60x40-zoom2.png");
  }
}

TEST_F(MapViewer, PanoramaShowsOnlyWhenItFitsExactly) {
  QTemporaryDir dir;
  const std::filesystem::path project = dir.path().toStdString();
  std::filesystem::create_directories(project / "Panorama");
  TVireoBitmap pano(320, 240, 8);
  pano.Palette[1] = {0, 0, 255, 0};
  for (int y = 0; y < 240; ++y) std::memset(pano.ScanLine(y), 1, 320);
  SaveImageFile(pano, project / "Panorama" / "Cielo.png");
  SetMaterialResolver([&](const std::string& n, const std::string& f) {
    return ResolveMaterialIn(project, n, f);
  });
  TVudMap map;
  map.Clear();  // 20 × 15
  map.UsePanorama = 1;
  map.PanoramaName = "Cielo";
  auto sheet = LoadPanorama(map);
  EXPECT_TRUE(PanoramaShows(map, sheet.get()));
  map.PanoramaHScroll = 1;
  EXPECT_FALSE(PanoramaShows(map, sheet.get()));
  map.PanoramaHScroll = 0;
  map.SetWidth(21);
  EXPECT_FALSE(PanoramaShows(map, sheet.get()));
  // Then the lower tile's colour 0 shows as its palette colour instead of the panorama.
  TVudChipSetGraphic chips;  // all index 0
  chips.Sheet().Palette[0] = {255, 0, 0, 0};
  chips.Sheet().UpdateColorTable();
  TMapDrawContext context;
  context.Map = &map;
  context.Chips = &chips;
  context.Panorama = sheet.get();
  TVireoBoard board;
  board.SetSize(32, 32);
  DrawMapCell(board, context, 0, 0, 0, 0);
  EXPECT_EQ(board.ScanLine(5)[5], 0xF800);  // red
  map.SetWidth(20);
  DrawMapCell(board, context, 0, 0, 0, 0);
  EXPECT_EQ(board.ScanLine(5)[5], 0x001F);  // the panorama's blue
  SetMaterialResolver({});
}

using PosSetter = ViewerTest<TFormMapPosSetter>;

TEST_F(PosSetter, ClickChoosesAndDoubleClickAccepts) {
  open(20, 15, {1000, 800});
  int changes = 0, accepts = 0;
  View.OnChange = [&] { ++changes; };
  View.OnDoubleClick = [&] { ++accepts; };
  EXPECT_EQ(View.Position(), QPoint(-1, -1));
  QTest::mouseClick(View.PaintBox(), Qt::LeftButton, {}, QPoint(5 * 32 + 7, 2 * 32 + 30));
  EXPECT_EQ(View.Position(), QPoint(5, 2));
  EXPECT_EQ(changes, 1);
  QTest::mouseDClick(View.PaintBox(), Qt::LeftButton, {}, QPoint(5 * 32 + 7, 2 * 32 + 30));
  EXPECT_EQ(accepts, 1);
  QTest::mouseClick(View.PaintBox(), Qt::RightButton, {}, QPoint(10, 10));
  EXPECT_EQ(View.Position(), QPoint(5, 2));
  paint();
  // The frame, from the outside in: dark, white, white, dark.
  const std::uint16_t dark = 4 << 11 | 8 << 5 | 4;
  const std::uint16_t* row = View.FrontBoard().ScanLine(2 * 32 + 16);
  EXPECT_EQ(row[5 * 32], dark);
  EXPECT_EQ(row[5 * 32 + 1], 0xFFFF);
  EXPECT_EQ(row[5 * 32 + 2], 0xFFFF);
  EXPECT_EQ(row[5 * 32 + 3], dark);
  EXPECT_EQ(row[6 * 32 - 1], dark);
  View.ReloadMap();
  EXPECT_EQ(View.Position(), QPoint(-1, -1));
}

using AreaMaker = ViewerTest<TFormAreaMaker>;

TEST_F(AreaMaker, DragStopsAtTheMapEdgeAndASecondButtonCancels) {
  open(20, 15, {1000, 800});
  int changes = 0;
  View.OnChange = [&] { ++changes; };
  QWidget* box = View.PaintBox();
  QTest::mousePress(box, Qt::LeftButton, {}, QPoint(2 * 32 + 3, 3 * 32 - 5));
  EXPECT_TRUE(View.Dragging());
  QTest::mouseMove(box, QPoint(700, 6 * 32 + 2));  // beyond the right edge of the picture
  EXPECT_EQ(View.Area(), QRect(2, 3, 18, 3));
  EXPECT_EQ(View.Area().x() + View.Area().width(), 20);
  QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(700, 6 * 32 + 2));
  EXPECT_FALSE(View.Dragging());
  EXPECT_EQ(changes, 3);
  paint();
  const std::uint16_t yellow = 31 << 11 | 63 << 5 | 16, dark = 4 << 11 | 8 << 5 | 4;
  const std::uint16_t* row = View.FrontBoard().ScanLine(4 * 32);
  EXPECT_EQ(row[2 * 32], yellow);
  EXPECT_EQ(row[2 * 32 + 1], dark);
  EXPECT_EQ(row[2 * 32 + 4], yellow);
  EXPECT_EQ(row[2 * 32 + 5], dark);
  EXPECT_EQ(row[20 * 32 - 1], yellow);
  // A line without width or height is no rectangle; another button cancels the drag.
  QTest::mousePress(box, Qt::LeftButton, {}, QPoint(5 * 32, 5 * 32));
  QTest::mouseMove(box, QPoint(5 * 32 + 3, 9 * 32));
  EXPECT_EQ(View.Area(), QRect(0, 0, 0, 0));
  QTest::mouseMove(box, QPoint(7 * 32, 9 * 32));
  EXPECT_EQ(View.Area(), QRect(5, 5, 2, 4));
  QTest::mousePress(box, Qt::RightButton, {}, QPoint(7 * 32, 9 * 32));
  EXPECT_EQ(View.Area(), QRect(0, 0, 0, 0));
  EXPECT_FALSE(View.Dragging());
  EXPECT_FALSE(View.AutoScrollTimer()->isActive());
}

}  // namespace
