// Drawing map cells into a board: the one routine that the map views and the command-line
// rasteriser share, so both produce the same pixels.
#pragma once

#include "VireoBitmap.h"
#include "VireoSheet.h"

#include <memory>
#include <string>

class TVudMap;
class TVudChipSetGraphic;
class TVudEventMap;

struct TMapDrawContext {
  const TVudMap* Map = nullptr;
  TVudChipSetGraphic* Chips = nullptr;
  TVireoSheet* Panorama = nullptr;  // null or empty: no panorama
  TVudEventMap* Events = nullptr;   // null: no markers
  int CellSize = 32;
  int Counter = 0;  // the map views always pass 0
};

// Whether the panorama shows under the lower layer: the map uses one, it measures exactly
// 16 pixels per cell and neither axis scrolls.
bool PanoramaShows(const TVudMap& map, const TVireoSheet* panorama);
// Loads the map's panorama (transparent, sized to the picture); an empty sheet when the map has
// none or it cannot be read.
std::unique_ptr<TVireoSheet> LoadPanorama(const TVudMap& map);

// Draws cell (column, row) at board pixel (x, y): panorama, lower tile, upper tile and the
// event marker. Cells outside the map are ignored.
void DrawMapCell(TVireoBoard& board, const TMapDrawContext& context, int column, int row, int x,
                 int y);
// The whole map into a board of map width × cell by map height × cell pixels.
void DrawMapPicture(TVireoBoard& board, const TMapDrawContext& context);

// A 24-bit picture of a board (5-6-5 expanded to 8 bits per channel), ready for SaveImageFile.
TVireoBitmap BoardToBitmap(const TVireoBoard& board);
