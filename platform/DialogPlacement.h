// Where a dialog opens: centred on its owner, or at an offset from the owner's client origin; in
// both cases then pulled back onto the owner's screen.
#pragma once
#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

class QWidget;

// The rule itself: `ownerFrame` is the owner's outer rectangle, `ownerClient` the top-left of its
// client area, `screen` the available area of the owner's screen (all in global coordinates).
QPoint DialogPosition(const QRect& ownerFrame, const QPoint& ownerClient, const QSize& dialog,
                      const QRect& screen, std::optional<QPoint> offset);

// Moves `dialog` (before it is shown) by the rule; no owner means centred on the screen.
void PlaceDialog(QWidget* dialog, QWidget* owner, std::optional<QPoint> offset = std::nullopt);
