#include "MapDraw.h"

#include "GR_ChipSet.h"
#include "LD_Map.h"
#include "MapEditUtils.h"

bool PanoramaShows(const TVudMap& map, const TVireoSheet* panorama) {
  return map.UsePanorama && panorama && panorama->Width() > 0 &&
         panorama->Width() == map.Width * 16 && panorama->Height() == map.Height * 16 &&
         !map.PanoramaHScroll && !map.PanoramaVScroll;
}

std::unique_ptr<TVireoSheet> LoadPanorama(const TVudMap& map) {
  auto sheet = std::make_unique<TVireoSheet>();
  sheet->AutoSize = true;
  sheet->Transparent = true;
  if (map.UsePanorama && !map.PanoramaName.empty()) {
    const std::filesystem::path file = ResolveMaterial(map.PanoramaName, "Panorama");
    if (!file.empty()) sheet->LoadFromFile(file, false);
  }
  return sheet;
}

void DrawMapCell(TVireoBoard& board, const TMapDrawContext& c, int column, int row, int x,
                 int y) {
  const TVudMap* map = c.Map;
  if (!map || !c.Chips || column < 0 || row < 0 || column >= map->Width || row >= map->Height)
    return;
  const int s = c.CellSize;
  const int lower = map->LowerLayer.Get(column, row);
  const int upper = map->UpperLayer.Get(column, row);
  if (PanoramaShows(*map, c.Panorama)) {
    board.StretchSheet({x, y, x + s, y + s}, *c.Panorama,
                       {column * 16, row * 16, column * 16 + 16, row * 16 + 16});
    c.Chips->SetTransparentMode(true);
  } else {
    // A lower ID that draws nothing must not leave the cell's old picture behind.
    if (TileKindOf(lower) == TTileKind::None) FillBoardRect(board, {x, y, x + s, y + s}, 0);
    c.Chips->SetTransparentMode(false);
  }
  c.Chips->DrawTile(board, x, y, lower, c.Counter, false, s);
  c.Chips->SetTransparentMode(true);
  if (!c.Chips->SkipsTile(upper)) c.Chips->DrawTile(board, x, y, upper, c.Counter, false, s);
  if (c.Events) {
    const int value = c.Events->EventAt(column, row);
    if (value > 0) c.Events->DrawEventCell(board, x, y, value, true, s);
  }
}

void DrawMapPicture(TVireoBoard& board, const TMapDrawContext& c) {
  if (!c.Map) return;
  board.SetSize(c.Map->Width * c.CellSize, c.Map->Height * c.CellSize);
  for (int row = 0; row < c.Map->Height; ++row)
    for (int column = 0; column < c.Map->Width; ++column)
      DrawMapCell(board, c, column, row, column * c.CellSize, row * c.CellSize);
}

TVireoBitmap BoardToBitmap(const TVireoBoard& board) {
  TVireoBitmap out(board.Width(), board.Height(), 24);
  for (int y = 0; y < board.Height(); ++y) {
    const std::uint16_t* in = board.ScanLine(y);
    std::uint8_t* o = out.ScanLine(y);
    for (int x = 0; x < board.Width(); ++x) {
      const int r = in[x] >> 11, g = (in[x] >> 5) & 63, b = in[x] & 31;
      o[3 * x] = std::uint8_t(b << 3 | b >> 2);
      o[3 * x + 1] = std::uint8_t(g << 2 | g >> 4);
      o[3 * x + 2] = std::uint8_t(r << 3 | r >> 2);
    }
  }
  return out;
}
