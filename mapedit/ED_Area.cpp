#include "ED_Area.h"

QString AreaRectText(const QRect& cells) {
  if (cells.isEmpty()) return {};
  return QString::asprintf("(%.3d,%.3d) - (%.3d,%.3d)", cells.left(), cells.top(), cells.right(),
                           cells.bottom());
}
