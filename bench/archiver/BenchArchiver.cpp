// Packing and extracting a 20 MB game-like tree through the command lines of the editor and
// Setup, with gzip -6 (zlib, level 6, per file) on the same files as the size reference.
//   build/bench/bench_archiver
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "UnlhaCommand.h"

namespace fs = std::filesystem;

namespace {

struct TTree {
  fs::path Root, Source, Archive, Response, Out;
  uint64_t Bytes = 0;
  uint64_t GzipBytes = 0;
};

void put(TTree& t, const std::string& name, const std::string& data) {
  fs::path p = t.Source / name;
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << data;
  t.Bytes += data.size();
  // gzip -6: deflate level 6 with the gzip wrapper (window bits 15 + 16).
  z_stream z{};
  deflateInit2(&z, 6, Z_DEFLATED, 31, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&z, data.size()), '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = uInt(data.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = uInt(out.size());
  deflate(&z, Z_FINISH);
  t.GzipBytes += z.total_out;
  deflateEnd(&z);
}

std::string text(std::mt19937& rng, size_t n) {
  static const char* words[] = {"el", "héroe", "cruza", "puente", "castillo", "mensaje",
                                "Mostrar", "variable", "interruptor", "evento", "mapa", "de",
                                "la", "y", "con", "oro", "espada", "poción", "batalla", "fin"};
  std::string s;
  while (s.size() < n) {
    s += words[rng() % 20];
    s += (rng() % 9 == 0) ? "\r\n" : " ";
  }
  return s;
}

// An 8-bit BMP-like sheet: tiles of flat colour with edges and a little noise.
std::string bitmap(std::mt19937& rng, int w, int h) {
  std::string s(54 + 1024, '\0');
  for (size_t i = 54; i < s.size(); ++i) s[i] = char(rng());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      int tile = (x / 16 + (y / 16) * 7) % 23;
      int v = (x % 16 == 0 || y % 16 == 0) ? 0 : tile * 11;
      if (rng() % 20 == 0) v += int(rng() % 5);
      s += char(v);
    }
  return s;
}

// PNG-like: already deflated, so it does not compress again.
std::string pngLike(std::mt19937& rng, size_t n) {
  std::string raw = bitmap(rng, 320, int(n / 320 * 3));
  uLongf len = compressBound(uLong(raw.size()));
  std::string out(len, '\0');
  compress2(reinterpret_cast<Bytef*>(out.data()), &len, reinterpret_cast<const Bytef*>(raw.data()),
            uLong(raw.size()), 9);
  out.resize(len);
  return "\x89PNG\r\n\x1a\n" + out.substr(0, n);
}

TTree& tree() {
  static TTree t = [] {
    TTree t;
    t.Root = fs::temp_directory_path() / ("tf-bench-archiver-" + std::to_string(std::random_device{}()));
    t.Source = t.Root / "Proyecto";
    t.Archive = t.Root / "Proyecto.lzh";
    t.Response = t.Root / "Response.lst";
    t.Out = t.Root / "Juego";
    std::mt19937 rng(42);
    for (int i = 0; i < 64; ++i) put(t, "Map" + std::to_string(1000 + i) + ".lmu", text(rng, 150000));
    for (int i = 0; i < 30; ++i) put(t, "ChipSet/tiles" + std::to_string(i) + ".bmp", bitmap(rng, 480, 256 + 8 * i));
    for (int i = 0; i < 12; ++i) put(t, "Picture/pic" + std::to_string(i) + ".png", pngLike(rng, 250000));
    std::string noise(3000000, '\0');
    for (auto& c : noise) c = char(rng());
    put(t, "Sound/noise.wav", noise);
    put(t, "TFPLAY.exe", noise.substr(0, 500000) + std::string(500000, '\0') + text(rng, 500000));
    fs::create_directories(t.Source / "Movie");
    std::ofstream(t.Response) << "\"" << t.Source.string() << "/\"\nMovie\nChipSet\nPicture\nSound\n"
                              << "TFPLAY.exe\nMap????.lmu\n";
    return t;
  }();
  return t;
}

void BM_Pack(benchmark::State& state) {
  TTree& t = tree();
  std::string out;
  for (auto _ : state) {
    fs::remove(t.Archive);
    if (RunUnlha("a -+ -r2 -d -jsl \"" + t.Archive.string() + "\" @" + t.Response.string(), out))
      state.SkipWithError(out.c_str());
  }
  state.SetBytesProcessed(int64_t(state.iterations() * t.Bytes));
  const double size = double(fs::file_size(t.Archive));
  state.counters["tree_MB"] = double(t.Bytes) / 1e6;
  state.counters["lzh_MB"] = size / 1e6;
  state.counters["gzip6_MB"] = double(t.GzipBytes) / 1e6;
  state.counters["lzh_vs_gzip6"] = size / double(t.GzipBytes);
}
BENCHMARK(BM_Pack)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Extract(benchmark::State& state) {
  TTree& t = tree();
  std::string out;
  if (!fs::exists(t.Archive))
    RunUnlha("a -+ -r2 -d -jsl \"" + t.Archive.string() + "\" @" + t.Response.string(), out);
  for (auto _ : state) {
    fs::remove_all(t.Out);
    if (RunUnlha("x -+ \"" + t.Archive.string() + "\" \"" + t.Out.string() + "/\"", out))
      state.SkipWithError(out.c_str());
  }
  state.SetBytesProcessed(int64_t(state.iterations() * t.Bytes));
}
BENCHMARK(BM_Extract)->Unit(benchmark::kMillisecond)->Iterations(5);

struct TCleanup {
  ~TCleanup() {
    std::error_code ec;
    if (!tree().Root.empty()) fs::remove_all(tree().Root, ec);
  }
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  TCleanup cleanup;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
