#include "MapPaint.h"

#include "GR_ChipSet.h"

#include <algorithm>
#include <memory>

namespace {

// Lookups computed once at start-up: fills shape every cell of a layer.
struct TPaintTables {
  std::int16_t Lower[65536];     // lower tile index of every 16-bit ID
  std::uint8_t ShapeOf[256];     // shape of any mask
  std::uint8_t Normalised[256];  // normalised mask
  std::uint8_t MaskOf[50];       // normalised mask of a shape (47..49: none)
  TPaintTables() {
    for (int id = 0; id < 65536; ++id) Lower[id] = std::int16_t(LowerTileIndex(id));
    for (int m = 0; m < 256; ++m) {
      ShapeOf[m] = std::uint8_t(ShapeOfMask(m));
      Normalised[m] = std::uint8_t(NormaliseMask(m));
    }
    for (int sh = 0; sh < 50; ++sh) MaskOf[sh] = std::uint8_t(MaskOfShape(sh));
  }
};
const std::unique_ptr<const TPaintTables> gTables = std::make_unique<const TPaintTables>();

inline int lowerIndex(int tile) {
  return gTables->Lower[std::uint16_t(tile)];
}

// Neighbour order NW, N, NE, W, E, SW, S, SE.
constexpr int kDX[8] = {-1, 0, 1, -1, 1, -1, 0, 1};
constexpr int kDY[8] = {-1, -1, -1, 0, 0, 1, 1, 1};
constexpr int kBit[8] = {bmNW, bmN, bmNE, bmW, bmE, bmSW, bmS, bmSE};
enum { nNW, nN, nNE, nW, nE, nSW, nS, nSE };

// Deep corner quarters: the two sides and the corner neighbour of each, with its bit.
struct TQuarter {
  int SideA, SideB, Corner, CornerMask, Bit;
};
constexpr TQuarter kQuarters[4] = {{nN, nW, nNW, bmNW, 1},
                                   {nN, nE, nNE, bmNE, 2},
                                   {nS, nW, nSW, bmSW, 4},
                                   {nS, nE, nSE, bmSE, 8}};

int deepCornerBits(int kind, const int (&idx)[8], int mask) {
  int bits = 0;
  for (const TQuarter& q : kQuarters) {
    const bool set = kind < 2 ? idx[q.SideA] == 2 && idx[q.SideB] == 2 && !(mask & q.CornerMask)
                              : idx[q.SideA] < 2 && idx[q.SideB] < 2 && idx[q.Corner] < 2;
    if (set) bits |= q.Bit;
  }
  return bits;
}

void putWord(std::vector<std::uint8_t>& out, int value) {
  out.push_back(std::uint8_t(value & 0xFF));
  out.push_back(std::uint8_t((value >> 8) & 0xFF));
}

int getWord(const std::uint8_t* p) {
  return p[0] | (p[1] << 8);
}

}  // namespace

void TVudCurrentChip::SetSize(int width, int height) {
  Width = std::clamp(width, 1, MaxSide);
  Height = std::clamp(height, 1, MaxSide);
}

TCellRect CellSpan(int x1, int y1, int x2, int y2) {
  return {std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1) + 1, std::abs(y2 - y1) + 1};
}

bool EllipseCell(int w, int h, int i, int j) {
  // Doubled coordinates keep everything integral: centre offsets 2i + 1 - w against radii w, h.
  const std::int64_t dx = 2 * i + 1 - w, dy = 2 * j + 1 - h;
  const std::int64_t w2 = std::int64_t(w) * w, h2 = std::int64_t(h) * h;
  return dx * dx * h2 + dy * dy * w2 <= w2 * h2;
}

std::vector<std::uint8_t> EncodeTileBlock(const TVudMapLayer& lower, const TVudMapLayer& upper) {
  std::vector<std::uint8_t> out;
  out.reserve(4 + std::size_t(lower.Width) * std::size_t(lower.Height) * 4);
  putWord(out, lower.Width);
  putWord(out, lower.Height);
  for (int x = 0; x < lower.Width; ++x)
    for (int y = 0; y < lower.Height; ++y) {
      putWord(out, lower.Get(x, y));
      putWord(out, upper.Get(x, y));
    }
  return out;
}

