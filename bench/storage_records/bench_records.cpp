// Database load and save with 5,000 heroes, skills, items and enemies and 200 battle animations
// of 30 frames; and the animation section read in full against the unchanged (cached) path.
#include <benchmark/benchmark.h>

#include "DataBase.h"
#include "LD_Animation.h"
#include "LD_Item.h"
#include "LD_Monster.h"
#include "LD_Player.h"
#include "LD_Skill.h"
#include "LD_Status.h"

namespace {

constexpr int kRecords = 5000;
constexpr int kAnimations = 200;
constexpr int kFrames = 30;
constexpr int kCellsPerFrame = 6;

void fill(TVudDataBase& db)
{
    db.Reset();
    auto& status = db.SectionAs<TVudStatus>(dsStatuses);
    for (int i = 2; i <= 20; ++i)
        status.Append()->Name = "Estado";
    auto& heroes = db.SectionAs<TVudPlayer>(dsPlayers);
    auto& skills = db.SectionAs<TVudSkill>(dsSkills);
    auto& items = db.SectionAs<TVudItem>(dsItems);
    auto& enemies = db.SectionAs<TVudMonster>(dsMonsters);
    for (int i = 1; i <= kRecords; ++i) {
        auto* h = i == 1 ? heroes.At(0) : heroes.Append();
        h->Name = "Heroe" + std::to_string(i);
        h->CharSetName = "Hero1";
        h->SetCurve(0, 10, i % 999);
        for (int l = 0; l < 4; ++l)
            h->Learning.Append()->Level = l * 5 + 1;
        h->ConditionRanks.SetCount(8);
        h->ConditionRanks.Set(3, 0);
        auto* s = i == 1 ? skills.At(0) : skills.Append();
        s->Name = "Habilidad" + std::to_string(i);
        s->Description = "Una habilidad de prueba";
        s->MpCost = i % 100;
        s->Conditions.SetCount(5);
        s->Conditions.Set(2, 1);
        auto* it = i == 1 ? items.At(0) : items.Append();
        it->Name = "Objeto" + std::to_string(i);
        it->Price = i * 3;
        it->HeroUsable.SetCount(10);
        auto* e = i == 1 ? enemies.At(0) : enemies.Append();
        e->Name = "Enemigo" + std::to_string(i);
        e->MaxHp = 100 + i;
        e->Actions.Append()->ActionKind = 1;
    }
    auto& anims = db.SectionAs<TVudAnimation>(dsAnimations);
    for (int i = 1; i <= kAnimations; ++i) {
        auto* a = i == 1 ? anims.At(0) : anims.Append();
        a->Name = "Animacion" + std::to_string(i);
        a->AnimationName = "Hit";
        a->SetFrameCount(kFrames);
        for (int f = 0; f < kFrames; ++f)
            for (int c = 0; c < kCellsPerFrame; ++c) {
                auto* cell = a->Frames.At(f)->Cells.Append();
                cell->PatternIndex = (f + c) % 25;
                cell->X = c * 12 - 30;
                cell->Y = f - 15;
                cell->Zoom = 80 + c * 10;
                cell->Transparency = c * 5;
            }
        for (int t = 1; t <= 6; ++t) {
            auto* timing = a->Timings.Append();
            timing->Frame = t * 4;
            timing->Sound.Name = "Blow";
            timing->FlashScope = 1;
            timing->FlashRed = 20;
        }
    }
}

std::vector<uint8_t> image(TVudDataBase& db)
{
    TWriter w;
    db.SaveToStream(w);
    return w.Buf;
}

// The payload of section 19 in a database image.
std::vector<uint8_t> animationSection(const std::vector<uint8_t>& file)
{
    TReader r(file);
    std::string name;
    ReadBerString(r, name);
    while (!r.AtEnd()) {
        const uint32_t id = ReadBerInt(r);
        TReader c = r.Sub(ReadBerInt(r));
        if (id == dsAnimations)
            return std::vector<uint8_t>(c.Ptr(), c.Ptr() + c.Size());
    }
    return {};
}

struct TFixture {
    TVudDataBase Db;
    std::vector<uint8_t> File;
    TFixture()
    {
        fill(Db);
        File = image(Db);
    }
};

TFixture& fixture()
{
    static TFixture f;
    return f;
}

void BM_DataBaseSaveFull(benchmark::State& state)
{
    auto& f = fixture();
    auto& anims = f.Db.SectionAs<TVudAnimation>(dsAnimations);
    for (auto _ : state) {
        for (int i = 0; i < anims.Count(); ++i)
            anims.At(i)->Dirty = true;
        TWriter w;
        w.Buf.reserve(f.File.size());
        f.Db.SaveToStream(w);
        benchmark::DoNotOptimize(w.Buf.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(f.File.size()));
    state.counters["file_KiB"] = double(f.File.size()) / 1024;
}

void BM_DataBaseSaveCached(benchmark::State& state)
{
    auto& f = fixture();
    for (auto _ : state) {
        TWriter w;
        w.Buf.reserve(f.File.size());
        f.Db.SaveToStream(w);
        benchmark::DoNotOptimize(w.Buf.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(f.File.size()));
}

// A file new to the database: every section from Reset, every animation parsed.
void BM_DataBaseLoadFull(benchmark::State& state)
{
    auto& f = fixture();
    TVudDataBase db;
    for (auto _ : state) {
        db.Reset();
        TReader r(f.File);
        db.LoadFromStream(r);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(f.File.size()));
}

// The same file again: unchanged animations are compared with their cache and skipped.
void BM_DataBaseLoadUnchanged(benchmark::State& state)
{
    auto& f = fixture();
    TVudDataBase db;
    TReader first(f.File);
    db.LoadFromStream(first);
    for (auto _ : state) {
        TReader r(f.File);
        db.LoadFromStream(r);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(f.File.size()));
}

void BM_AnimationsFullParse(benchmark::State& state)
{
    const auto section = animationSection(fixture().File);
    TVudAnimation list;
    for (auto _ : state) {
        list.Clear();
        TReader r(section);
        list.LoadFromStream(r);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(section.size()));
    state.counters["section_KiB"] = double(section.size()) / 1024;
}

void BM_AnimationsUnchanged(benchmark::State& state)
{
    const auto section = animationSection(fixture().File);
    TVudAnimation list;
    TReader first(section);
    list.LoadFromStream(first);
    for (auto _ : state) {
        TReader r(section);
        list.LoadFromStream(r);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(section.size()));
}

} // namespace

BENCHMARK(BM_DataBaseSaveFull)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DataBaseSaveCached)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DataBaseLoadFull)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DataBaseLoadUnchanged)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AnimationsFullParse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AnimationsUnchanged)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
