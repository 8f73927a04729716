// Areas: the rectangle text, the area dialog and its rectangle picker.
#include "AreaMaker.h"
#include "ED_Area.h"
#include "ED_Map.h"
#include "EDMapTestKit.h"
#include "LD_Map.h"
#include "LD_MapTree.h"
#include "MapSetArea.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(AreaRectText, ShowsInclusiveCorners) {
  struct Case { QRect cells; const char* text; };
  const Case cases[] = {
      {QRect(QPoint(3, 4), QPoint(7, 9)), "(003,004) - (007,009)"},  // stored as 3, 4, 8, 10
      {QRect(0, 0, 1, 1), "(000,000) - (000,000)"},
      {QRect(0, 0, 999, 999), "(000,000) - (998,998)"},
      {QRect(5, 5, 0, 3), ""},
      {QRect(), ""},
  };
  for (const Case& c : cases) EXPECT_EQ(AreaRectText(c.cells).toStdString(), c.text);
}

TEST(AreaRect, StoredRightAndBottomAreExclusive) {
  TVudMapTreeItem entry;
  StoreAreaRect(entry, QRect(QPoint(3, 4), QPoint(7, 9)));
  EXPECT_EQ(std::vector<int>(entry.AreaRect, entry.AreaRect + 4), (std::vector<int>{3, 4, 8, 10}));
  EXPECT_EQ(AreaRectOf(entry), QRect(QPoint(3, 4), QPoint(7, 9)));
  entry.AreaRect[2] = 3;  // a stored rectangle with no width is empty
  EXPECT_TRUE(AreaRectOf(entry).isEmpty());
}

struct AreaFixture : testing::Test {
  TVudMapTree tree;
  TVudMap map;
  TVudMapTreeItem* area = nullptr;
  void SetUp() override {
    EDMapApp();
    map.Clear();
    map.SetWidth(30);
    map.SetHeight(20);
    map.ID = 1;
    tree.AddMap(0, 0)->NodeType = ntRoot;
    TVudMapTreeItem* node = tree.AddMap(0, 1);
    node->NodeType = ntMap;
    node->ScrollX = 48, node->ScrollY = 64;
    area = tree.AddMap(1, 2);
    area->NodeType = ntArea;
    area->Name = "Plaza";
    area->ScrollX = 100, area->ScrollY = 120;
    StoreAreaRect(*area, QRect(3, 4, 5, 6));
    area->Encounters.Append()->TroopID = 2;
    tree.ActiveMapID = 2;
  }
};

TEST_F(AreaFixture, DialogLoadsAndStoresNameRectangleAndEncounters) {
  TFormEDArea form;
  form.SetTroopNames({"Limo", "Lobo"});
  form.SetMapTree(&tree);
  form.SetMap(&map);
  form.LoadValues(2, false, *area);
  EXPECT_EQ(form.windowTitle(), QString::fromUtf8("Propiedades de la área - ID:0002"));
  EXPECT_EQ(form.findChild<QLineEdit*>("EditArea")->text(), "(003,004) - (007,009)");
  EXPECT_EQ(form.findChild<TEncounterList*>()->item(0)->text(), "Lobo");
  form.findChild<QLineEdit*>("EditName")->setText("Mercado");
  form.SetArea(QRect(QPoint(0, 0), QPoint(29, 19)));
  TVudMapTreeItem stored;
  form.StoreEntry(stored);
  EXPECT_EQ(stored.Name, "Mercado");
  EXPECT_EQ(std::vector<int>(stored.AreaRect, stored.AreaRect + 4), (std::vector<int>{0, 0, 30, 20}));
  ASSERT_EQ(stored.Encounters.Count(), 1);
  EXPECT_EQ(stored.Encounters.At(0)->TroopID, 2);

  TVudMapTreeItem fresh;
  fresh.Name = "AREA0005";
  form.LoadValues(5, true, fresh);
  EXPECT_EQ(form.windowTitle(), QString::fromUtf8("Nueva área - ID:0005"));
  EXPECT_EQ(form.findChild<QLineEdit*>("EditArea")->text(), "");
}

