#include "GR_ChipSet.h"

#include "LD_ChipSet.h"
#include "VudError.h"

#include <algorithm>
#include <cctype>
#include <system_error>

namespace {

// Normalised masks in shape order; the position in this list is the shape index.
constexpr std::array<std::uint8_t, 47> kShapeMasks = {
    0,   1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  11,  12,  13,  14,  15,
    25,  27,  29,  31,  35,  39,  43,  47,  70,  78,  71,  79,  140, 141, 142, 143,
    95,  175, 59,  63,  103, 111, 206, 207, 157, 159, 127, 191, 223, 239, 255};

// Shape of every normalised mask (-1 for masks normalisation never yields).
constexpr std::array<std::int8_t, 256> makeShapeOfMask() {
  std::array<std::int8_t, 256> table{};
  for (auto& v : table) v = -1;
  for (int s = 0; s < 47; ++s) table[kShapeMasks[s]] = std::int8_t(s);
  return table;
}
constexpr std::array<std::int8_t, 256> kShapeOfMask = makeShapeOfMask();

constexpr std::array<TVireoPoint, kAutotileCount> kAutotileBlocks = {{
    {0, 128}, {48, 128}, {0, 192}, {48, 192}, {96, 0}, {144, 0},
    {96, 64}, {144, 64}, {96, 128}, {144, 128}, {96, 192}, {144, 192}}};

struct TQuarterSides {
  bool Horizontal, Vertical, Corner;
};

// What the shape says about the three neighbours that touch one quarter.
TQuarterSides quarterSides(int mask, int qx, int qy) {
  const int horizontal = qx == 0 ? bmW : bmE;
  const int vertical = qy == 0 ? bmN : bmS;
  static constexpr int corners[2][2] = {{bmNW, bmNE}, {bmSW, bmSE}};
  return {(mask & horizontal) != 0, (mask & vertical) != 0, (mask & corners[qy][qx]) != 0};
}

// Column (or row) 0, 1, 2 of the 3 × 3 border set for one axis of a quarter.
int borderSetIndex(int mask, bool ownIsLow, int lowBit, int highBit) {
  const bool low = (mask & lowBit) != 0, high = (mask & highBit) != 0;
  const bool own = ownIsLow ? low : high;
  if (own) return ownIsLow ? 0 : 2;
  const bool opposite = ownIsLow ? high : low;
  if (opposite) return ownIsLow ? 2 : 0;
  return 1;
}

int normalisedShape(int tileID) {
  const int shape = tileID % 50;
  return shape == 47 || shape == 48 ? 0 : shape;
}

std::filesystem::path& noPath() {
  static std::filesystem::path empty;
  return empty;
}

TMaterialResolver& resolverSlot() {
  static TMaterialResolver resolver;
  return resolver;
}

bool sameNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::tolower(x) == std::tolower(y);
         });
}

}  // namespace

// --- Tile ID ranges -------------------------------------------------------------------------

TTileKind TileKindOf(int tileID) {
  if (tileID < 0) return TTileKind::None;
  if (tileID < kAnimatedFirst) return TTileKind::Water;
  if (tileID < kAnimatedEnd) return TTileKind::Animated;
  if (tileID < kAutotileFirst) return TTileKind::None;
  if (tileID < kAutotileEnd) return TTileKind::Autotile;
  if (tileID < kPlainFirst) return TTileKind::None;
  if (tileID < kPlainEnd) return TTileKind::Plain;
  if (tileID < kUpperFirst) return TTileKind::None;
  if (tileID < kUpperEnd) return TTileKind::Upper;
  return TTileKind::None;
}

int LowerTileIndex(int tileID) {
  switch (TileKindOf(tileID)) {
    case TTileKind::Water: return tileID / 1000;
    case TTileKind::Animated: return (tileID - kAnimatedFirst) / 50 + 3;
    case TTileKind::Autotile: return (tileID - kAutotileFirst) / 50 + 6;
    case TTileKind::Plain: return tileID - 4982;
    default: return -1;
  }
}

int LowerTileBaseID(int lowerIndex) {
  if (lowerIndex < 0 || lowerIndex >= kLowerTileCount) return -1;
  if (lowerIndex < 3) return lowerIndex * 1000;
  if (lowerIndex < 6) return 2850 + 50 * lowerIndex;
  if (lowerIndex <= 17) return 3700 + 50 * lowerIndex;
  return lowerIndex + 4982;
}

