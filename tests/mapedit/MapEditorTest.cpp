// The map editor widget offscreen: mouse strokes paint what the engine paints, the brush frame
// follows the cursor, picking, layer toggling, the tile menu with the clipboard, undo by key,
// and the event mode's cell selection, dragging and menu.
#include "LD_MapTree.h"
#include "MapEditor.h"
#include "MessageService.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

QApplication& app() {
  static int argc = 1;
  static char name[] = "MapEditorTest";
  static char* argv[] = {name, nullptr};
  static QApplication* instance = new QApplication(argc, argv);
  return *instance;
}

constexpr int kGrass = 5000;

class MapEditorTest : public ::testing::Test {
protected:
  void SetUp() override {
    app();
    map.SetWidth(20);
    map.SetHeight(15);
    std::fill(map.LowerLayer.Cells.begin(), map.LowerLayer.Cells.end(), std::uint16_t(kGrass));
    map.UpperLayer.Fill();
    map.ID = 1;
    tree.ActiveMapID = 1;
    editor = std::make_unique<TFormMapEditor>();
    editor->resize(400, 300);
    editor->SetMapTree(&tree);
    editor->SetMap(&map);
    editor->show();
    editor->ReloadMap();
    editor->SetEditMode(emLower);
    editor->SetScrollPos(0, 0);
    QApplication::processEvents();
  }

  // A mouse event at the centre of a cell of the picture.
  void mouse(QEvent::Type type, QPoint cell, Qt::MouseButton button, Qt::MouseButtons buttons,
             Qt::KeyboardModifiers mods = Qt::NoModifier) {
    const int s = editor->CellSize();
    const QPoint scroll = editor->ScrollPos();
    const QPointF p(cell.x() * s + s / 2 - scroll.x(), cell.y() * s + s / 2 - scroll.y());
    QWidget* box = editor->PaintBox();
    QMouseEvent e(type, p, box->mapToGlobal(p), button, buttons, mods);
    QApplication::sendEvent(box, &e);
  }
  void press(QPoint c, Qt::MouseButton b = Qt::LeftButton, Qt::KeyboardModifiers m = Qt::NoModifier) {
    mouse(QEvent::MouseButtonPress, c, b, b, m);
  }
  void move(QPoint c, Qt::MouseButtons held = Qt::LeftButton) {
    mouse(QEvent::MouseMove, c, Qt::NoButton, held);
  }
  void release(QPoint c, Qt::MouseButton b = Qt::LeftButton) {
    mouse(QEvent::MouseButtonRelease, c, b, Qt::NoButton);
  }
  void key(int k, Qt::KeyboardModifiers m = Qt::NoModifier) {
    QTest::keyClick(editor->MapFrame(), Qt::Key(k), m);
  }

  TVudMap map;
  TVudMapTree tree;
  std::unique_ptr<TFormMapEditor> editor;
};

TEST_F(MapEditorTest, PenStrokePaintsWhatTheEngineDoesAndTheFrameFollows) {
  editor->SetTool(mtPen);
  editor->Brush(emLower).SetSingle(49);
  move({3, 2}, Qt::NoButton);
  EXPECT_EQ(editor->BrushRect(), QRect(3, 2, 1, 1));
  press({3, 2});
  move({7, 4});
  move({7, 6});
  release({7, 6});
  EXPECT_TRUE(map.Modified);
  EXPECT_EQ(editor->BrushRect(), QRect(7, 6, 1, 1));

  TVudMap same;
  same.SetWidth(20);
  same.SetHeight(15);
  std::fill(same.LowerLayer.Cells.begin(), same.LowerLayer.Cells.end(), std::uint16_t(kGrass));
  TMapPaintEngine e(same);
  e.Reload();
  e.Brush().SetSingle(49);
  e.BeginStroke(mtPen, 3, 2, 3, 2);
  e.MoveStroke(7, 4, 7, 4);
  e.MoveStroke(7, 6, 7, 6);
  e.EndStroke();
  EXPECT_EQ(map.LowerLayer.Cells, same.LowerLayer.Cells);
  EXPECT_EQ(map.LowerLayer.Get(5, 3) / 50, 0);  // the line passed here: water
  EXPECT_EQ(map.LowerLayer.Get(0, 0), kGrass);

  // Undo by key brings the map back.
  key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(map.LowerLayer.Get(5, 3), kGrass);
  EXPECT_EQ(editor->Engine().UndoManager().Count(), 0);
}

