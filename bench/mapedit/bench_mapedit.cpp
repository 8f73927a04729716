// Repaint of a full-HD viewport of a 999 × 999 map at zoom 1/1 and 1/8 (every visible cell,
// as after a jump or a zoom), one scroll step, and one tile of each kind.
#include "GR_ChipSet.h"
#include "LD_Map.h"
#include "MapDraw.h"
#include "MapEditTestKit.h"

#include <benchmark/benchmark.h>

namespace {

struct TBenchMap {
  TVudMap Map;
  TVudChipSetGraphic Chips;
  TBenchMap() {
    MakeSampleMap(Map, 999, 999);
    Chips.Sheet().LoadFromBitmap(MakeTestChipSet());
    Chips.ComputeProperties();
  }
};

TBenchMap& benchMap() {
  static TBenchMap instance;
  return instance;
}

// Draws the cells of a viewport whose top-left is at map pixel (sx, sy).
void drawViewport(TVireoBoard& board, TMapDrawContext& c, int sx, int sy, int w, int h) {
  const int s = c.CellSize;
  for (int row = sy / s; row <= (sy + h - 1) / s; ++row)
    for (int column = sx / s; column <= (sx + w - 1) / s; ++column)
      DrawMapCell(board, c, column, row, column * s - sx, row * s - sy);
}

void BM_RepaintViewport(benchmark::State& state) {
  TBenchMap& m = benchMap();
  TMapDrawContext c;
  c.Map = &m.Map;
  c.Chips = &m.Chips;
  c.CellSize = int(state.range(0));
  TVireoBoard board;
  board.SetSize(1920, 1080);
  for (auto _ : state) {
    drawViewport(board, c, 3200, 3200, 1920, 1080);
    benchmark::DoNotOptimize(board.ScanLine(0)[0]);
  }
  state.SetLabel("cell " + std::to_string(c.CellSize));
}
BENCHMARK(BM_RepaintViewport)->Arg(32)->Arg(16)->Arg(8)->Arg(4)->Unit(benchmark::kMillisecond);

// One 16-pixel scroll step at zoom 1/1: copy the board and draw the exposed column strip.
void BM_ScrollStep(benchmark::State& state) {
  TBenchMap& m = benchMap();
  TMapDrawContext c;
  c.Map = &m.Map;
  c.Chips = &m.Chips;
  TVireoBoard front, back;
  front.SetSize(1920, 1080);
  back.SetSize(1920, 1080);
  int x = 3200;
  for (auto _ : state) {
    std::swap(front, back);
    front.CopyRect(-16, 0, {0, 0, 1920, 1080}, back);
    x += 16;
    drawViewport(front, c, x + 1920 - 16, 3200, 16, 1080);
    benchmark::DoNotOptimize(front.ScanLine(0)[0]);
  }
}
BENCHMARK(BM_ScrollStep)->Unit(benchmark::kMicrosecond);

void BM_DrawTile(benchmark::State& state) {
  TBenchMap& m = benchMap();
  const int id = int(state.range(0));
  m.Chips.SetTransparentMode(id >= kUpperFirst);
  TVireoBoard board;
  board.SetSize(64, 64);
  for (auto _ : state) {
    m.Chips.DrawTile(board, 16, 16, id, 0, false, 32);
    benchmark::DoNotOptimize(board.ScanLine(20)[20]);
  }
  static const char* names[] = {"water, four pieces", "water, open", "animated",
                                "autotile, four pieces", "autotile, centre", "plain", "upper"};
  const int ids[] = {34, 0, 3050, 4000 + 46, 4000, 5010, 10001};
  for (int i = 0; i < 7; ++i)
    if (ids[i] == id) state.SetLabel(names[i]);
}
BENCHMARK(BM_DrawTile)->Arg(34)->Arg(0)->Arg(3050)->Arg(4046)->Arg(4000)->Arg(5010)->Arg(10001);

}  // namespace

BENCHMARK_MAIN();
