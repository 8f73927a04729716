// The start position and event icons drawn on maps, one strip per cell size.
#pragma once

#include "VireoSheet.h"

#include <array>
#include <memory>

class TStartPosMark {
public:
  enum : int { iconParty = 0, iconBoat = 1, iconShip = 2, iconAirship = 3, iconEvent = 4 };
  static constexpr int IconCount = 5;

  // Draws the four strips (32, 16, 8 and 4 pixels per icon) with index 0 transparent.
  TStartPosMark();
  // The strip for a cell size; null for any other size.
  TVireoSheet* SheetFor(int cellSize);
  // Draws icon 0..4 at (x, y); opacity 128 with the marker flag, else opaque.
  void DrawIcon(TVireoBoard& board, int x, int y, int icon, bool marker, int cellSize);

private:
  std::array<std::unique_ptr<TVireoSheet>, 4> FSheets;
};