bool DecodeTileBlock(const std::uint8_t* data, std::size_t size, TVudMapLayer& lower,
                     TVudMapLayer& upper) {
  if (!data || size < 4) return false;
  const int w = getWord(data), h = getWord(data + 2);
  if (w < 1 || h < 1 || w > 999 || h > 999) return false;
  if (size < 4 + std::size_t(w) * std::size_t(h) * 4) return false;
  lower.Resize(0, 0), upper.Resize(0, 0);
  lower.Resize(w, h), upper.Resize(w, h);
  const std::uint8_t* p = data + 4;
  for (int x = 0; x < w; ++x)
    for (int y = 0; y < h; ++y, p += 4) {
      lower.Set(x, y, std::uint16_t(getWord(p)));
      upper.Set(x, y, std::uint16_t(getWord(p + 2)));
    }
  return true;
}

void PasteOrigin(int visibleW, int visibleH, int scrollX, int scrollY, int cellSize, int blockW,
                 int blockH, int& left, int& top) {
  const int size = std::max(cellSize, 1);
  left = (visibleW / 2 + scrollX) / size - blockW / 2;
  top = (visibleH / 2 + scrollY) / size - blockH / 2;
}

// --- TMapPaintEngine ------------------------------------------------------------------------

TMapPaintEngine::TMapPaintEngine(TVudMap& map) : FMap(map) {
  FMergeTargets.fill(-1);
  for (auto& b : Brushes) b.SetSingle(0);
  Brushes[emLower].SetSingle(5000);
  Brushes[emUpper].SetSingle(10000);
  Brushes[emEvents].SetSingle(10000);
  Brushes[emNone].SetSingle(5000);
}

void TMapPaintEngine::Reload() {
  const int w = std::max(FMap.Width, 0), h = std::max(FMap.Height, 0);
  FBackupLower = FMap.LowerLayer;
  FBackupUpper = FMap.UpperLayer;
  FMask.assign(std::size_t(w) * std::size_t(h), 0);
  FUndo.ResizeUndo(w, h);
  FUndo.ClearHistory();
  FTool = -1;
  DropSelection();
}

void TMapPaintEngine::SetMergeTargets(const TVudChipSetGraphic& chips) {
  for (int k = 0; k < 18; ++k) FMergeTargets[std::size_t(k)] = chips.MergeTarget(k);
}

void TMapPaintEngine::SetMergeTarget(int lowerIndex, int target) {
  if (lowerIndex >= 6 && lowerIndex <= 17) FMergeTargets[std::size_t(lowerIndex)] = target;
}

int TMapPaintEngine::MergeTarget(int lowerIndex) const {
  return lowerIndex >= 0 && lowerIndex < 18 ? FMergeTargets[std::size_t(lowerIndex)] : -1;
}

bool TMapPaintEngine::wrapCell(int& x, int& y) const {
  const int w = FMap.LowerLayer.Width, h = FMap.LowerLayer.Height;
  if (w <= 0 || h <= 0) return false;
  if (x < 0 || x >= w) {
    if (!loopX()) return false;
    x = FloorMod(x, w);
  }
  if (y < 0 || y >= h) {
    if (!loopY()) return false;
    y = FloorMod(y, h);
  }
  return true;
}

int TMapPaintEngine::LowerIndexAt(int x, int y) const {
  if (!wrapCell(x, y)) return -1;
  return lowerIndex(FMap.LowerLayer.Cells[std::size_t(x) + std::size_t(y) * std::size_t(FMap.LowerLayer.Width)]);
}

std::uint16_t TMapPaintEngine::patternTile(int x, int y) const {
  return Brushes[std::size_t(Layer & 3)].At(x - FOriginX, y - FOriginY);
}

