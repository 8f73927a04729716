#pragma once
// The tile palette: a six-column grid of every tile of the current layer's kind. The user
// picks one tile or a rectangle of up to 6 x 6; the main window turns it into the brush.

#include "MapPaint.h"
#include "VireoSheet.h"

#include <QPoint>
#include <QRect>
#include <QWidget>

#include <array>

class QScrollArea;
class QTimer;
class TVudMap;
class TVudChipSetGraphic;

class TFormChipSelector : public QWidget {
  Q_OBJECT

public:
  static constexpr int CellSize = 32;
  static constexpr int Columns = 6;

  explicit TFormChipSelector(QWidget* parent = nullptr);
  ~TFormChipSelector() override;

  // References the owner keeps alive; call RefreshPalette afterwards.
  void SetMap(TVudMap* map, TVudChipSetGraphic* chips);

  void ResetPalette();
  void SetPaletteMode(int mode);
  int PaletteMode() const { return FMode; }
  void RefreshPalette();
  // Cells of the current mode; x is -1 when nothing is selected.
  QRect PaletteSelection() const;
  void SelectPaletteRect(const QRect& cells);
  void FinishPaletteDrag();
  // After a pick on the map: selects the cell of the tile, or nothing when it has none.
  void ShowTile(int tileID);
  // The selected tiles as a brush (1 x 1 of the first cell when nothing is selected).
  TVudCurrentChip SelectedBlock() const;
  bool Dragging() const { return FDragging; }
  int ScrollPosition() const;

  // The tables of the grid.
  static int PaletteRows(int mode);
  static int PaletteTileAt(int mode, int column, int row);
  // (-1, -1) for a tile without a cell of its own in that mode.
  static QPoint PaletteCellOf(int mode, int tileID);
  // The cell under a pixel of the grid (rounded toward minus infinity).
  static QPoint CellAtPixel(QPoint pixel);
  // A drag's selection: the cursor cell clamped to the grid and to 5 rows from the anchor.
  static QRect DragRect(int mode, QPoint anchor, QPoint cursor);

  QWidget* PaintBox() const { return FPaintBox; }
  QScrollArea* ScrollFrame() const { return FFrame; }
  QTimer* HoldTimer() const { return FTimer1; }

signals:
  // The selection of the current mode is final (button released, or the mode switched).
  void BrushChanged();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  friend class TChipPaintBox;
  void layout();
  void redraw();
  void paintGrid(QWidget* box);
  void mouseDown(QMouseEvent* event, QPoint pos);
  void mouseMove(QPoint pos);
  void mouseUp();
  void holdElapsed();
  void autoScrollTick();
  bool hasMap() const;

  TVudMap* FMap = nullptr;
  TVudChipSetGraphic* FChips = nullptr;
  int FMode = emNone;
  std::array<int, 4> FScroll{};
  std::array<QRect, 4> FSelection{};
  QRect FBeforeDrag;
  QPoint FAnchor;
  QPoint FLastPos;  // viewport coordinates: it stays put while the grid scrolls
  bool FDragging = false;
  Qt::MouseButton FDragButton = Qt::NoButton;
  bool FPanning = false;
  QPoint FPanStart;
  int FPanScroll = 0;
  TVireoBoard FBoard;
  QScrollArea* FFrame;
  QWidget* FBackground;
  QWidget* FPaintBox;
  QTimer* FTimer1;
  QTimer* FTimer2;
};
