// Two companions of the map views: the three-step undo ring of a map's tile layers and the
// per-cell index of events and start positions, with the drawing of those cells.
#pragma once

#include "LD_Map.h"
#include "StartPos.h"
#include "VireoSheet.h"

#include <array>
#include <cstdint>
#include <vector>

class TVudMapTree;
class TVudChipSetGraphic;
class TVudCharSetGraphic;

// Fills a rectangle of a board with one 5-6-5 colour, clipped.
void FillBoardRect(TVireoBoard& board, TVireoRect rect, std::uint16_t color);

class TVudMapEditUndoManager {
public:
  static constexpr int Depth = 3;

  TVudMapEditUndoManager();
  void ResizeUndo(int width, int height);
  // Stores the state before a change; the oldest of three is overwritten.
  void PushMap(const TVudMap& map);
  void PushLayers(const TVudMap& map, const TVudMapLayer& lower, const TVudMapLayer& upper);
  // Restores the newest stored state into the map; false (map untouched) when none is left.
  bool PopInto(TVudMap& map);
  int Count() const { return FCount; }
  // The owner empties the history after saving, reverting or loading another map.
  void ClearHistory() { FCount = 0; }
  int NextSlot() const { return FNext; }

private:
  std::array<TVudMapLayer, Depth> FLower;
  std::array<TVudMapLayer, Depth> FUpper;
  int FNext = 0;
  int FCount = 0;
};

class TVudEventMap {
public:
  // Grid values of the start positions.
  enum : int { spPartyCode = 60001, spBoatCode, spShipCode, spAirshipCode };

  void BuildEventMap(const TVudMapTree* mapTree, const TVudMap* map);
  // The grid value at a cell; -1 outside the map.
  int EventAt(int column, int row) const;
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }

  // Where event pictures come from; both may be null (then only icons are drawn).
  void SetGraphics(TVudChipSetGraphic* chips, TVudCharSetGraphic* chars) {
    FChips = chips;
    FChars = chars;
  }
  void DrawEventCell(TVireoBoard& board, int x, int y, int value, bool marker, int cellSize);
  TStartPosMark& Marks() { return FMarks; }

private:
  void drawEventPicture(TVireoBoard& board, int x, int y, int eventID, int cellSize);

  const TVudMapTree* FMapTree = nullptr;
  const TVudMap* FMap = nullptr;
  int FWidth = 0, FHeight = 0;
  std::vector<std::uint16_t> FGrid;
  TStartPosMark FMarks;
  TVireoBoard FScratch;
  TVudChipSetGraphic* FChips = nullptr;
  TVudCharSetGraphic* FChars = nullptr;
};
