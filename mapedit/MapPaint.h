// The drawing tools on the map model, without widgets: painting a cell with automatic shaping
// of water and autotiles, pen strokes, rectangles, ellipses and fills through a cell mask,
// picking brushes, moving selections, the tile clipboard block and the undo pushes. The map
// editor feeds it mouse positions in cells; `tfdata paint` feeds it the command line.
#pragma once

#include "LD_Map.h"
#include "MapEditUtils.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

class TVudChipSetGraphic;

// Floor modulo: the result is always in 0..b-1 for b > 0, also for negative a.
inline int FloorMod(int a, int b) {
  const int r = a % b;
  return r < 0 ? r + b : r;
}

// Edit modes and tools of the map editor.
enum : int { emLower = 0, emUpper = 1, emEvents = 2, emNone = 3 };
enum : int { mtSelect = 0, mtZoom = 1, mtPen = 2, mtRectangle = 3, mtEllipse = 4, mtFill = 5 };

// A brush: at most 6 × 6 tile IDs, column by column.
class TVudCurrentChip {
public:
  static constexpr int MaxSide = 6;
  int Width = 1;
  int Height = 1;

  std::uint16_t At(int column, int row) const {
    if (Width == 1 && Height == 1) return FTiles[0][0];
    return FTiles[std::size_t(FloorMod(column, Width))][std::size_t(FloorMod(row, Height))];
  }
  void Set(int column, int row, std::uint16_t id) {
    if (column >= 0 && row >= 0 && column < MaxSide && row < MaxSide)
      FTiles[std::size_t(column)][std::size_t(row)] = id;
  }
  void SetSize(int width, int height);
  void SetSingle(std::uint16_t id) {
    Width = Height = 1;
    FTiles[0][0] = id;
  }

private:
  std::array<std::array<std::uint16_t, MaxSide>, MaxSide> FTiles{};
};

// A rectangle of cells; empty when it has no width or height.
struct TCellRect {
  int X = 0, Y = 0, W = 0, H = 0;
  bool Empty() const { return W <= 0 || H <= 0; }
  bool Contains(int x, int y) const { return x >= X && y >= Y && x < X + W && y < Y + H; }
  friend bool operator==(const TCellRect&, const TCellRect&) = default;
};
// The rectangle spanning two cells, both included.
TCellRect CellSpan(int x1, int y1, int x2, int y2);

// Whether cell (i, j) of a w × h rectangle belongs to the filled ellipse inscribed in it: the
// cell's centre lies inside (or on) the ellipse. Symmetric in both axes by construction.
bool EllipseCell(int w, int h, int i, int j);

// Neighbour re-shaping filters: the bits of a neighbour's mask that face the painted cell, in
// the order NW, N, NE, W, E, SW, S, SE.
inline constexpr std::array<int, 8> kFacingFilters = {4, 140, 8, 70, 25, 2, 35, 1};

// The tile clipboard block (format 562): width, height, then (lower, upper) pairs column by
// column, all 16-bit little-endian.
std::vector<std::uint8_t> EncodeTileBlock(const TVudMapLayer& lower, const TVudMapLayer& upper);
// False (layers untouched) for a malformed block: sizes outside 1..999 or a block too short.
bool DecodeTileBlock(const std::uint8_t* data, std::size_t size, TVudMapLayer& lower,
                     TVudMapLayer& upper);
// Top-left cell of a pasted block centred on the visible area.
void PasteOrigin(int visibleW, int visibleH, int scrollX, int scrollY, int cellSize, int blockW,
                 int blockH, int& left, int& top);

class TMapPaintEngine {
public:
  explicit TMapPaintEngine(TVudMap& map);
  TVudMap& Map() { return FMap; }

  // After another map was loaded or resized: sizes the buffers, drops the selection and
  // empties the undo history.
  void Reload();
  // Merge targets (lower tile index, -1 none) for the autotiles 6..17.
  void SetMergeTargets(const TVudChipSetGraphic& chips);
  void SetMergeTarget(int lowerIndex, int target);
  int MergeTarget(int lowerIndex) const;

  int Layer = emLower;  // the layer the tools draw on (0 lower, 1 upper)
  bool Shift = false;   // tiles stored exactly, no shaping
  bool Ctrl = false;    // the map edge counts as a different neighbour
  std::array<TVudCurrentChip, 4> Brushes;  // one per edit mode
  TVudCurrentChip& Brush() { return Brushes[std::size_t(Layer & 3)]; }