// --- Shapes ---------------------------------------------------------------------------------

int NormaliseMask(int mask) {
  mask &= 0xFF;
  if (mask & (bmN | bmW)) mask |= bmNW;
  if (mask & (bmN | bmE)) mask |= bmNE;
  if (mask & (bmS | bmE)) mask |= bmSE;
  if (mask & (bmS | bmW)) mask |= bmSW;
  return mask;
}

int ShapeOfMask(int mask) {
  return kShapeOfMask[std::size_t(NormaliseMask(mask))];
}

int MaskOfShape(int shape) {
  return shape >= 0 && shape < 47 ? kShapeMasks[std::size_t(shape)] : 0;
}

TQuarterPieces AutotilePieces(int shape) {
  if (shape == kShapeIcon) return {{{0, 0}, {1, 0}, {0, 1}, {1, 1}}};
  const int mask = MaskOfShape(shape);
  TQuarterPieces pieces;
  for (int q = 0; q < 4; ++q) {
    const int qx = q & 1, qy = q >> 1;
    const TQuarterSides s = quarterSides(mask, qx, qy);
    if (!s.Horizontal && !s.Vertical && s.Corner) {
      pieces[q] = {4 + qx, qy};
      continue;
    }
    const int column = borderSetIndex(mask, qx == 0, bmW, bmE);
    const int row = borderSetIndex(mask, qy == 0, bmN, bmS);
    pieces[q] = {2 * column + qx, 2 + 2 * row + qy};
  }
  return pieces;
}

TQuarterPieces WaterPieces(int kind, int shape, int deepCorners) {
  kind = std::clamp(kind, 0, 2);
  TQuarterPieces pieces;
  if (shape == kShapeIcon) {
    static constexpr int iconColumn[3] = {0, 6, 0}, iconRow[3] = {0, 0, 12};
    for (int q = 0; q < 4; ++q)
      pieces[q] = {iconColumn[kind] + (q & 1), iconRow[kind] + (q >> 1)};
  } else {
    const int mask = MaskOfShape(shape);
    for (int q = 0; q < 4; ++q) {
      const int qx = q & 1, qy = q >> 1;
      const TQuarterSides s = quarterSides(mask, qx, qy);
      const int code = s.Horizontal && s.Vertical ? 0
                       : s.Horizontal             ? 1
                       : s.Vertical               ? 2
                       : s.Corner                 ? 3
                                                  : 4;
      TPiece p{qx, 2 * code + qy};
      if (kind == 1 && code < 4) p.X += 6;
      if (kind == 2 && code == 4) p.Y = 14 + qy;
      pieces[q] = p;
    }
  }
  for (int q = 0; q < 4; ++q)
    if (deepCorners & (1 << q)) pieces[q] = {q & 1, (kind == 2 ? 12 : 10) + (q >> 1)};
  return pieces;
}

int WaterFrame(int counter, int waterSpeed, int waterSequence) {
  const int steps = std::max(counter, 0) / (waterSpeed != 0 ? 12 : 24);
  if (waterSequence != 0) return steps % 3;
  static constexpr int pingPong[4] = {0, 1, 2, 1};
  return pingPong[steps % 4];
}

int AnimatedFrame(int counter) {
  return std::max(counter, 0) / 6 % 4;
}

TVireoPoint AutotileBlockOrigin(int block) {
  return kAutotileBlocks[std::size_t(std::clamp(block, 0, kAutotileCount - 1))];
}

TVireoPoint PlainTileOrigin(int k) {
  k = std::clamp(k, 0, kPlainTileCount - 1);
  return {192 + 96 * (k / 96) + 16 * (k % 6), 16 * ((k % 96) / 6)};
}

TVireoPoint UpperTileOrigin(int k) {
  const int j = std::clamp(k, 0, kPlainTileCount - 1) + 48;
  return {288 + 96 * (j / 96) + 16 * (j % 6), 16 * ((j % 96) / 6)};
}

// --- Materials ------------------------------------------------------------------------------

void SetMaterialResolver(TMaterialResolver resolver) {
  resolverSlot() = std::move(resolver);
}

