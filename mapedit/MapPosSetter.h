// A map view that picks one cell: a click chooses it, a double click accepts.
#pragma once

#include "MapViewer.h"

class TFormMapPosSetter : public TFormMapViewer {
  Q_OBJECT
public:
  explicit TFormMapPosSetter(QWidget* parent = nullptr);

  // (-1, -1) when none is chosen.
  QPoint Position() const { return FPosition; }
  void SetPosition(QPoint cell);

  void DrawCell(int column, int row) override;
  void ReloadMap() override;

  std::function<void()> OnChange;
  std::function<void()> OnDoubleClick;

protected:
  void PaintBoxMouseDown(QMouseEvent* event) override;
  void PaintBoxDoubleClick(QMouseEvent* event) override;

private:
  QPoint FPosition{-1, -1};
};
