// The map editor: the map view with the drawing tools of the lower and upper layer, selections
// and the tile clipboard, picking brushes with the right button, and the event mode's cell
// selection, event dragging and event menu. The drawing itself is the paint engine's.
#pragma once

#include "MapPaint.h"
#include "MapViewer.h"

#include <QPoint>
#include <QRect>
#include <functional>
#include <memory>

class QAction;
class QMenu;
class QMimeData;
class QTimer;

// The tile clipboard (format 562) as a private MIME type carrying the same bytes.
inline constexpr const char* kTileMimeType = "application/x-taleforge-562";
QMimeData* TileBlockToMime(const std::vector<std::uint8_t>& block);
bool MimeHasTileBlock(const QMimeData* mime);

class TFormMapEditor : public TFormMapViewer {
  Q_OBJECT

public:
  explicit TFormMapEditor(QWidget* parent = nullptr);
  ~TFormMapEditor() override;

  int EditMode() const { return FMode; }
  void SetEditMode(int mode);
  int Tool() const { return FTool; }
  void SetTool(int tool);
  void Undo();
  void ClearUndo();
  void BrushChanged();
  void FinishStroke();
  void HideBrush();

  TMapPaintEngine& Engine() { return *FEngine; }
  TVudCurrentChip& Brush(int mode) { return FEngine->Brushes[std::size_t(mode & 3)]; }
  // The brush rectangle under the cursor (cells), empty when hidden; the anchor offset.
  QRect BrushRect() const { return FBrushRect; }
  QPoint BrushAnchor() const { return FAnchor; }
  QPoint CursorCell() const { return FCursor; }
  // The selected cell of event mode (-1, -1 for none).
  QPoint SelectedCell() const { return FSelCell; }
  bool Stroking() const { return FStroking; }

  void DrawCell(int column, int row) override;
  void ScrollUpdate() override;
  void RedrawAll() override;
  void ReloadMap() override;

  // The tile menu and its entries.
  QMenu* TileMenu() const { return FTileMenu; }
  QMenu* EventMenu() const { return FEventMenu; }
  void TileCut();
  void TileCopy();
  void TilePaste();
  void TileClear();
  void TileSelectAll();
  void UpdateTileMenu();
  void UpdateEventMenu();

  std::function<void(TFormMapEditor*)> OnCursorMoved;
  std::function<void(TFormMapEditor*)> OnBrushPicked;
  std::function<void(TFormMapEditor*)> OnLayerToggled;

  // The mode colours of the brush frame.
  static QColor ModeColor(int mode);

protected:
  void PaintBoxMouseDown(QMouseEvent* event) override;
  void PaintBoxMouseMove(QMouseEvent* event) override;
  void PaintBoxMouseUp(QMouseEvent* event) override;
  void PaintBoxDoubleClick(QMouseEvent* event) override;
  void PaintOverlay(QPainter& painter) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void cellsChanged(int x, int y, int w, int h);
  void flushDirty();
  void readModifiers(QMouseEvent* event);
  void setBrushRect(const QRect& rect);
  void updateCursorShape();
  void cancelStroke();
  void zoomAt(QPoint p, bool in);
  void startPick(QPoint cell);
  void movePick(QPoint cell);
  void finishPick();
  void layerMouseDown(QMouseEvent* event);
  void layerMouseMove(QMouseEvent* event);
  void layerMouseUp(QMouseEvent* event);
  void eventMouseDown(QMouseEvent* event);
  void eventMouseMove(QMouseEvent* event);
  void eventMouseUp(QMouseEvent* event);
  void selectEventCell(QPoint cell);
  bool keyPress(QKeyEvent* event);
  void notAvailable();
  void setPartyStart();
  void buildMenus();
  bool cellInMap(QPoint cell) const;
  void invalidatePixels(const QRect& pixels);

  std::unique_ptr<TMapPaintEngine> FEngine;
  TVudMap FNoMap;  // the engine's map until the owner sets one
  int FMode = emNone;
  int FTool = mtPen;
  QRect FBrushRect;  // cells; empty = hidden
  QPoint FAnchor{0, 0};
  QPoint FCursor{-1, -1};
  QRect FDirty;
  bool FStroking = false;
  // Select tool: the grid point the new selection is anchored at; dragging a selection.
  QPoint FSelAnchor;
  bool FSelecting = false;
  bool FDraggingSel = false;
  QPoint FDragPixel;
  QPoint FDragOrigin;
  // Picking with the right button.
  bool FPicking = false;
  bool FPickArmed = false;
  QPoint FPickStart;
  QPoint FOldAnchor;
  QTimer* FPickTimer;
  QTimer* FAntsTimer;
  // Event mode.
  QPoint FSelCell{-1, -1};
  bool FEventDrag = false;
  QPoint FEventFrom;
  QPoint FEventTarget{-1, -1};

  QMenu* FTileMenu = nullptr;
  QAction* FActCut = nullptr;
  QAction* FActCopy = nullptr;
  QAction* FActPaste = nullptr;
  QAction* FActClear = nullptr;
  QAction* FActSelectAll = nullptr;
  QMenu* FEventMenu = nullptr;
  QAction* FActCreate = nullptr;
  QAction* FActEdit = nullptr;
  QAction* FActEvCut = nullptr;
  QAction* FActEvCopy = nullptr;
  QAction* FActEvPaste = nullptr;
  QAction* FActEvDelete = nullptr;
  QAction* FActTeleport = nullptr;
  QAction* FActParty = nullptr;
  QAction* FActVehicle = nullptr;
};
