#include "MapEditUtils.h"

#include "GR_CharSet.h"
#include "GR_ChipSet.h"
#include "LD_MapTree.h"

#include <algorithm>

namespace {

// Copies the overlap of two layers, cell by cell.
void copyCells(TVudMapLayer& to, const TVudMapLayer& from, int width, int height) {
  const int w = std::min({width, to.Width, from.Width});
  const int h = std::min({height, to.Height, from.Height});
  for (int y = 0; y < h; ++y)
    std::copy_n(from.Cells.begin() + std::ptrdiff_t(y) * from.Width, w,
                to.Cells.begin() + std::ptrdiff_t(y) * to.Width);
}

constexpr std::uint16_t kWhite = 0xFFFF;

}  // namespace

void FillBoardRect(TVireoBoard& board, TVireoRect r, std::uint16_t color) {
  r.Left = std::max(r.Left, 0), r.Top = std::max(r.Top, 0);
  r.Right = std::min(r.Right, board.Width()), r.Bottom = std::min(r.Bottom, board.Height());
  for (int y = r.Top; y < r.Bottom; ++y)
    std::fill_n(board.ScanLine(y) + r.Left, std::max(r.Width(), 0), color);
}

// --- TVudMapEditUndoManager -----------------------------------------------------------------

TVudMapEditUndoManager::TVudMapEditUndoManager() {
  for (auto& layer : FUpper) layer.FillValue = 10000;
}

void TVudMapEditUndoManager::ResizeUndo(int width, int height) {
  width = std::max(width, 0), height = std::max(height, 0);
  for (int i = 0; i < Depth; ++i) {
    FLower[std::size_t(i)].Resize(width, height);
    FUpper[std::size_t(i)].Resize(width, height);
  }
}

void TVudMapEditUndoManager::PushMap(const TVudMap& map) {
  PushLayers(map, map.LowerLayer, map.UpperLayer);
}

void TVudMapEditUndoManager::PushLayers(const TVudMap& map, const TVudMapLayer& lower,
                                        const TVudMapLayer& upper) {
  copyCells(FLower[std::size_t(FNext)], lower, map.Width, map.Height);
  copyCells(FUpper[std::size_t(FNext)], upper, map.Width, map.Height);
  FNext = (FNext + 1) % Depth;
  FCount = std::min(FCount + 1, Depth);
}

bool TVudMapEditUndoManager::PopInto(TVudMap& map) {
  if (FCount <= 0) return false;
  // One step back on the ring, without a negative remainder.
  FNext = (FNext + Depth - 1) % Depth;
  --FCount;
  copyCells(map.LowerLayer, FLower[std::size_t(FNext)], map.Width, map.Height);
  copyCells(map.UpperLayer, FUpper[std::size_t(FNext)], map.Width, map.Height);
  return true;
}

// --- TVudEventMap ---------------------------------------------------------------------------

void TVudEventMap::BuildEventMap(const TVudMapTree* mapTree, const TVudMap* map) {
  FMapTree = mapTree;
  FMap = map;
  FWidth = map ? std::max(map->Width, 0) : 0;
  FHeight = map ? std::max(map->Height, 0) : 0;
  FGrid.assign(std::size_t(FWidth) * std::size_t(FHeight), 0);
  if (!map) return;
  auto inside = [&](int x, int y) { return x >= 0 && y >= 0 && x < FWidth && y < FHeight; };
  for (int i = 0; i < map->Events.Count(); ++i) {
    const TVudEventItem* e = map->Events.At(i);
    if (e && inside(e->X, e->Y) && e->ID > 0 && e->ID <= 0xFFFF)
      FGrid[std::size_t(e->Y) * std::size_t(FWidth) + std::size_t(e->X)] = std::uint16_t(e->ID);
  }
  if (!mapTree) return;
  const TVudMapStartPosition& start = mapTree->StartPosition;
  for (int slot = 0; slot < 4; ++slot) {
    if (start.MapID(slot) != mapTree->ActiveMapID || !inside(start.X(slot), start.Y(slot)))
      continue;
    FGrid[std::size_t(start.Y(slot)) * std::size_t(FWidth) + std::size_t(start.X(slot))] =
        std::uint16_t(spPartyCode + slot);
  }
}

int TVudEventMap::EventAt(int column, int row) const {
  if (column < 0 || row < 0 || column >= FWidth || row >= FHeight) return -1;
  return FGrid[std::size_t(row) * std::size_t(FWidth) + std::size_t(column)];
}

void TVudEventMap::DrawEventCell(TVireoBoard& board, int x, int y, int value, bool marker,
                                 int cellSize) {
  if (value >= spPartyCode && value <= spAirshipCode) {
    FMarks.DrawIcon(board, x, y, value - spPartyCode, marker, cellSize);
    return;
  }
  if (value <= 0) return;
  if (cellSize < 16 || marker) {
    FMarks.DrawIcon(board, x, y, TStartPosMark::iconEvent, marker, cellSize);
    return;
  }
  if (cellSize == 16 || cellSize == 32) drawEventPicture(board, x, y, value, cellSize);
}

void TVudEventMap::drawEventPicture(TVireoBoard& board, int x, int y, int eventID,
                                    int cellSize) {
  const bool small = cellSize == 16;
  if (small) FillBoardRect(board, {x + 1, y + 1, x + 14, y + 14}, kWhite);
  else FillBoardRect(board, {x + 4, y + 4, x + 27, y + 27}, kWhite);
  const TVudEventItem* event = FMap ? FMap->Events.Find(eventID) : nullptr;
  const TVudEventPageItem* page = nullptr;
  if (event) page = event->Pages.Find(1) ? event->Pages.Find(1) : event->Pages.At(0);
  if (!page) return;
  if (page->CharSetName.empty()) {
    if (!FChips) return;
    TVireoSheet& sheet = FChips->Sheet();
    const bool oldTransparent = sheet.Transparent;
    const int oldOpacity = sheet.Opacity;
    FChips->SetTransparentMode(true);
    sheet.Opacity = 255;
    const std::uint16_t back = sheet.ColorTable[0];
    const int tile = kUpperFirst + std::clamp(page->CharSetIndex, 0, kPlainTileCount - 1);
    if (small) {
      if (FScratch.Width() != 16) FScratch.SetSize(16, 16);
      FillBoardRect(FScratch, {0, 0, 16, 16}, back);
      FChips->DrawTile(FScratch, 0, 0, tile, 0, false, 16);
      board.CopyRect(x + 2, y + 2, {2, 2, 13, 13}, FScratch);
    } else {
      FillBoardRect(board, {x + 5, y + 5, x + 26, y + 26}, back);
      FChips->DrawTile(board, x + 8, y + 8, tile, 0, false, 16);
    }
    FChips->SetTransparentMode(oldTransparent);
    sheet.Opacity = oldOpacity;
    return;
  }
  const int index = FChars ? FChars->IndexOfCharSet(page->CharSetName) : -1;
  if (index < 0) return;
  TVireoSheet& sheet = FChars->CharSetSheet(index);
  const TVireoPoint o = TVudCharSetGraphic::CharacterOrigin(page->CharSetIndex);
  const int sx = o.X + 24 * std::clamp(page->Pattern, 0, 2);
  const int sy = o.Y + 32 * std::clamp(int(page->Direction), 0, 3);
  sheet.Transparent = false;
  sheet.Opacity = 255;
  if (small) board.DrawSheet(x + 2, y + 2, {sx + 6, sy + 9, sx + 17, sy + 20}, sheet);
  else board.DrawSheet(x + 5, y + 5, {sx + 1, sy + 6, sx + 22, sy + 27}, sheet);
}
