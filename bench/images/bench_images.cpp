// Image benchmarks: decoding a 480 × 256 8-bit PNG (ours against Qt's reader, same bytes) and
// drawing a 480 × 256 sheet onto a 640 × 480 board with transparency and opacity.
#include "VireoPng.h"
#include "VireoSheet.h"

#include <QImage>

#include <benchmark/benchmark.h>

#include <random>

namespace {

// Something like a tile set: flat areas, gradients, noise and transparent gaps.
TVireoBitmap tileSetLike() {
  TVireoBitmap picture(480, 256, 8);
  std::mt19937 random(42);
  for (int i = 0; i < 256; ++i)
    picture.Palette[i] = {std::uint8_t(random()), std::uint8_t(random()),
                          std::uint8_t(random()), 0};
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 480; ++x) {
      const int tile = (x / 16) + (y / 16) * 30;
      std::uint8_t v;
      switch (tile % 4) {
        case 0: v = 0; break;                                          // transparent
        case 1: v = std::uint8_t(16 + (x + y) % 32); break;            // gradient
        case 2: v = std::uint8_t(64 + random() % 24); break;           // noise
        default: v = std::uint8_t(128 + ((x / 4 + y / 4) & 1) * 5);    // pattern
      }
      picture.ScanLine(y)[x] = v;
    }
  return picture;
}

const std::vector<std::uint8_t>& pngBytes() {
  static const std::vector<std::uint8_t> bytes = VireoEncodePng(tileSetLike());
  return bytes;
}

void BM_DecodePng_Ours(benchmark::State& state) {
  const auto& bytes = pngBytes();
  for (auto _ : state) {
    TVireoBitmap bitmap;
    VireoDecodePng(bitmap, bytes.data(), bytes.size());
    benchmark::DoNotOptimize(bitmap.ScanLine(255)[479]);
  }
  state.SetItemsProcessed(state.iterations() * 480 * 256);
}
BENCHMARK(BM_DecodePng_Ours);

void BM_DecodePng_Qt(benchmark::State& state) {
  const auto& bytes = pngBytes();
  for (auto _ : state) {
    QImage image;
    image.loadFromData(bytes.data(), int(bytes.size()), "PNG");
    benchmark::DoNotOptimize(image.constBits());
  }
  state.SetItemsProcessed(state.iterations() * 480 * 256);
}
BENCHMARK(BM_DecodePng_Qt);

// Argument: 0 opaque, 1 transparent, 2 transparent and half opaque.
void BM_DrawSheet(benchmark::State& state) {
  TVireoSheet sheet;
  sheet.AutoSize = true;
  sheet.LoadFromBitmap(tileSetLike());
  sheet.Transparent = state.range(0) >= 1;
  sheet.Opacity = state.range(0) == 2 ? 128 : 255;
  TVireoBoard board;
  board.SetSize(640, 480);
  for (auto _ : state) {
    board.DrawSheet(80, 112, sheet.BoundsRect(), sheet);
    benchmark::DoNotOptimize(board.ScanLine(200)[200]);
  }
  state.SetItemsProcessed(state.iterations() * 480 * 256);
  state.counters["ns_per_pixel"] = benchmark::Counter(
      double(state.iterations()) * 480 * 256,
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_DrawSheet)->Arg(0)->Arg(1)->Arg(2);

void BM_StretchSheet2x(benchmark::State& state) {
  TVireoSheet sheet;
  sheet.AutoSize = true;
  sheet.LoadFromBitmap(tileSetLike());
  sheet.Transparent = true;
  TVireoBoard board;
  board.SetSize(640, 480);
  for (auto _ : state) {
    board.StretchSheet({-160, -16, 800, 496}, sheet, sheet.BoundsRect());
    benchmark::DoNotOptimize(board.ScanLine(200)[200]);
  }
  state.SetItemsProcessed(state.iterations() * 640 * 480);
}
BENCHMARK(BM_StretchSheet2x);

}  // namespace

BENCHMARK_MAIN();
