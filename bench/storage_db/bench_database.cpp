// Database load and save throughput on a large project: 5,000 switches, 5,000 variables and
// 500 common events of 100 script lines each.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>

#include "DataBase.h"

namespace {
void fill(TVudDataBase& db)
{
    for (int i = 1; i <= 5000; ++i) {
        db.Switches().Obtain(i)->Name = "Interruptor " + std::to_string(i);
        db.Variables().Obtain(i)->Name = "Variable " + std::to_string(i);
    }
    for (int e = 1; e <= 500; ++e) {
        TVudCommonEventItem* ev = db.CommonEvents().Obtain(e);
        ev->Name = "Evento " + std::to_string(e);
        ev->Trigger = TVudCommonEventItem::ctParallel;
        auto& lines = ev->Script.Lines;
        lines.clear();
        for (int k = 0; k < 99; ++k) {
            if (k % 3 == 0)
                lines.emplace_back(10110, k % 4, "Mensaje de prueba número " + std::to_string(k));
            else
                lines.emplace_back(10310, k % 4, "", std::vector<int32_t>{0, 1, k, 0, -5, 1000});
        }
        lines.emplace_back(0, 0);
    }
}

const std::vector<uint8_t>& image()
{
    static const std::vector<uint8_t> bytes = [] {
        TVudDataBase db;
        fill(db);
        TWriter w;
        db.SaveToStream(w);
        return w.Buf;
    }();
    return bytes;
}

void BM_DatabaseLoad(benchmark::State& state)
{
    const auto& bytes = image();
    TVudDataBase db;
    for (auto _ : state) {
        TReader r(bytes);
        db.LoadFromStream(r);
        benchmark::DoNotOptimize(db.CommonEvents().Count());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
    state.counters["file_bytes"] = double(bytes.size());
}
BENCHMARK(BM_DatabaseLoad)->Unit(benchmark::kMillisecond);

void BM_DatabaseSave(benchmark::State& state)
{
    TVudDataBase db;
    fill(db);
    size_t size = 0;
    for (auto _ : state) {
        TWriter w;
        db.SaveToStream(w);
        size = w.Size();
        benchmark::DoNotOptimize(w.Buf.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(size));
}
BENCHMARK(BM_DatabaseSave)->Unit(benchmark::kMillisecond);
// The paths a user meets: the image built in memory, written beside the file and renamed; and
// the file read back into the editor's one database object (with its unchanged-file check).
std::filesystem::path benchFolder()
{
    namespace fs = std::filesystem;
    static const fs::path dir = fs::temp_directory_path() /
                                ("tf-bench-db-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    fs::create_directories(dir); // each run removes it when done
    return dir;
}

void BM_DatabaseSaveToFile(benchmark::State& state)
{
    TVudDataBase db;
    fill(db);
    for (auto _ : state)
        db.SaveToProject(benchFolder());
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(db.CachedSize));
    std::filesystem::remove_all(benchFolder());
}
BENCHMARK(BM_DatabaseSaveToFile)->Unit(benchmark::kMillisecond);

void BM_DatabaseLoadFromFile(benchmark::State& state)
{
    {
        TVudDataBase db;
        fill(db);
        db.SaveToProject(benchFolder());
    }
    TVudDataBase db;
    for (auto _ : state) {
        db.LoadFromProject(benchFolder());
        benchmark::DoNotOptimize(db.Switches().Count());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(db.CachedSize));
    std::filesystem::remove_all(benchFolder());
}
BENCHMARK(BM_DatabaseLoadFromFile)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
