// Storage throughput: the largest map the editor makes (999 x 999, 500 events) and a list of
// 5,000 small records, each encoded and decoded. Bytes/s is the file's size per second.
#include <benchmark/benchmark.h>

#include "Catalog.h"
#include "LD_Map.h"

namespace {

TVudMap& bigMap()
{
    static TVudMap map;
    static bool made = false;
    if (made)
        return map;
    made = true;
    map.Clear();
    map.SetWidth(999);
    map.SetHeight(999);
    for (int y = 0; y < 999; ++y)
        for (int x = 0; x < 999; ++x) {
            map.LowerLayer.Set(x, y, uint16_t(5000 + (x * 31 + y * 17) % 144));
            map.UpperLayer.Set(x, y, uint16_t(10000 + (x + y) % 144));
        }
    for (int id = 1; id <= 500; ++id) {
        TVudEventItem* ev = map.Events.Obtain(id);
        ev->Name = "Evento" + std::to_string(id);
        ev->X = (id * 37) % 999;
        ev->Y = (id * 53) % 999;
        TVudEventPageItem* page = ev->Pages.ItemByID(1);
        page->CharSetName = "Personaje";
        page->CharSetIndex = id % 8;
        page->MoveType = 6;
        for (int k = 0; k < 4; ++k)
            page->MoveRoute.AddCommand().Code = k;
        page->Script.Lines = {
            {10110, 0, "Hola, viajero. \xBF" "Ad\xF3" "nde vas?"},
            {12010, 0, "", {1, id, 0, 5}},
            {13310, 0, "", {id % 7, 1, 0}},
            {10, 1},
            {0, 0},
        };
    }
    return map;
}

void BM_MapSave(benchmark::State& state)
{
    const TVudMap& map = bigMap();
    size_t bytes = 0;
    for (auto _ : state) {
        auto out = map.SaveToFileBytes();
        bytes = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(int64_t(bytes) * state.iterations());
    state.counters["file_bytes"] = double(bytes);
}
BENCHMARK(BM_MapSave)->Unit(benchmark::kMillisecond);

void BM_MapLoad(benchmark::State& state)
{
    const auto file = bigMap().SaveToFileBytes();
    TVudMap map;
    for (auto _ : state) {
        TReader r(file);
        map.LoadFromFileBytes(r);
        benchmark::DoNotOptimize(map.Events.Count());
    }
    state.SetBytesProcessed(int64_t(file.size()) * state.iterations());
}
BENCHMARK(BM_MapLoad)->Unit(benchmark::kMillisecond);

// A small record of the usual shape: a name and a few values.
struct TSmallRecord : TCatalogItem {
    int32_t Level = 1;
    int32_t Power = 0;
    int32_t Price = 0;
    uint8_t Kind = 0;
    TSmallRecord() { Clear(); }
    static const TFieldTable Table;
    const TFieldTable* Fields() const override { return &Table; }
    void Clear() override
    {
        Name.clear();
        Level = 1;
        Power = Price = 0;
        Kind = 0;
    }
};
const TFieldTable TSmallRecord::Table = {
    String<&TSmallRecord::Name>(1, "Name"),
    Integer<&TSmallRecord::Level>(2, "Level", 1),
    Integer<&TSmallRecord::Power>(3, "Power", 0),
    Integer<&TSmallRecord::Price>(4, "Price", 0),
    Byte<&TSmallRecord::Kind>(5, "Kind", 0),
};

const TCatalogOf<TSmallRecord>& smallList()
{
    static TCatalogOf<TSmallRecord> list;
    if (list.Count() == 0)
        for (int i = 1; i <= 5000; ++i) {
            TSmallRecord* r = list.Append();
            r->Name = "Objeto " + std::to_string(i);
            r->Level = i % 99 + 1;
            r->Power = i * 3;
            r->Price = i * 25;
            r->Kind = uint8_t(i % 4);
        }
    return list;
}

void BM_RecordListSave(benchmark::State& state)
{
    const auto& list = smallList();
    size_t bytes = 0;
    for (auto _ : state) {
        TWriter w;
        list.SaveToStream(w);
        bytes = w.Size();
        benchmark::DoNotOptimize(w.Buf.data());
    }
    state.SetBytesProcessed(int64_t(bytes) * state.iterations());
    state.counters["list_bytes"] = double(bytes);
}
BENCHMARK(BM_RecordListSave)->Unit(benchmark::kMicrosecond);

void BM_RecordListLoad(benchmark::State& state)
{
    TWriter w;
    smallList().SaveToStream(w);
    TCatalogOf<TSmallRecord> list;
    for (auto _ : state) {
        TReader r(w.Buf);
        list.LoadFromStream(r);
        benchmark::DoNotOptimize(list.Count());
    }
    state.SetBytesProcessed(int64_t(w.Size()) * state.iterations());
}
BENCHMARK(BM_RecordListLoad)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
