// Tile IDs to pixels: the tile ID ranges, the lower tile index, the 47 autotile shapes and the
// tile set graphic that composes water, animated tiles and autotiles from 8 × 8 pieces.
#pragma once

#include "VireoSheet.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

class TVudChipSetItem;

// --- Tile ID ranges -------------------------------------------------------------------------

enum class TTileKind { None, Water, Animated, Autotile, Plain, Upper };

inline constexpr int kWaterFirst = 0;         // water A, B, C: 0..2999
inline constexpr int kAnimatedFirst = 3000;   // animated tiles 1..3: 3000..3149
inline constexpr int kAnimatedEnd = 3150;
inline constexpr int kAutotileFirst = 4000;   // autotiles 1..12: 4000..4599
inline constexpr int kAutotileEnd = 4600;
inline constexpr int kPlainFirst = 5000;      // plain lower tiles 0..143
inline constexpr int kPlainEnd = 5144;
inline constexpr int kUpperFirst = 10000;     // upper tiles 0..143 (10144..19999 clamp to 143)
inline constexpr int kUpperEnd = 20000;
inline constexpr int kLowerTileCount = 162;
inline constexpr int kPlainTileCount = 144;
inline constexpr int kAutotileCount = 12;
inline constexpr int kShapeIcon = 49;  // the block's top-left cell; also "shape still to compute"

// The kind a tile ID draws as; None for the IDs that draw nothing (3150..3999, 4600..4999,
// 5144..9999, 20000 and above, negative).
TTileKind TileKindOf(int tileID);

// Lower tile index 0..161 of a tile ID, -1 for no cell and for every ID that is not a lower
// tile (upper tiles, the gaps between the ranges): such IDs never index a per-tile table.
int LowerTileIndex(int tileID);
// The base tile ID of a lower tile index; -1 outside 0..161.
int LowerTileBaseID(int lowerIndex);

// --- Shapes ---------------------------------------------------------------------------------

// Border mask bits: which neighbours count as different.
enum : int {
  bmNW = 1, bmNE = 2, bmSE = 4, bmSW = 8, bmW = 16, bmN = 32, bmE = 64, bmS = 128,
};

// Sets each corner bit whose adjacent side bits say it must differ.
int NormaliseMask(int mask);
// Shape 0..46 of any mask (normalised first).
int ShapeOfMask(int mask);
// Normalised mask of a shape; shapes 47..49 and anything out of range give 0.
int MaskOfShape(int shape);

struct TPiece {
  int X = 0, Y = 0;  // in 8-pixel units
  friend bool operator==(const TPiece&, const TPiece&) = default;
};
// The four quarters: top-left, top-right, bottom-left, bottom-right.
using TQuarterPieces = std::array<TPiece, 4>;

// Pieces of an autotile shape relative to its block.
TQuarterPieces AutotilePieces(int shape);
// Pieces of a water tile (kind 0 A, 1 B, 2 C) from the image origin, before animation.
TQuarterPieces WaterPieces(int kind, int shape, int deepCorners);
// Animation frames: the water frame (0..2) and the animated tile frame (0..3) at a counter.
int WaterFrame(int counter, int waterSpeed, int waterSequence);
int AnimatedFrame(int counter);

// Top-left pixel of autotile block 0..11 and of plain and upper tile 0..143 in the image.
TVireoPoint AutotileBlockOrigin(int block);
TVireoPoint PlainTileOrigin(int tile);
TVireoPoint UpperTileOrigin(int tile);

// --- Materials ------------------------------------------------------------------------------

// Resolves a material name in a folder ("ChipSet", "CharSet", "Panorama") to a file; an empty
// path when there is none. The editor installs the project-then-run-time-package lookup.
using TMaterialResolver =
    std::function<std::filesystem::path(const std::string& name, const std::string& folder)>;
void SetMaterialResolver(TMaterialResolver resolver);
std::filesystem::path ResolveMaterial(const std::string& name, const std::string& folder);
// What the loaders try for a name the lookup did not find: the bare name itself, so that the
// loader reports it; never a path, which would read a file from anywhere on the disk.
std::filesystem::path UnresolvedMaterialPath(const std::string& name);
// The lookup of one project folder: <project>/<folder>/<name>.(bmp|png|xyz), letter case
// ignored; empty for names that are not bare file names.
std::filesystem::path ResolveMaterialIn(const std::filesystem::path& project,
                                        const std::string& name, const std::string& folder);

// --- The tile set graphic -------------------------------------------------------------------

class TVudChipSetGraphic {
public:
  static constexpr int ImageWidth = 480;
  static constexpr int ImageHeight = 256;

  TVudChipSetGraphic();
  TVudChipSetGraphic(const TVudChipSetGraphic&) = delete;
  TVudChipSetGraphic& operator=(const TVudChipSetGraphic&) = delete;

  // Remembers the record (not owned; may be null) and loads its image.
  void SetChipSet(const TVudChipSetItem* chipSet);
  const TVudChipSetItem* ChipSet() const { return FChipSet; }
  void LoadChipSetImage(const std::string& name);
  // Loads a picture file directly (the command line's --chipset); same error rules.
  void LoadChipSetFile(const std::filesystem::path& fileName, const std::string& name);
  const std::string& ImageName() const { return FImageName; }
  void Clear();

  void SetTransparentMode(bool on);
  void SetOpacityLevel(int level);
  bool TransparentMode() const { return FSheet.Transparent; }

  // Lower tile index of the autotile this one merges with; -1 for none and outside 6..17.
  int MergeTarget(int lowerIndex) const;
  bool PlainTransparent(int tile) const;
  bool UpperTransparent(int tile) const;
  // Whether DrawTile would leave the board unchanged in transparent mode.
  bool SkipsTile(int tileID) const;

  void DrawTile(TVireoBoard& board, int x, int y, int tileID, int counter, bool dimmed,
                int cellSize);

  TVireoSheet& Sheet() { return FSheet; }
  TVireoSheet& DimmedSheet() { return FDimmed; }
  // Recomputes the transparency and merge tables after the sheet's pixels changed.
  void ComputeProperties();

private:
  void loadInto(const std::filesystem::path& file);
  void drawPieces(TVireoBoard& board, int x, int y, const TQuarterPieces& pieces, int originX,
                  int originY, TVireoSheet& sheet, int cellSize);

  const TVudChipSetItem* FChipSet = nullptr;
  std::string FImageName;
  TVireoSheet FSheet;
  TVireoSheet FDimmed;
  std::array<bool, kPlainTileCount> FPlainTransparent{};
  std::array<bool, kPlainTileCount> FUpperTransparent{};
  std::array<int, kAutotileCount> FMergeTarget{};  // block index 0..11, -1 none
};