void TMapPaintEngine::PaintCell(int x, int y, int t, int filter, bool autoShape) {
  if (!wrapCell(x, y)) return;
  if (Layer == emUpper) {
    FMap.SetCell(1, x, y, std::uint16_t(t));
    return;
  }
  if (t < kPlainFirst && t % 50 == kShapeIcon) t -= kShapeIcon;
  const int k = lowerIndex(t);
  // Plain tiles have no shapes: only water, animated tiles and autotiles look around.
  if (autoShape && !Shift && k >= 0 && k < 18) {
    const int old = gTables->MaskOf[t % 50];
    const TVudMapLayer& lower = FMap.LowerLayer;
    const int w = lower.Width;
    int idx[8];
    bool inside[8];
    if (x > 0 && y > 0 && x < w - 1 && y < lower.Height - 1) {
      // Away from the edges the neighbours are plain offsets.
      const std::uint16_t* c = &lower.Cells[std::size_t(x) + std::size_t(y) * std::size_t(w)];
      for (int i = 0; i < 8; ++i) {
        idx[i] = lowerIndex(c[kDX[i] + std::ptrdiff_t(kDY[i]) * w]);
        inside[i] = true;
      }
    } else {
      for (int i = 0; i < 8; ++i) {
        int nx = x + kDX[i], ny = y + kDY[i];
        inside[i] = wrapCell(nx, ny);
        idx[i] = inside[i] ? lowerIndex(lower.Cells[std::size_t(nx) + std::size_t(ny) * std::size_t(w)]) : -1;
      }
    }
    int computed = 0;
    for (int i = 0; i < 8; ++i) {
      const int f = idx[i];
      const bool differs = (Ctrl && !inside[i]) ||
                           (f >= 0 && f != k && (f >= 18 || FMergeTargets[std::size_t(f)] != k) &&
                            !(k < 6 && f < 6));
      if (differs) computed |= kBit[i];
    }
    const int mask = gTables->Normalised[((computed & filter) | (old & ~filter)) & 0xFF];
    t = LowerTileBaseID(k) + gTables->ShapeOf[mask];
    if (k < 3) t += 50 * deepCornerBits(k, idx, mask);
  }
  FMap.SetCell(0, x, y, std::uint16_t(t));
}

void TMapPaintEngine::ReshapeNeighbours(int x, int y) {
  const TVudMapLayer& lower = FMap.LowerLayer;
  for (int i = 0; i < 8; ++i) {
    int nx = x + kDX[i], ny = y + kDY[i];
    if (!wrapCell(nx, ny)) continue;
    PaintCell(nx, ny, lower.Cells[std::size_t(nx) + std::size_t(ny) * std::size_t(lower.Width)],
              kFacingFilters[std::size_t(i)], true);
  }
}

void TMapPaintEngine::PaintBrushCell(int x, int y, int tile) {
  if (!wrapCell(x, y)) return;
  PaintCell(x, y, tile, 255, true);
  if (Layer == emLower && !Shift) ReshapeNeighbours(x, y);
}

void TMapPaintEngine::Stamp(int x, int y) {
  const TVudCurrentChip& b = Brushes[std::size_t(Layer & 3)];
  for (int j = 0; j < b.Height; ++j)
    for (int i = 0; i < b.Width; ++i) PaintBrushCell(x + i, y + j, patternTile(x + i, y + j));
}

void TMapPaintEngine::stampLine(int x0, int y0, int x1, int y1) {
  // Bresenham: one stamp per step along the major axis, the start already stamped.
  const int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
  const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  const int steps = std::max(dx, dy);
  int err = 0;
  int x = x0, y = y0;
  for (int s = 0; s < steps; ++s) {
    if (dx >= dy) {
      x += sx;
      err += dy;
      if (2 * err >= dx && dy) y += sy, err -= dx;
    } else {
      y += sy;
      err += dx;
      if (2 * err >= dy && dx) x += sx, err -= dy;
    }
    Stamp(x, y);
  }
}

void TMapPaintEngine::TakeBackup() {
  FBackupLower = FMap.LowerLayer;
  FBackupUpper = FMap.UpperLayer;
}

// --- Strokes --------------------------------------------------------------------------------