TEST_F(AreaFixture, PickerReturnsTheRectangleAndKeepsTheStoredScroll) {
  TFormEDArea form;
  form.SetMapTree(&tree);
  form.SetMap(&map);
  form.LoadValues(2, false, *area);
  QRect shownInPicker;
  WhenModal([&](QDialog* d) {
    auto* picker = static_cast<TFormMapSetArea*>(d);
    shownInPicker = picker->Area();
    picker->AreaMaker()->SetScrollPos(160, 160);  // the view writes the tree's offsets
    picker->SetArea(QRect(QPoint(1, 2), QPoint(10, 12)));
    picker->ButtonOk()->click();
  });
  form.findChild<QLineEdit*>("EditArea")->setFocus();
  QTest::keyClick(form.findChild<QLineEdit*>("EditArea"), Qt::Key_Space);
  EXPECT_EQ(shownInPicker, QRect(3, 4, 5, 6));
  EXPECT_EQ(form.Area(), QRect(QPoint(1, 2), QPoint(10, 12)));
  EXPECT_EQ(form.findChild<QLineEdit*>("EditArea")->text(), "(001,002) - (010,012)");
  EXPECT_EQ(area->ScrollX, 100);
  EXPECT_EQ(area->ScrollY, 120);
  EXPECT_EQ(tree.Find(1)->ScrollX, 48);
  EXPECT_EQ(tree.Find(1)->ScrollY, 64);

  WhenModal([](QDialog* d) { d->reject(); });
  form.AreaBoxClick();
  EXPECT_EQ(form.Area(), QRect(QPoint(1, 2), QPoint(10, 12))) << "Cancel keeps the rectangle";
}

TEST_F(AreaFixture, PickerOkNeedsARectangleAndZoomsByTag) {
  TFormMapSetArea picker;
  picker.SetMapTree(&tree);
  picker.SetMap(&map);
  picker.show();
  EXPECT_EQ(picker.windowTitle(), QString::fromUtf8("Posición de Area"));
  EXPECT_EQ(picker.AreaMaker()->CellSize(), 16);
  EXPECT_FALSE(picker.ButtonOk()->isEnabled());
  EXPECT_EQ(picker.LabelArea()->text(), "");
  picker.ButtonOkClick();
  EXPECT_NE(picker.result(), QDialog::Accepted);

  // Drag on the picture from grid point (2, 1) to (5, 4) at 16 pixels a cell.
  QWidget* box = picker.AreaMaker()->PaintBox();
  const QPoint origin = picker.AreaMaker()->CellRectToPixels(QRect(0, 0, 1, 1)).topLeft();
  QTest::mousePress(box, Qt::LeftButton, {}, origin + QPoint(2 * 16, 16));
  QTest::mouseMove(box, origin + QPoint(5 * 16, 4 * 16));
  QTest::mouseRelease(box, Qt::LeftButton, {}, origin + QPoint(5 * 16, 4 * 16));
  EXPECT_EQ(picker.Area(), QRect(2, 1, 3, 3));
  EXPECT_EQ(picker.LabelArea()->text(), "(002,001) - (004,003)");
  EXPECT_TRUE(picker.ButtonOk()->isEnabled());

  const std::pair<int, int> zooms[] = {{1, 32}, {3, 8}, {2, 16}};
  for (auto [tag, size] : zooms) {
    picker.findChild<QPushButton*>(QString("ButtonZoom%1").arg(tag))->click();
    EXPECT_EQ(picker.AreaMaker()->CellSize(), size) << tag;
  }
  picker.ButtonOkClick();
  EXPECT_EQ(picker.result(), QDialog::Accepted);
}

}  // namespace
