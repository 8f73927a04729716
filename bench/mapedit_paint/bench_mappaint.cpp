// Fill + shaping of a whole 999 × 999 layer, and a 200-cell pen stroke on maps of 100 × 100
// and 999 × 999 (the stroke must cost the same on both).
#include "MapPaint.h"

#include <benchmark/benchmark.h>

namespace {

void makeMap(TVudMap& map, int side, int lower) {
  map.SetWidth(side);
  map.SetHeight(side);
  std::fill(map.LowerLayer.Cells.begin(), map.LowerLayer.Cells.end(), std::uint16_t(lower));
}

// Grass filled with water A: every cell changes kind and is shaped (borders on the map edge
// with Ctrl, so that the edge cells take the slow path too).
void BM_FillWholeLayer(benchmark::State& state) {
  const int side = int(state.range(0));
  TVudMap map;
  makeMap(map, side, 5000);
  TMapPaintEngine engine(map);
  engine.Reload();
  engine.Ctrl = true;
  for (auto _ : state) {
    state.PauseTiming();
    std::fill(map.LowerLayer.Cells.begin(), map.LowerLayer.Cells.end(), std::uint16_t(5000));
    engine.Brush().SetSingle(state.iterations() % 2 ? 4049 : 49);
    state.ResumeTiming();
    engine.BeginStroke(mtFill, side / 2, side / 2, side / 2, side / 2);
    engine.EndStroke();
  }
  state.SetItemsProcessed(state.iterations() * std::int64_t(side) * side);
}
BENCHMARK(BM_FillWholeLayer)->Arg(100)->Arg(999)->Unit(benchmark::kMillisecond);

// The stroke's stamps alone: 200 cells, each shaped with its eight neighbours.
void BM_PenStroke200(benchmark::State& state) {
  const int side = int(state.range(0));
  TVudMap map;
  makeMap(map, side, 5000);
  TMapPaintEngine engine(map);
  engine.Reload();
  engine.Brush().SetSingle(4049);
  for (auto _ : state) {
    // A snake of 200 neighbouring cells inside the top-left 60 × 20 cells of either map.
    for (int i = 0; i < 200; ++i) {
      const int row = i / 40, col = i % 40;
      engine.Stamp(10 + (row % 2 ? 39 - col : col), 10 + row);
    }
  }
  state.SetItemsProcessed(state.iterations() * 200);
}
BENCHMARK(BM_PenStroke200)->Arg(100)->Arg(999)->Unit(benchmark::kMicrosecond);

// A whole stroke as the editor runs it: the press copies both layers (the backup) and the
// release pushes that copy on the undo ring, both in proportion to the map; the 199 steps not.
void BM_PenStrokeWithUndo(benchmark::State& state) {
  const int side = int(state.range(0));
  TVudMap map;
  makeMap(map, side, 5000);
  TMapPaintEngine engine(map);
  engine.Reload();
  engine.Brush().SetSingle(4049);
  for (auto _ : state) {
    engine.BeginStroke(mtPen, 10, 10, 10, 10);
    for (int i = 1; i < 200; ++i) {
      const int row = i / 40, col = i % 40;
      const int x = 10 + (row % 2 ? 39 - col : col), y = 10 + row;
      engine.MoveStroke(x, y, x, y);
    }
    engine.EndStroke();
  }
}
BENCHMARK(BM_PenStrokeWithUndo)->Arg(100)->Arg(999)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