void TMapPaintEngine::BeginStroke(int tool, int brushX, int brushY, int cellX, int cellY) {
  if (tool < mtSelect || tool > mtFill || tool == mtZoom) return;
  if (FMask.size() != std::size_t(std::max(FMap.Width, 0)) * std::size_t(std::max(FMap.Height, 0)))
    Reload();
  TakeBackup();
  FTool = tool;
  FOriginX = brushX, FOriginY = brushY;
  FPrevX = brushX, FPrevY = brushY;
  FStartX = cellX, FStartY = cellY;
  FShape = {};
  switch (tool) {
    case mtSelect: DropSelection(); break;
    case mtPen: Stamp(brushX, brushY); break;
    case mtRectangle:
    case mtEllipse: shapeStep({cellX, cellY, 1, 1}, tool == mtEllipse); break;
    case mtFill: Fill(cellX, cellY); break;
    default: break;
  }
}

void TMapPaintEngine::MoveStroke(int brushX, int brushY, int cellX, int cellY) {
  switch (FTool) {
    case mtPen:
      if (brushX == FPrevX && brushY == FPrevY) return;
      stampLine(FPrevX, FPrevY, brushX, brushY);
      FPrevX = brushX, FPrevY = brushY;
      break;
    case mtRectangle:
    case mtEllipse: {
      const TCellRect shape = CellSpan(FStartX, FStartY, cellX, cellY);
      if (shape != FShape) shapeStep(shape, FTool == mtEllipse);
      break;
    }
    default: break;
  }
}

void TMapPaintEngine::EndStroke() {
  const int tool = FTool;
  FTool = -1;
  if (tool >= mtPen) {
    FUndo.PushLayers(FMap, FBackupLower, FBackupUpper);
    FMap.Modified = true;
  } else if (tool == mtSelect && !FSelection.Empty()) {
    LiftSelection();
  }
}

void TMapPaintEngine::CancelStroke() {
  if (FTool < 0) return;
  const bool selecting = FTool == mtSelect;
  FTool = -1;
  if (selecting) {
    DropSelection();
    return;
  }
  const int w = FMap.LowerLayer.Width, h = FMap.LowerLayer.Height;
  for (int l = 0; l < 2; ++l) {
    const TVudMapLayer& from = Backup(l);
    if (from.Width != w || from.Height != h) continue;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        FMap.SetCell(l, x, y, from.Cells[std::size_t(x) + std::size_t(y) * std::size_t(w)]);
  }
}

// --- Shapes and fills through the mask ------------------------------------------------------

void TMapPaintEngine::setMask(int x, int y) {
  if (wrapCell(x, y)) FMask[std::size_t(x) + std::size_t(y) * std::size_t(FMap.Width)] = 1;
}

void TMapPaintEngine::shapeStep(const TCellRect& shape, bool ellipse) {
  const int mw = FMap.Width, mh = FMap.Height;
  if (mw <= 0 || mh <= 0) return;
  // The old and the new shape grown by one cell, so that reshaped neighbours come back too.
  TCellRect area = shape;
  if (!FShape.Empty()) {
    const int l = std::min(area.X, FShape.X), t = std::min(area.Y, FShape.Y);
    const int r = std::max(area.X + area.W, FShape.X + FShape.W);
    const int b = std::max(area.Y + area.H, FShape.Y + FShape.H);
    area = {l, t, r - l, b - t};
  }
  area = {area.X - 1, area.Y - 1, area.W + 2, area.H + 2};
  // Looping axes wrap (the whole axis at most); others are clipped to the map.
  auto fit = [](int& pos, int& len, int size, bool loop) {
    if (loop && len >= size) pos = 0, len = size;
    if (!loop) {
      const int a = std::max(pos, 0), b = std::min(pos + len, size);
      pos = a, len = std::max(b - a, 0);
    }
  };
  fit(area.X, area.W, mw, loopX());
  fit(area.Y, area.H, mh, loopY());
  const bool round = ellipse && shape.W > 2 && shape.H > 2;
  for (int j = 0; j < shape.H; ++j)
    for (int i = 0; i < shape.W; ++i)
      if (!round || EllipseCell(shape.W, shape.H, i, j)) setMask(shape.X + i, shape.Y + j);
  applyArea(area, true);
  for (int y = area.Y; y < area.Y + area.H; ++y)
    for (int x = area.X; x < area.X + area.W; ++x)
      FMask[std::size_t(FloorMod(x, mw)) + std::size_t(FloorMod(y, mh)) * std::size_t(mw)] = 0;
  FShape = shape;
}

