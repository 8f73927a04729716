// The area rectangle text: inclusive corners of an exclusive rectangle, nothing when empty.
#include "ED_Area.h"

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
  const QRect r(QPoint(3, 4), QPoint(7, 9));
  EXPECT_EQ(r.x() + r.width(), 8);
  EXPECT_EQ(r.y() + r.height(), 10);
}

}  // namespace
