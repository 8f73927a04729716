// The scrollable, zoomable picture of one map: both tile layers, the panorama where it shows
// and a marker for every event and start position. It does not edit; the map editor and the two
// pickers derive from it and extend the virtual drawing and mouse hooks.
#pragma once

#include "GR_CharSet.h"
#include "GR_ChipSet.h"
#include "MapEditUtils.h"
#include "VireoSheet.h"

#include <QAbstractScrollArea>
#include <QPoint>
#include <QRect>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <vector>

class QTimer;
class TVudMap;
class TVudMapTree;
class TVudMapTreeItem;
class TFormMapViewer;

// The scroll frame: its viewport is the background, the picture sits centred inside it.
class TMapFrame : public QAbstractScrollArea {
  Q_OBJECT
public:
  explicit TMapFrame(TFormMapViewer* viewer);

protected:
  bool viewportEvent(QEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

private:
  TFormMapViewer* FViewer;
};

// The map picture: shows the viewer's front board and passes mouse events to the viewer.
class TMapPaintBox : public QWidget {
  Q_OBJECT
public:
  explicit TMapPaintBox(TFormMapViewer* viewer, QWidget* parent);

protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
  TFormMapViewer* FViewer;
};

class TFormMapViewer : public QWidget {
  Q_OBJECT
  friend class TMapFrame;
  friend class TMapPaintBox;

public:
  explicit TFormMapViewer(QWidget* parent = nullptr);
  ~TFormMapViewer() override;

  // References the owner keeps alive; set before the first ReloadMap.
  void SetMapTree(TVudMapTree* mapTree) { FMapTree = mapTree; }
  void SetMap(TVudMap* map) { FMap = map; }
  TVudMap* Map() const { return FMap; }
  TVudMapTree* MapTree() const { return FMapTree; }
  // The graphics the view draws with: its own unless the owner shares others.
  void SetGraphics(TVudChipSetGraphic* chips, TVudCharSetGraphic* chars);
  TVudChipSetGraphic& ChipSetGraphic() { return *FChips; }
  TVudCharSetGraphic& CharSetGraphic() { return *FChars; }
  TVudEventMap& EventMap() { return FEventMap; }
  // After an event or a start position changed: rebuilds the event map and redraws.
  void EventsChanged();

  // In slot order; derived views override all four.
  virtual void DrawCell(int column, int row);
  virtual void ScrollUpdate();
  virtual void RedrawAll();
  virtual void ReloadMap();

  int CellSize() const { return FCellSize; }
  void SetCellSize(int size);
  QPoint ScrollPos() const { return {FScrollX, FScrollY}; }
  // Moves the view as the scroll bars would (clamped), updating the stored offsets.
  void SetScrollPos(int x, int y);
  // Size of the area the map is shown in, and the picture's place and size inside it.
  QSize ClientSize() const;
  QRect PictureRect() const;

  // Cell under a point of the picture (-1 left of or above it); nearest grid line.
  QPoint CellAt(QPoint p) const;
  QPoint NearestGridPoint(QPoint p) const;
  // A cell rectangle in picture pixels.
  QRect CellRectToPixels(const QRect& cells) const;
  // Marks cells as changed: they are redrawn on the next paint (with their looped copies).
  void InvalidateCells(const QRect& cells);
  // Draws the cells (clamped to the map and the visible area) into the front board now.
  void RedrawCells(const QRect& cells);

  // How far one auto-scroll tick moves for a cursor at p along an axis of this page size.
  static int AutoScrollDelta(int p, int page);

  bool KeepPosition = false;
  std::function<void(TFormMapViewer*)> OnScaleChanged;

  TVireoBoard& FrontBoard() { return *FFront; }
  TMapFrame* MapFrame() const { return FFrame; }
  TMapPaintBox* PaintBox() const { return FPaintBox; }
  QTimer* AutoScrollTimer() const { return FAutoScrollTimer; }

protected:
  // Mouse on the picture; the base only pans with the middle button.
  virtual void PaintBoxMouseDown(QMouseEvent* event);
  virtual void PaintBoxMouseMove(QMouseEvent* event);
  virtual void PaintBoxMouseUp(QMouseEvent* event);
  virtual void PaintBoxDoubleClick(QMouseEvent* event);
  // Drawn over the board on every paint (selections, cursors of the editor).
  virtual void PaintOverlay(QPainter& painter);
  virtual void AutoScrollTick();

  // Where a cell lies on the front board.
  TVireoRect CellOnBoard(int column, int row) const;
  // The loaded panorama (empty sheet when none), for derived views that draw cells themselves.
  TVireoSheet* Panorama() const { return FPanorama.get(); }
  // Draws the map content of a cell at its place on the front board.
  void DrawMapCellAt(int column, int row);
  // The map tree node that keeps this map's stored scroll offsets.
  TVudMapTreeItem* MapTreeItem() const;
  QRect VisibleCells() const;
  void Layout();

  void resizeEvent(QResizeEvent* event) override;

private:
  void layoutOnce();
  void paintPicture(QPaintEvent* event);
  void paintBackground(QPaintEvent* event);
  void scrollBarsMoved();
  void flushPending();
  void scrollCentred(int oldSize, int newSize);
  void refreshCharSets();
  bool panEvent(QMouseEvent* event);

  TVudMapTree* FMapTree = nullptr;
  TVudMap* FMap = nullptr;
  std::unique_ptr<TVudChipSetGraphic> FOwnChips;
  std::unique_ptr<TVudCharSetGraphic> FOwnChars;
  TVudChipSetGraphic* FChips;
  TVudCharSetGraphic* FChars;
  TVudEventMap FEventMap;
  std::unique_ptr<TVireoSheet> FPanorama;

  int FCellSize = 32;
  int FScrollX = 0, FScrollY = 0;
  int FBoardX = 0, FBoardY = 0;  // map pixel the front board's top-left shows
  std::array<TVireoBoard, 2> FBoards;
  TVireoBoard* FFront = &FBoards[0];
  TVireoBoard* FBack = &FBoards[1];
  std::vector<QRect> FPending;
  bool FArmed = true;  // scroll bar changes write the stored offsets
  bool FInLayout = false;
  bool FPanning = false;
  QPoint FPanStart;
  QPoint FPanScroll;

  TMapFrame* FFrame;
  TMapPaintBox* FPaintBox;
  QTimer* FAutoScrollTimer;
};