void TMapPaintEngine::applyArea(const TCellRect& area, bool restore) {
  const int mw = FMap.Width, mh = FMap.Height;
  auto at = [&](int x, int y) -> std::uint8_t& {
    return FMask[std::size_t(x) + std::size_t(y) * std::size_t(mw)];
  };
  // a. Edge (1) or inner (2): inner cells have all eight neighbours set, across the edges.
  for (int ay = area.Y; ay < area.Y + area.H; ++ay) {
    const int y = FloorMod(ay, mh);
    const bool innerRow = y > 0 && y < mh - 1;
    for (int ax = area.X; ax < area.X + area.W; ++ax) {
      const int x = FloorMod(ax, mw);
      std::uint8_t& m = at(x, y);
      if (!m) continue;
      bool all = true;
      if (innerRow && x > 0 && x < mw - 1) {
        const std::uint8_t* p = &m;
        const std::ptrdiff_t s = mw;
        all = p[-s - 1] && p[-s] && p[-s + 1] && p[-1] && p[1] && p[s - 1] && p[s] && p[s + 1];
      } else {
        for (int i = 0; i < 8 && all; ++i)
          all = at(FloorMod(x + kDX[i], mw), FloorMod(y + kDY[i], mh)) != 0;
      }
      m = all ? 2 : 1;
    }
  }
  // b. New kinds go down first, so that shaping sees them on every marked cell; a dragged
  // shape's previous cells come back from the backup.
  const TVudMapLayer& backup = Backup(Layer);
  for (int ay = area.Y; ay < area.Y + area.H; ++ay) {
    const int y = FloorMod(ay, mh);
    for (int ax = area.X; ax < area.X + area.W; ++ax) {
      const int x = FloorMod(ax, mw);
      if (at(x, y)) {
        if (Layer != emLower) continue;
        const int kb = lowerIndex(patternTile(ax, ay));
        if (kb >= 0 && kb <= 17 && LowerIndexAt(x, y) != kb)
          FMap.SetCell(0, x, y, std::uint16_t(LowerTileBaseID(kb) + 48));
      } else if (restore) {
        FMap.SetCell(Layer, x, y, std::uint16_t(backup.Get(x, y)));
      }
    }
  }
  // c. Edge cells reshape their neighbours; inner cells have only marked neighbours.
  for (int ay = area.Y; ay < area.Y + area.H; ++ay) {
    const int y = FloorMod(ay, mh);
    for (int ax = area.X; ax < area.X + area.W; ++ax) {
      const int x = FloorMod(ax, mw);
      const std::uint8_t m = at(x, y);
      if (m == 1) PaintBrushCell(x, y, patternTile(ax, ay));
      else if (m == 2) PaintCell(x, y, patternTile(ax, ay), 255, true);
    }
  }
}

