// Map shift: the model moves both layers and the events cyclically; the dialog gives the offset.
#include "LD_Map.h"
#include "MapShift.h"

#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include <gtest/gtest.h>

namespace {

QApplication& app() {
  static int argc = 1;
  static char name[] = "MapShiftTest";
  static char* argv[] = {name, nullptr};
  static QApplication* instance = new QApplication(argc, argv);
  return *instance;
}

int floorMod(int a, int b) { return ((a % b) + b) % b; }

// A 7 x 5 looping map whose every cell is unique, with events in the corners and the middle.
void makeMap(TVudMap& map) {
  map.Clear();
  map.SetWidth(7);
  map.SetHeight(5);
  map.SetScrollType(3);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) {
      map.SetCell(0, x, y, uint16_t(5000 + x + 7 * y));
      map.SetCell(1, x, y, uint16_t(10000 + x + 7 * y));
    }
  const QPoint places[] = {{0, 0}, {6, 4}, {3, 2}, {6, 0}};
  for (int i = 0; i < 4; ++i) {
    TVudEventItem* ev = map.Events.Obtain(i + 1);
    ev->X = places[i].x();
    ev->Y = places[i].y();
  }
}

TEST(MapShift, CellsAndEventsMoveCyclically) {
  const QPoint offsets[] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}, {3, -2}, {-6, -4},
                            {7, 5}, {-7, 0}, {-15, 11}};
  for (const QPoint d : offsets) {
    TVudMap before, map;
    makeMap(before);
    makeMap(map);
    map.Modified = false;
    map.Shift(d.x(), d.y());
    EXPECT_TRUE(map.Modified);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 7; ++x) {
        const int sx = floorMod(x - d.x(), 7), sy = floorMod(y - d.y(), 5);
        ASSERT_EQ(map.LowerLayer.Get(x, y), before.LowerLayer.Get(sx, sy))
            << "offset " << d.x() << "," << d.y() << " cell " << x << "," << y;
        ASSERT_EQ(map.UpperLayer.Get(x, y), before.UpperLayer.Get(sx, sy));
      }
    for (int i = 0; i < 4; ++i) {
      const TVudEventItem* was = before.Events.At(i);
      const TVudEventItem* now = map.Events.At(i);
      // A negative shift keeps every event inside the map.
      EXPECT_EQ(now->X, floorMod(was->X + d.x(), 7)) << "offset " << d.x() << "," << d.y();
      EXPECT_EQ(now->Y, floorMod(was->Y + d.y(), 5)) << "offset " << d.x() << "," << d.y();
    }
  }
}

TEST(MapShift, DialogOffsetsAndRangesAndMemory) {
  app();
  TFormMapShift::ResetRemembered();
  struct Case { const char* radio; int count; QPoint offset; int max; };
  const Case cases[] = {{"RadioUp", 3, {0, -3}, 15},
                        {"RadioLeft", 4, {-4, 0}, 20},
                        {"RadioRight", 25, {20, 0}, 20},  // clamped to the width
                        {"RadioDown", 15, {0, 15}, 15}};
  for (const Case& c : cases) {
    TFormMapShift form(20, 15);
    form.findChild<QRadioButton*>(c.radio)->setChecked(true);
    auto* spin = form.findChild<QSpinBox*>("SpinCount");
    EXPECT_EQ(spin->maximum(), c.max) << c.radio;
    EXPECT_EQ(spin->minimum(), 1);
    spin->setValue(c.count);
    EXPECT_EQ(form.Offset(), c.offset) << c.radio;
    form.findChild<QPushButton*>("ButtonOk")->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
  }
  TFormMapShift again(20, 15);
  EXPECT_TRUE(again.findChild<QRadioButton*>("RadioDown")->isChecked());
  EXPECT_EQ(again.Offset(), QPoint(0, 15));
  TFormMapShift::ResetRemembered();
  TFormMapShift fresh(20, 15);
  EXPECT_EQ(fresh.Offset(), QPoint(0, -1));
  EXPECT_EQ(fresh.windowTitle(), "Mover Mapa");
}

}  // namespace