TEST_F(MapEditorTest, RectangleDragAndAnotherButtonCancels) {
  editor->SetTool(mtRectangle);
  editor->Brush(emLower).SetSingle(5003);
  press({2, 2});
  move({5, 4});
  release({5, 4});
  int painted = 0;
  for (std::uint16_t c : map.LowerLayer.Cells) painted += c == 5003;
  EXPECT_EQ(painted, 4 * 3);

  const auto before = map.LowerLayer.Cells;
  press({8, 8});
  move({12, 12});
  press({12, 12}, Qt::RightButton);  // cancels: both layers come back
  EXPECT_FALSE(editor->Stroking());
  EXPECT_EQ(map.LowerLayer.Cells, before);
  release({12, 12}, Qt::RightButton);
  release({12, 12});
  EXPECT_EQ(map.LowerLayer.Cells, before);
}

TEST_F(MapEditorTest, RightDragPicksAtMostSixBySix) {
  for (int y = 0; y < 15; ++y)
    for (int x = 0; x < 20; ++x) map.LowerLayer.Set(x, y, std::uint16_t(5000 + (x + y) % 100));
  editor->SetTool(mtPen);
  int picked = 0;
  editor->OnBrushPicked = [&](TFormMapEditor*) { ++picked; };
  press({2, 3}, Qt::RightButton);
  QTest::qWait(200);  // the pick delay
  move({10, 11}, Qt::RightButton);
  release({10, 11}, Qt::RightButton);
  EXPECT_EQ(picked, 1);
  const TVudCurrentChip& b = editor->Brush(emLower);
  EXPECT_EQ(b.Width, 6);
  EXPECT_EQ(b.Height, 6);
  EXPECT_EQ(b.At(5, 5), 5000 + 7 + 8);
  EXPECT_EQ(editor->BrushAnchor(), QPoint(5, 5));
}

TEST_F(MapEditorTest, RightDoubleClickTogglesTheLayer) {
  editor->SetTool(mtPen);
  int toggled = 0;
  editor->OnLayerToggled = [&](TFormMapEditor*) { ++toggled; };
  press({1, 1}, Qt::RightButton);
  release({1, 1}, Qt::RightButton);
  mouse(QEvent::MouseButtonDblClick, {1, 1}, Qt::RightButton, Qt::RightButton);
  release({1, 1}, Qt::RightButton);
  EXPECT_EQ(editor->EditMode(), emUpper);
  EXPECT_EQ(toggled, 1);
}

TEST_F(MapEditorTest, TileMenuCopiesAndPastesThroughTheClipboard) {
  QApplication::clipboard()->clear();
  editor->SetTool(mtSelect);
  editor->UpdateTileMenu();
  const auto actions = editor->TileMenu()->actions();
  auto find = [&](const QString& text) {
    for (QAction* a : actions)
      if (a->text() == text) return a;
    return static_cast<QAction*>(nullptr);
  };
  ASSERT_TRUE(find("&Pegar"));
  EXPECT_FALSE(find("&Pegar")->isEnabled());  // nothing in format 562
  EXPECT_FALSE(find("&Copiar")->isEnabled());

  map.UpperLayer.Set(4, 4, 10042);
  // Pressed near grid point 4,4 and released near 6,6: the selection is 2 × 2 cells.
  const int s = editor->CellSize();
  auto at = [&](QEvent::Type type, QPoint px, Qt::MouseButton b, Qt::MouseButtons held) {
    QMouseEvent e(type, QPointF(px), QPointF(editor->PaintBox()->mapToGlobal(px)), b, held, Qt::NoModifier);
    QApplication::sendEvent(editor->PaintBox(), &e);
  };
  at(QEvent::MouseButtonPress, {4 * s + 3, 4 * s - 3}, Qt::LeftButton, Qt::LeftButton);
  at(QEvent::MouseMove, {6 * s - 2, 6 * s + 5}, Qt::NoButton, Qt::LeftButton);
  at(QEvent::MouseButtonRelease, {6 * s - 2, 6 * s + 5}, Qt::LeftButton, Qt::NoButton);
  const TCellRect sel = editor->Engine().Selection();
  ASSERT_EQ(sel, (TCellRect{4, 4, 2, 2}));
  EXPECT_EQ(editor->Engine().LiftedUpper().Get(0, 0), 10042);
  key(Qt::Key_C, Qt::ControlModifier);
  ASSERT_TRUE(MimeHasTileBlock(QApplication::clipboard()->mimeData()));
  editor->UpdateTileMenu();
  EXPECT_TRUE(find("&Pegar")->isEnabled());
  const QByteArray block = QApplication::clipboard()->mimeData()->data(kTileMimeType);
  EXPECT_EQ(block.size(), 4 + sel.W * sel.H * 4);

  key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(editor->Engine().UndoManager().Count(), 1);
  EXPECT_EQ(editor->Engine().Selection().W, sel.W);

  // A malformed block in the clipboard pastes nothing.
  auto* bad = new QMimeData;
  bad->setData(kTileMimeType, QByteArray("\x05\x00\x05\x00\x01", 5));
  QApplication::clipboard()->setMimeData(bad);
  const auto cells = map.LowerLayer.Cells;
  key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(editor->Engine().UndoManager().Count(), 1);
  EXPECT_EQ(map.LowerLayer.Cells, cells);
}