void TMapPaintEngine::Fill(int x, int y) {
  if (!wrapCell(x, y)) return;
  const int mw = FMap.Width, mh = FMap.Height;
  const TVudMapLayer& from = Backup(Layer);
  const bool lowerMode = Layer == emLower;
  auto classOf = [&](std::size_t c) {
    const int t = from.Cells[c];
    return lowerMode ? lowerIndex(t) : t;
  };
  const std::size_t start = std::size_t(x) + std::size_t(y) * std::size_t(mw);
  const int cls = classOf(start);
  // Iterative 4-connected flood; the mask doubles as the visited mark.
  std::vector<std::uint32_t> stack{std::uint32_t(start)};
  FMask[start] = 1;
  int left = x, right = x, top = y, bottom = y;
  while (!stack.empty()) {
    const std::size_t c = stack.back();
    stack.pop_back();
    const int cx = int(c % std::size_t(mw)), cy = int(c / std::size_t(mw));
    left = std::min(left, cx), right = std::max(right, cx);
    top = std::min(top, cy), bottom = std::max(bottom, cy);
    auto visit = [&](std::size_t n) {
      if (!FMask[n] && classOf(n) == cls) {
        FMask[n] = 1;
        stack.push_back(std::uint32_t(n));
      }
    };
    if (cx > 0) visit(c - 1);
    if (cx < mw - 1) visit(c + 1);
    if (cy > 0) visit(c - std::size_t(mw));
    if (cy < mh - 1) visit(c + std::size_t(mw));
  }
  const TCellRect area{left, top, right - left + 1, bottom - top + 1};
  applyArea(area, false);
  for (int yy = area.Y; yy < area.Y + area.H; ++yy)
    std::fill_n(FMask.begin() + std::ptrdiff_t(yy) * mw + area.X, area.W, std::uint8_t(0));
}

// --- Picking --------------------------------------------------------------------------------

TVudCurrentChip TMapPaintEngine::PickBrush(const TCellRect& rect) const {
  TVudCurrentChip brush;
  brush.SetSize(rect.W, rect.H);
  const TVudMapLayer& from = Layer == emUpper ? FMap.UpperLayer : FMap.LowerLayer;
  for (int i = 0; i < brush.Width; ++i)
    for (int j = 0; j < brush.Height; ++j) {
      int t = from.Get(rect.X + i, rect.Y + j);
      if (t < 0) t = from.FillValue;
      // Picked water and autotiles shape themselves again where they are painted.
      if (Layer == emLower && !Shift) {
        const int k = lowerIndex(t);
        if (k >= 0 && k <= 17) t = LowerTileBaseID(k) + kShapeIcon;
      }
      brush.Set(i, j, std::uint16_t(t));
    }
  return brush;
}

// --- Undo -----------------------------------------------------------------------------------

bool TMapPaintEngine::Undo() {
  if (FUndo.Count() <= 0) return false;
  FUndo.PopInto(FMap);
  DropSelection();
  FMap.CellsChanged(0, 0, FMap.Width, FMap.Height);
  return true;
}

// --- Selection ------------------------------------------------------------------------------

void TMapPaintEngine::DropSelection() {
  FSelection = {};
  FLiftedNotMoved = false;
  FMovedSinceLift = false;
}

void TMapPaintEngine::SetSelection(const TCellRect& rect) {
  const int l = std::clamp(rect.X, 0, FMap.Width), t = std::clamp(rect.Y, 0, FMap.Height);
  const int r = std::clamp(rect.X + rect.W, 0, FMap.Width);
  const int b = std::clamp(rect.Y + rect.H, 0, FMap.Height);
  FSelection = r > l && b > t ? TCellRect{l, t, r - l, b - t} : TCellRect{};
}

std::uint16_t TMapPaintEngine::vacatingTile(int l) const {
  if (l == emUpper) return 10000;
  int t = Brushes[emLower].At(0, 0);
  const int k = lowerIndex(t);
  if (k >= 0 && k <= 17) t = LowerTileBaseID(k);
  return std::uint16_t(t);
}

void TMapPaintEngine::LiftSelection() {
  if (FSelection.Empty()) return;
  const TCellRect& s = FSelection;
  FLiftedLower.Resize(0, 0), FLiftedUpper.Resize(0, 0);
  FLiftedLower.Resize(s.W, s.H), FLiftedUpper.Resize(s.W, s.H);
  for (int j = 0; j < s.H; ++j)
    for (int i = 0; i < s.W; ++i) {
      FLiftedLower.Set(i, j, std::uint16_t(FMap.LowerLayer.Get(s.X + i, s.Y + j)));
      FLiftedUpper.Set(i, j, std::uint16_t(FMap.UpperLayer.Get(s.X + i, s.Y + j)));
      FBackupLower.Set(s.X + i, s.Y + j, vacatingTile(emLower));
      FBackupUpper.Set(s.X + i, s.Y + j, vacatingTile(emUpper));
    }
  FLiftedNotMoved = true;
  FMovedSinceLift = false;
}

