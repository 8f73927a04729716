// The sample map drawn at the four zoom levels, compared pixel for pixel with committed
// pictures. TF_UPDATE_GOLDEN=1 rewrites them (look at them before committing).
#include "GR_ChipSet.h"
#include "LD_ChipSet.h"
#include "MapDraw.h"
#include "MapEditTestKit.h"
#include "VireoImageFile.h"

#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>

namespace {

const std::filesystem::path kData = std::filesystem::path(TF_TEST_DATA) / "mapedit";

void expectSamePicture(const TVireoBitmap& actual, const std::filesystem::path& golden) {
  if (std::getenv("TF_UPDATE_GOLDEN")) SaveImageFile(actual, golden);
  TVireoBitmap expect;
  LoadImageFile(expect, golden);
  expect = expect.ConvertedTo24Bit();
  ASSERT_EQ(expect.Width(), actual.Width()) << golden;
  ASSERT_EQ(expect.Height(), actual.Height()) << golden;
  for (int y = 0; y < actual.Height(); ++y)
    ASSERT_EQ(std::memcmp(expect.ScanLine(y), actual.ScanLine(y), actual.BytesPerLine()), 0)
        << golden << " differs in row " << y;
}

TEST(GoldenImages, TestTileSetIsTheCommittedOne) {
  const TVireoBitmap made = MakeTestChipSet();
  const std::filesystem::path file = kData / "TestChipSet.png";
  if (std::getenv("TF_UPDATE_GOLDEN")) SaveImageFile(made, file);
  TVireoBitmap stored;
  LoadImageFile(stored, file);
  ASSERT_EQ(stored.BitCount(), 8);
  ASSERT_EQ(stored.Width(), 480);
  ASSERT_EQ(stored.Height(), 256);
  for (int y = 0; y < 256; ++y) ASSERT_EQ(std::memcmp(stored.ScanLine(y), made.ScanLine(y), 480), 0);
}

TEST(GoldenImages, SampleMapAtEveryZoom) {
  TVudChipSetGraphic chips;
  chips.LoadChipSetFile(kData / "TestChipSet.png", "TestChipSet");
  TVudMap map;
  MakeSampleMap(map, 16, 12);
  TMapDrawContext context;
  context.Map = &map;
  context.Chips = &chips;
  for (int zoom : {1, 2, 4, 8}) {
    context.CellSize = 32 / zoom;
    TVireoBoard board;
    DrawMapPicture(board, context);
    expectSamePicture(BoardToBitmap(board),
                      kData / ("SampleMap_zoom" + std::to_string(zoom) + ".png"));
  }
  // An animated moment: slow water frame 1, animated tiles' third frame.
  TVudChipSetItem record;
  chips.SetChipSet(&record);  // no image name: keeps the loaded pixels, supplies the speeds
  chips.LoadChipSetFile(kData / "TestChipSet.png", "TestChipSet");
  context.CellSize = 16;
  context.Counter = 36;
  TVireoBoard board;
  DrawMapPicture(board, context);
  expectSamePicture(BoardToBitmap(board), kData / "SampleMap_zoom2_counter36.png");
}

}  // namespace
