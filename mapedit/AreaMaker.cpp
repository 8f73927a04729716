#include "AreaMaker.h"

#include "LD_Map.h"

#include <QMouseEvent>
#include <QTimer>
#include <algorithm>

namespace {
constexpr std::uint16_t kDark = (32 >> 3) << 11 | (32 >> 2) << 5 | (32 >> 3);      // 32, 32, 32
constexpr std::uint16_t kYellow = (255 >> 3) << 11 | (255 >> 2) << 5 | (128 >> 3);  // 255, 255, 128

// The edges of a 1-pixel frame, only where they cross the clip rectangle.
void frameClipped(TVireoBoard& board, TVireoRect r, TVireoRect clip, std::uint16_t colour) {
  auto fill = [&](TVireoRect e) {
    e.Left = std::max(e.Left, clip.Left), e.Top = std::max(e.Top, clip.Top);
    e.Right = std::min(e.Right, clip.Right), e.Bottom = std::min(e.Bottom, clip.Bottom);
    if (e.Width() > 0 && e.Height() > 0) FillBoardRect(board, e, colour);
  };
  fill({r.Left, r.Top, r.Right, r.Top + 1});
  fill({r.Left, r.Bottom - 1, r.Right, r.Bottom});
  fill({r.Left, r.Top, r.Left + 1, r.Bottom});
  fill({r.Right - 1, r.Top, r.Right, r.Bottom});
}

TVireoRect inset(TVireoRect r, int by) {
  return {r.Left + by, r.Top + by, r.Right - by, r.Bottom - by};
}
}  // namespace

TFormAreaMaker::TFormAreaMaker(QWidget* parent) : TFormMapViewer(parent) {
  setObjectName(QStringLiteral("FormAreaMaker"));
  PaintBox()->setCursor(Qt::CrossCursor);
}

void TFormAreaMaker::SetArea(const QRect& area) {
  const QRect next = area.isEmpty() ? QRect(0, 0, 0, 0) : area;
  if (next == FArea) return;
  InvalidateCells(FArea);
  FArea = next;
  InvalidateCells(FArea);
}

void TFormAreaMaker::DrawCell(int column, int row) {
  TFormMapViewer::DrawCell(column, row);
  if (FArea.isEmpty() || !FArea.contains(column, row)) return;
  const TVireoRect cell = CellOnBoard(column, row);
  const TVireoRect topLeft = CellOnBoard(FArea.left(), FArea.top());
  const TVireoRect bottomRight = CellOnBoard(FArea.right(), FArea.bottom());
  const TVireoRect outer{topLeft.Left, topLeft.Top, bottomRight.Right, bottomRight.Bottom};
  for (int step : {0, 4}) {
    frameClipped(FrontBoard(), inset(outer, step), cell, kYellow);
    frameClipped(FrontBoard(), inset(outer, step + 1), cell, kDark);
  }
}

void TFormAreaMaker::PaintBoxMouseDown(QMouseEvent* event) {
  if (FDragging && event->button() != Qt::MiddleButton) {
    // A second button while dragging cancels the rectangle.
    FDragging = false;
    AutoScrollTimer()->stop();
    SetArea({});
    if (OnChange) OnChange();
    return;
  }
  if (event->button() != Qt::LeftButton) return;
  SetArea({});
  FAnchor = NearestGridPoint(event->position().toPoint());
  FDragging = true;
  AutoScrollTimer()->start();
  if (OnChange) OnChange();
}

void TFormAreaMaker::PaintBoxMouseMove(QMouseEvent* event) {
  if (!FDragging || !Map()) return;
  QPoint p = NearestGridPoint(event->position().toPoint());
  p.setX(std::clamp(p.x(), 0, Map()->Width));
  p.setY(std::clamp(p.y(), 0, Map()->Height));
  const QPoint a(std::clamp(FAnchor.x(), 0, Map()->Width), std::clamp(FAnchor.y(), 0, Map()->Height));
  const QRect area(QPoint(std::min(a.x(), p.x()), std::min(a.y(), p.y())),
                   QSize(std::abs(p.x() - a.x()), std::abs(p.y() - a.y())));
  const QRect next = area.isEmpty() ? QRect(0, 0, 0, 0) : area;
  if (next == FArea) return;
  SetArea(next);
  if (OnChange) OnChange();
}

void TFormAreaMaker::PaintBoxMouseUp(QMouseEvent* event) {
  if (!FDragging || event->button() != Qt::LeftButton) return;
  FDragging = false;
  AutoScrollTimer()->stop();
  if (OnChange) OnChange();
}