void TMapPaintEngine::MoveSelectionTo(int x, int y) {
  if (FSelection.Empty() || (x == FSelection.X && y == FSelection.Y)) return;
  if (FLiftedNotMoved) {
    FUndo.PushMap(FMap);
    FMap.Modified = true;
    FLiftedNotMoved = false;
  }
  FMovedSinceLift = true;
  const TCellRect old = FSelection;
  const TCellRect now{x, y, old.W, old.H};
  for (int j = 0; j < old.H; ++j)
    for (int i = 0; i < old.W; ++i) {
      const int cx = old.X + i, cy = old.Y + j;
      if (now.Contains(cx, cy)) continue;
      FMap.SetCell(0, cx, cy, std::uint16_t(FBackupLower.Get(cx, cy)));
      FMap.SetCell(1, cx, cy, std::uint16_t(FBackupUpper.Get(cx, cy)));
    }
  for (int j = 0; j < now.H; ++j)
    for (int i = 0; i < now.W; ++i) {
      FMap.SetCell(0, now.X + i, now.Y + j, std::uint16_t(FLiftedLower.Get(i, j)));
      FMap.SetCell(1, now.X + i, now.Y + j, std::uint16_t(FLiftedUpper.Get(i, j)));
    }
  FSelection = now;
}

void TMapPaintEngine::CancelSelectionDrag() {
  // Only a drag that pushed the map can be taken back; an unmoved selection changed nothing.
  if (FMovedSinceLift && FUndo.Count() > 0) {
    FUndo.PopInto(FMap);
    FUndo.PushMap(FMap);
    FMap.CellsChanged(0, 0, FMap.Width, FMap.Height);
  }
  DropSelection();
}

void TMapPaintEngine::ClearSelection() {
  if (FSelection.Empty()) return;
  FUndo.PushMap(FMap);
  FMap.Modified = true;
  const TCellRect s = FSelection;
  for (int j = 0; j < s.H; ++j)
    for (int i = 0; i < s.W; ++i) {
      const int cx = s.X + i, cy = s.Y + j;
      if (cx < 0 || cy < 0 || cx >= FMap.Width || cy >= FMap.Height) continue;
      FMap.SetCell(0, cx, cy, std::uint16_t(FBackupLower.Get(cx, cy)));
      FMap.SetCell(1, cx, cy, std::uint16_t(FBackupUpper.Get(cx, cy)));
    }
  DropSelection();
}

std::vector<std::uint8_t> TMapPaintEngine::CopySelection() const {
  if (FSelection.Empty()) return {};
  return EncodeTileBlock(FLiftedLower, FLiftedUpper);
}

void TMapPaintEngine::CutSelection(std::vector<std::uint8_t>& block) {
  block = CopySelection();
  ClearSelection();
}

bool TMapPaintEngine::Paste(const std::uint8_t* data, std::size_t size, int left, int top) {
  TVudMapLayer lower{0}, upper{10000};
  if (!DecodeTileBlock(data, size, lower, upper)) return false;
  TakeBackup();
  FUndo.PushMap(FMap);
  FMap.Modified = true;
  for (int j = 0; j < lower.Height; ++j)
    for (int i = 0; i < lower.Width; ++i) {
      FMap.SetCell(0, left + i, top + j, std::uint16_t(lower.Get(i, j)));
      FMap.SetCell(1, left + i, top + j, std::uint16_t(upper.Get(i, j)));
    }
  FSelection = {left, top, lower.Width, lower.Height};
  FLiftedLower = std::move(lower);
  FLiftedUpper = std::move(upper);
  FLiftedNotMoved = false;
  FMovedSinceLift = true;
  return true;
}

void TMapPaintEngine::SelectAll() {
  DropSelection();
  // The backup must be the map as it is now, whatever happened since the last press.
  TakeBackup();
  SetSelection({0, 0, FMap.Width, FMap.Height});
  LiftSelection();
}
