// Shared by the map drawing tests, the benchmark and the screenshot: a small tile set drawn in
// code with the standard layout, a sample map that uses every tile kind, and board helpers.
#pragma once

#include "LD_Map.h"
#include "MapDraw.h"
#include "VireoBitmap.h"
#include "VireoSheet.h"

#include <filesystem>

// 480 × 256, 8 bits, index 0 transparent (shown magenta when drawn opaque).
TVireoBitmap MakeTestChipSet();
// Writes it as <folder>/ChipSet/<name>.png and returns the file.
std::filesystem::path WriteTestChipSet(const std::filesystem::path& project,
                                       const std::string& name);

// Lower IDs with shapes computed from their neighbours as the map editor would: a neighbour
// counts as different when its lower tile index differs (water kinds count as one); cells
// outside the map count as the same.
void ShapeLowerLayer(TVudMap& map);
// A map of the given size showing every tile kind: lakes of the three water kinds with deep
// corners, animated tiles, blobs of all twelve autotiles with inner corners, plain ground,
// upper-layer objects and one cell with an ID that draws nothing.
void MakeSampleMap(TVudMap& map, int width, int height);
