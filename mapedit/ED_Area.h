#pragma once
// Area helpers shared by the area dialog and its rectangle picker.

#include <QRect>
#include <QString>

// "(%.3d,%.3d) - (%.3d,%.3d)" with the inclusive corners of a cell rectangle; empty for an
// empty rectangle.
QString AreaRectText(const QRect& cells);
