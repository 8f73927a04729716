// A map view that picks a rectangle of cells by dragging between grid lines.
#pragma once

#include "MapViewer.h"

class TFormAreaMaker : public TFormMapViewer {
  Q_OBJECT
public:
  explicit TFormAreaMaker(QWidget* parent = nullptr);

  // Cells left, top, width, height; empty (0, 0, 0, 0) when none.
  QRect Area() const { return FArea; }
  void SetArea(const QRect& area);
  bool Dragging() const { return FDragging; }

  void DrawCell(int column, int row) override;

  std::function<void()> OnChange;

protected:
  void PaintBoxMouseDown(QMouseEvent* event) override;
  void PaintBoxMouseMove(QMouseEvent* event) override;
  void PaintBoxMouseUp(QMouseEvent* event) override;

private:
  QRect FArea;
  QPoint FAnchor;
  bool FDragging = false;
};