  // --- Strokes: brush position (top-left of the brush rectangle) and cursor cell ---
  void BeginStroke(int tool, int brushX, int brushY, int cellX, int cellY);
  void MoveStroke(int brushX, int brushY, int cellX, int cellY);
  // Release: painting tools push the state before the stroke and mark the map modified; the
  // select tool lifts the selection it spans.
  void EndStroke();
  // Another button pressed meanwhile: both layers come back from the backup.
  void CancelStroke();
  bool StrokeActive() const { return FTool >= 0; }
  int StrokeTool() const { return FTool; }

  // --- The single steps, public for the tests and the benchmarks ---
  void PaintCell(int x, int y, int tile, int filter, bool autoShape);
  // A brush cell: all bits, then the eight neighbours with their facing filters (lower layer).
  void PaintBrushCell(int x, int y, int tile);
  void ReshapeNeighbours(int x, int y);
  void Stamp(int x, int y);
  void Fill(int x, int y);
  // Lower tile index of a cell (wrapped where the map loops), -1 for no cell.
  int LowerIndexAt(int x, int y) const;

  // --- Backups: both layers as they were at the stroke's start ---
  void TakeBackup();
  const TVudMapLayer& Backup(int layer) const { return layer ? FBackupUpper : FBackupLower; }

  // --- Picking: the current mode's brush from a rectangle of the map (at most 6 × 6) ---
  TVudCurrentChip PickBrush(const TCellRect& rect) const;

  // --- Undo ---
  TVudMapEditUndoManager& UndoManager() { return FUndo; }
  bool Undo();

  // --- Selection ---
  const TCellRect& Selection() const { return FSelection; }
  bool SelectionLiftedNotMoved() const { return FLiftedNotMoved; }
  const TVudMapLayer& LiftedLower() const { return FLiftedLower; }
  const TVudMapLayer& LiftedUpper() const { return FLiftedUpper; }
  void DropSelection();
  // While the select tool drags out a rectangle (clamped to the map).
  void SetSelection(const TCellRect& rect);
  void LiftSelection();
  void MoveSelectionTo(int x, int y);
  // The right button during a drag: the moves are undone (only when they changed the map).
  void CancelSelectionDrag();
  void ClearSelection();
  std::vector<std::uint8_t> CopySelection() const;
  void CutSelection(std::vector<std::uint8_t>& block);
  // False (nothing changes) for a malformed block.
  bool Paste(const std::uint8_t* data, std::size_t size, int left, int top);
  void SelectAll();

private:
  bool loopX() const { return FMap.ScrollType == 2 || FMap.ScrollType == 3; }
  bool loopY() const { return FMap.ScrollType == 1 || FMap.ScrollType == 3; }
  // Brings a cell into the map on looping axes; false when it lies outside.
  bool wrapCell(int& x, int& y) const;
  TVudMapLayer& layer(int l) { return l ? FMap.UpperLayer : FMap.LowerLayer; }
  std::uint16_t patternTile(int x, int y) const;
  void shapeStep(const TCellRect& shape, bool ellipse);
  void setMask(int x, int y);
  void applyArea(const TCellRect& area, bool restore);
  void stampLine(int x0, int y0, int x1, int y1);
  std::uint16_t vacatingTile(int l) const;

  TVudMap& FMap;
  std::array<int, 18> FMergeTargets;
  TVudMapLayer FBackupLower{0}, FBackupUpper{10000};
  std::vector<std::uint8_t> FMask;  // one byte per cell: 0 clear, 1 set; then 1 edge, 2 inner
  TVudMapEditUndoManager FUndo;

  int FTool = -1;
  int FOriginX = 0, FOriginY = 0;  // where the brush pattern is anchored
  int FPrevX = 0, FPrevY = 0;      // previous brush position of a pen stroke
  int FStartX = 0, FStartY = 0;    // start cell of a shape
  TCellRect FShape;                // the shape drawn by the previous step

  TCellRect FSelection;
  TVudMapLayer FLiftedLower{0}, FLiftedUpper{10000};
  bool FLiftedNotMoved = false;
  bool FMovedSinceLift = false;
};