std::filesystem::path ResolveMaterial(const std::string& name, const std::string& folder) {
  if (name.empty() || !resolverSlot()) return noPath();
  return resolverSlot()(name, folder);
}

std::filesystem::path UnresolvedMaterialPath(const std::string& name) {
  if (name.empty() || name == "." || name == ".." || name.find_first_of("/\\") != std::string::npos)
    return {};
  return name;
}

std::filesystem::path ResolveMaterialIn(const std::filesystem::path& project,
                                        const std::string& name, const std::string& folder) {
  if (name.empty() || name == "." || name == ".." ||
      name.find_first_of("/\\") != std::string::npos)
    return {};
  const std::filesystem::path dir = project / folder;
  std::error_code ec;
  for (const char* ext : {"bmp", "png", "xyz"}) {
    const std::string wanted = name + "." + ext;
    if (std::filesystem::is_regular_file(dir / wanted, ec)) return dir / wanted;
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end;
         it.increment(ec)) {
      if (sameNoCase(it->path().filename().string(), wanted) && it->is_regular_file(ec))
        return it->path();
    }
  }
  return {};
}

// --- TVudChipSetGraphic ---------------------------------------------------------------------

TVudChipSetGraphic::TVudChipSetGraphic() {
  FSheet.SetSize(ImageWidth, ImageHeight);
  FDimmed.SetSize(ImageWidth, ImageHeight);
  FDimmed.ColorControl1.SetColor(90, 90, 90, 60, true);
  ComputeProperties();
}

void TVudChipSetGraphic::SetChipSet(const TVudChipSetItem* chipSet) {
  FChipSet = chipSet;
  LoadChipSetImage(chipSet ? chipSet->ChipSetName : std::string());
}

void TVudChipSetGraphic::LoadChipSetImage(const std::string& name) {
  if (name == FImageName) return;
  std::filesystem::path file = ResolveMaterial(name, "ChipSet");
  if (file.empty()) file = UnresolvedMaterialPath(name);
  LoadChipSetFile(file, name);
}

void TVudChipSetGraphic::LoadChipSetFile(const std::filesystem::path& fileName,
                                         const std::string& name) {
  FImageName = name;
  loadInto(fileName);
}

void TVudChipSetGraphic::loadInto(const std::filesystem::path& file) {
  FSheet.Clear();
  FDimmed.Clear();
  try {
    if (!file.empty()) {
      FDimmed.LoadFromFile(file, false);
      FSheet.LoadFromFile(file, !LenientMode());
    }
  } catch (...) {
    ComputeProperties();
    throw;
  }
  ComputeProperties();
}

void TVudChipSetGraphic::Clear() {
  FChipSet = nullptr;
  FImageName.clear();
  FSheet.Clear();
  FDimmed.Clear();
  ComputeProperties();
}

void TVudChipSetGraphic::SetTransparentMode(bool on) {
  FSheet.Transparent = on;
  FDimmed.Transparent = on;
}

void TVudChipSetGraphic::SetOpacityLevel(int level) {
  const int opacity = std::clamp(255 - 30 * level, 0, 255);
  FSheet.Opacity = opacity;
  FDimmed.Opacity = opacity;
}

void TVudChipSetGraphic::ComputeProperties() {
  for (int k = 0; k < kPlainTileCount; ++k) {
    const TVireoPoint p = PlainTileOrigin(k), u = UpperTileOrigin(k);
    FPlainTransparent[k] = FSheet.IsAllTransparent({p.X, p.Y, p.X + 16, p.Y + 16});
    FUpperTransparent[k] = FSheet.IsAllTransparent({u.X, u.Y, u.X + 16, u.Y + 16});
  }
  for (int i = 0; i < kAutotileCount; ++i) {
    const TVireoPoint b = kAutotileBlocks[i];
    FMergeTarget[i] = -1;
    for (int j = 0; j < kAutotileCount; ++j) {
      const TVireoPoint t = kAutotileBlocks[j];
      if (FSheet.SameContent({b.X + 16, b.Y, b.X + 32, b.Y + 16},
                             {t.X, t.Y, t.X + 16, t.Y + 16})) {
        FMergeTarget[i] = j;
        break;
      }
    }
  }
}

