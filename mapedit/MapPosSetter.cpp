#include "MapPosSetter.h"

#include "LD_Map.h"

#include <QMouseEvent>

namespace {
constexpr std::uint16_t kDark = (32 >> 3) << 11 | (32 >> 2) << 5 | (32 >> 3);  // RGB 32, 32, 32
constexpr std::uint16_t kWhite = 0xFFFF;

// The edges of a frame `inset` pixels inside the cell, `width` thick, cut to the cell.
void frame(TVireoBoard& board, TVireoRect cell, int inset, int width, std::uint16_t colour) {
  const TVireoRect r{cell.Left + inset, cell.Top + inset, cell.Right - inset, cell.Bottom - inset};
  FillBoardRect(board, {r.Left, r.Top, r.Right, r.Top + width}, colour);
  FillBoardRect(board, {r.Left, r.Bottom - width, r.Right, r.Bottom}, colour);
  FillBoardRect(board, {r.Left, r.Top, r.Left + width, r.Bottom}, colour);
  FillBoardRect(board, {r.Right - width, r.Top, r.Right, r.Bottom}, colour);
}
}  // namespace

TFormMapPosSetter::TFormMapPosSetter(QWidget* parent) : TFormMapViewer(parent) {
  setObjectName(QStringLiteral("FormMapPosSetter"));
  PaintBox()->setCursor(Qt::ArrowCursor);
}

void TFormMapPosSetter::SetPosition(QPoint cell) {
  if (cell == FPosition) return;
  const QPoint old = FPosition;
  FPosition = cell;
  InvalidateCells(QRect(old, QSize(1, 1)));
  InvalidateCells(QRect(cell, QSize(1, 1)));
}

void TFormMapPosSetter::DrawCell(int column, int row) {
  TFormMapViewer::DrawCell(column, row);
  if (QPoint(column, row) != FPosition) return;
  const TVireoRect cell = CellOnBoard(column, row);
  frame(FrontBoard(), cell, 0, 1, kDark);
  frame(FrontBoard(), cell, 1, 2, kWhite);
  frame(FrontBoard(), cell, 3, 1, kDark);
}

void TFormMapPosSetter::ReloadMap() {
  FPosition = {-1, -1};
  TFormMapViewer::ReloadMap();
}

void TFormMapPosSetter::PaintBoxMouseDown(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint cell = CellAt(event->position().toPoint());
  if (!Map() || cell.x() < 0 || cell.y() < 0 || cell.x() >= Map()->Width ||
      cell.y() >= Map()->Height)
    return;
  SetPosition(cell);
  if (OnChange) OnChange();
}

void TFormMapPosSetter::PaintBoxDoubleClick(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && OnDoubleClick) OnDoubleClick();
}