TEST_F(MapEditorTest, ZoomToolKeepsTheCellUnderTheCursor) {
  editor->SetTool(mtZoom);
  editor->SetCellSize(16);
  QApplication::processEvents();
  // Zooming in from 16 to 32 (the map then scrolls): the pressed point still shows cell 12,9.
  const QPoint cell(12, 9);
  const QPoint inBox(cell.x() * 16 + 8 - editor->ScrollPos().x(), cell.y() * 16 + 8 - editor->ScrollPos().y());
  const QPoint inViewport = editor->PaintBox()->mapTo(editor->MapFrame()->viewport(), inBox);
  press(cell);
  release(cell);
  EXPECT_EQ(editor->CellSize(), 32);
  EXPECT_EQ(editor->CellAt(editor->PaintBox()->mapFrom(editor->MapFrame()->viewport(), inViewport)), cell);
  press(cell, Qt::RightButton);
  release(cell, Qt::RightButton);
  EXPECT_EQ(editor->CellSize(), 16);
  EXPECT_EQ(editor->Engine().UndoManager().Count(), 0);  // zooming paints nothing
}

TEST_F(MapEditorTest, DeleteAndCutClearTheSelection) {
  editor->Brush(emLower).SetSingle(1049);  // vacated cells take water B, shape 0
  editor->SetTool(mtSelect);
  editor->Engine().TakeBackup();
  editor->Engine().SetSelection({1, 1, 2, 2});
  editor->Engine().LiftSelection();
  key(Qt::Key_Delete);
  EXPECT_EQ(map.LowerLayer.Get(1, 1), 1000);
  EXPECT_TRUE(editor->Engine().Selection().Empty());
  editor->Engine().TakeBackup();
  editor->Engine().SetSelection({5, 5, 1, 1});
  editor->Engine().LiftSelection();
  key(Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(map.LowerLayer.Get(5, 5), 1000);
  EXPECT_TRUE(MimeHasTileBlock(QApplication::clipboard()->mimeData()));
  EXPECT_EQ(editor->Engine().UndoManager().Count(), 2);
  key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(map.LowerLayer.Get(5, 5), kGrass);
}

TEST_F(MapEditorTest, SelectAllLiftsTheWholeMap) {
  editor->SetTool(mtSelect);
  key(Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(editor->Engine().Selection(), (TCellRect{0, 0, 20, 15}));
  EXPECT_TRUE(editor->Engine().SelectionLiftedNotMoved());
}

TEST_F(MapEditorTest, EventModeSelectsDragsAndNamesWhatIsNotAvailable) {
  TVudEventItem* e = map.Events.Obtain(3);
  ASSERT_TRUE(e);
  e->X = 2, e->Y = 2;
  editor->ReloadMap();
  editor->SetEditMode(emEvents);
  EXPECT_TRUE(editor->BrushRect().isEmpty());
  press({2, 2});
  move({6, 5});
  release({6, 5});
  EXPECT_EQ(e->X, 6);
  EXPECT_EQ(e->Y, 5);
  EXPECT_EQ(editor->SelectedCell(), QPoint(6, 5));
  EXPECT_EQ(editor->EventMap().EventAt(6, 5), 3);
  EXPECT_TRUE(map.Modified);

  ScopedMessageService messages;
  key(Qt::Key_Return);  // edit the event: the event editor is not there yet
  ASSERT_EQ(messages.fake.shown.size(), 1);
  EXPECT_EQ(messages.fake.shown[0].text, QString::fromUtf8("Esta función todavía no está disponible."));

  // The party start position is set directly and shows in the event map.
  press({9, 9}, Qt::RightButton);
  editor->EventMenu()->hide();
  release({9, 9}, Qt::RightButton);
  for (QAction* a : editor->EventMenu()->actions())
    if (a->text().startsWith(QString::fromUtf8("Configurar como po&sición"))) a->trigger();
  EXPECT_EQ(tree.StartPosition.PartyMapID, 1);
  EXPECT_EQ(editor->EventMap().EventAt(9, 9), TVudEventMap::spPartyCode);
  // Arrow keys move the selected cell within the map.
  key(Qt::Key_Left);
  EXPECT_EQ(editor->SelectedCell(), QPoint(8, 9));
}

}  // namespace

// Not a check: with TF_MAPEDIT_SCREENSHOT (output picture) and TF_MAPEDIT_CHIPSET (a tile set
// image) set, paints a small landscape with the tools and saves the editor's picture.
TEST(MapEditorScreenshot, PaintedMap) {
  const char* out = std::getenv("TF_MAPEDIT_SCREENSHOT");
  const char* chipset = std::getenv("TF_MAPEDIT_CHIPSET");
  if (!out || !chipset) GTEST_SKIP() << "TF_MAPEDIT_SCREENSHOT and TF_MAPEDIT_CHIPSET not set";
  app();
  TVudMap map;
  map.SetWidth(26);
  map.SetHeight(17);
  map.ID = 1;
  TVudMapTree tree;
  tree.ActiveMapID = 1;  // no start position lies on this map
  TFormMapEditor editor;
  editor.resize(26 * 32, 17 * 32);
  editor.SetMapTree(&tree);
  editor.SetMap(&map);
  editor.ChipSetGraphic().LoadChipSetFile(chipset, "Campo");
  editor.show();
  editor.ReloadMap();
  editor.SetEditMode(emLower);
  TMapPaintEngine& e = editor.Engine();
  auto op = [&](int tool, int tile, int x1, int y1, int x2, int y2) {
    e.Brush().SetSingle(std::uint16_t(tile));
    e.BeginStroke(tool, x1, y1, x1, y1);
    e.MoveStroke(x2, y2, x2, y2);
    e.EndStroke();
  };
  op(mtFill, 4049, 0, 0, 0, 0);            // meadow
  op(mtEllipse, 49, 2, 2, 12, 11);         // a lake
  op(mtEllipse, 2049, 5, 5, 9, 8);         // deep water in it
  op(mtRectangle, 4099, 14, 0, 16, 16);    // a path
  op(mtRectangle, 4099, 0, 13, 16, 14);
  op(mtEllipse, 4249, 18, 2, 24, 9);       // a wood
  op(mtRectangle, 4549, 19, 12, 23, 15);   // wheat
  // Objects on the upper layer: big trees (2 × 2), pines (1 × 2), rocks and bushes.
  e.Layer = emUpper;
  auto stamp = [&](int w, int h, std::initializer_list<int> tiles, int x, int y) {
    TVudCurrentChip& b = e.Brush();
    b.SetSize(w, h);
    int i = 0;
    for (int tile : tiles) b.Set(i % w, i / w, std::uint16_t(tile)), ++i;
    e.BeginStroke(mtPen, x, y, x, y);
    e.EndStroke();
  };
  for (auto [x, y] : {std::pair{1, 0}, {10, 0}, {12, 9}, {2, 15}, {22, 10}})
    stamp(2, 2, {10012, 10013, 10018, 10019}, x, y);
  for (auto [x, y] : {std::pair{17, 1}, {18, 10}, {25, 3}, {13, 2}, {6, 11}})
    stamp(1, 2, {10014, 10020}, x, y);
  for (auto [x, y] : {std::pair{0, 6}, {17, 15}, {9, 12}, {24, 15}})
    stamp(1, 1, {10000}, x, y);
  for (auto [x, y] : {std::pair{12, 4}, {4, 11}, {18, 6}, {11, 15}})
    stamp(1, 1, {10001}, x, y);
  e.Layer = emLower;
  // The select tool with a selection round the lake, its outline marching.
  editor.SetTool(mtSelect);
  e.TakeBackup();
  e.SetSelection({2, 2, 11, 10});
  e.LiftSelection();
  editor.RedrawAll();
  QTest::qWait(100);
  ASSERT_TRUE(editor.grab().save(QString::fromLocal8Bit(out)));
}