int TVudChipSetGraphic::MergeTarget(int lowerIndex) const {
  if (lowerIndex < 6 || lowerIndex > 17) return -1;
  const int target = FMergeTarget[std::size_t(lowerIndex - 6)];
  return target < 0 ? -1 : target + 6;
}

bool TVudChipSetGraphic::PlainTransparent(int tile) const {
  return tile >= 0 && tile < kPlainTileCount && FPlainTransparent[std::size_t(tile)];
}

bool TVudChipSetGraphic::UpperTransparent(int tile) const {
  return tile >= 0 && tile < kPlainTileCount && FUpperTransparent[std::size_t(tile)];
}

bool TVudChipSetGraphic::SkipsTile(int tileID) const {
  switch (TileKindOf(tileID)) {
    case TTileKind::None: return true;
    case TTileKind::Upper:
      return FSheet.Transparent && UpperTransparent(std::min(tileID - kUpperFirst, 143));
    case TTileKind::Plain: return FSheet.Transparent && PlainTransparent(tileID - kPlainFirst);
    default: return false;
  }
}

void TVudChipSetGraphic::drawPieces(TVireoBoard& board, int x, int y,
                                    const TQuarterPieces& p, int originX, int originY,
                                    TVireoSheet& sheet, int cellSize) {
  const int half = cellSize / 2;
  if (half <= 0) return;
  const bool aligned = p[1] == TPiece{p[0].X + 1, p[0].Y} &&
                       p[2] == TPiece{p[0].X, p[0].Y + 1} &&
                       p[3] == TPiece{p[0].X + 1, p[0].Y + 1};
  if (aligned) {
    const int sx = originX + 8 * p[0].X, sy = originY + 8 * p[0].Y;
    board.StretchSheet({x, y, x + 2 * half, y + 2 * half}, sheet, {sx, sy, sx + 16, sy + 16});
    return;
  }
  for (int q = 0; q < 4; ++q) {
    const int dx = x + half * (q & 1), dy = y + half * (q >> 1);
    const int sx = originX + 8 * p[q].X, sy = originY + 8 * p[q].Y;
    board.StretchSheet({dx, dy, dx + half, dy + half}, sheet, {sx, sy, sx + 8, sy + 8});
  }
}

void TVudChipSetGraphic::DrawTile(TVireoBoard& board, int x, int y, int tileID, int counter,
                                  bool dimmed, int cellSize) {
  TVireoSheet& sheet = dimmed ? FDimmed : FSheet;
  const TTileKind kind = TileKindOf(tileID);
  auto drawSquare = [&](TVireoPoint o) {
    board.StretchSheet({x, y, x + cellSize, y + cellSize}, sheet, {o.X, o.Y, o.X + 16, o.Y + 16});
  };
  switch (kind) {
    case TTileKind::None: return;
    case TTileKind::Upper: {
      const int tile = std::min(tileID - kUpperFirst, kPlainTileCount - 1);
      if (!(sheet.Transparent && UpperTransparent(tile))) drawSquare(UpperTileOrigin(tile));
      return;
    }
    case TTileKind::Plain: {
      const int tile = tileID - kPlainFirst;
      if (!(sheet.Transparent && PlainTransparent(tile))) drawSquare(PlainTileOrigin(tile));
      return;
    }
    case TTileKind::Autotile: {
      const TVireoPoint o = AutotileBlockOrigin((tileID - kAutotileFirst) / 50);
      drawPieces(board, x, y, AutotilePieces(normalisedShape(tileID)), o.X, o.Y, sheet,
                 cellSize);
      return;
    }
    case TTileKind::Animated: {
      const int strip = (tileID - kAnimatedFirst) / 50;
      drawSquare({48 + 16 * strip, 64 + 16 * AnimatedFrame(counter)});
      return;
    }
    case TTileKind::Water: {
      const int speed = FChipSet ? FChipSet->WaterSpeed : 0;
      const int sequence = FChipSet ? FChipSet->WaterSequence : 0;
      const int corners = (tileID % 1000) / 50 & 15;
      TQuarterPieces pieces = WaterPieces(tileID / 1000, normalisedShape(tileID), corners);
      const int shift = 2 * WaterFrame(counter, speed, sequence);
      for (TPiece& p : pieces) p.X += shift;
      drawPieces(board, x, y, pieces, 0, 0, sheet, cellSize);
      return;
    }
  }
}
