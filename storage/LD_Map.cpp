#include "LD_Map.h"

#include <cstdio>
#include <cstring>

#include "AtomicFile.h"

namespace fs = std::filesystem;

namespace {
fs::path gProjectFolder;
fs::path gScratchFolder;
std::function<bool(int)> gChipSetExists;

// Modulo that stays in 0..n-1 for negative values too.
int floorMod(int64_t v, int n)
{
    const int64_t m = v % n;
    return int(m < 0 ? m + n : m);
}

const fs::path& scratchOrThrow()
{
    if (gScratchFolder.empty())
        throw EVudError("No hay carpeta de trabajo.");
    return gScratchFolder;
}

void removeQuietly(const fs::path& file)
{
    std::error_code ec;
    fs::remove(file, ec);
}
} // namespace

// ---- layer -------------------------------------------------------------------------------

int TVudMapLayer::Get(int x, int y) const
{
    if (Width <= 0 || Height <= 0)
        return -1;
    if ((x < 0 || x >= Width) && WrapX)
        x = floorMod(x, Width);
    if ((y < 0 || y >= Height) && WrapY)
        y = floorMod(y, Height);
    if (x < 0 || x >= Width || y < 0 || y >= Height)
        return -1;
    return Cells[size_t(x) + size_t(y) * size_t(Width)];
}

void TVudMapLayer::Set(int x, int y, uint16_t value)
{
    if (x >= 0 && x < Width && y >= 0 && y < Height)
        Cells[size_t(x) + size_t(y) * size_t(Width)] = value;
}

void TVudMapLayer::Resize(int w, int h)
{
    w = std::max(w, 0);
    h = std::max(h, 0);
    std::vector<uint16_t> cells(size_t(w) * size_t(h), FillValue);
    const int cw = std::min(w, Width), ch = std::min(h, Height);
    for (int y = 0; y < ch; ++y)
        std::memcpy(&cells[size_t(y) * size_t(w)], &Cells[size_t(y) * size_t(Width)], size_t(cw) * 2);
    Cells = std::move(cells);
    Width = w;
    Height = h;
}

// ---- folders -----------------------------------------------------------------------------

std::string MapFileName(int id)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "Map%.4d.lmu", id);
    return buf;
}

void SetProjectFolder(const fs::path& folder) { gProjectFolder = folder; }
const fs::path& ProjectFolder() { return gProjectFolder; }
void SetScratchFolder(const fs::path& folder) { gScratchFolder = folder; }
const fs::path& ScratchFolder() { return gScratchFolder; }
void SetChipSetLookup(std::function<bool(int)> exists) { gChipSetExists = std::move(exists); }

// ---- map unit ----------------------------------------------------------------------------

void TVudBaseMapUnit::LoadFromFileBytes(TReader& s)
{
    std::string format;
    ReadBerString(s, format);
    if (format != kMapFormatName)
        throw EReadError();
    LoadFromStream(s);
}

std::vector<uint8_t> TVudBaseMapUnit::SaveToFileBytes() const
{
    TWriter w;
    WriteBerString(w, kMapFormatName);
    SaveToStream(w);
    return std::move(w.Buf);
}

void TVudBaseMapUnit::LoadFromFile(const fs::path& fileName)
{
    Clear();
    if (LenientMode()) {
        std::error_code ec;
        if (fs::exists(fileName, ec)) {
            try {
                const auto bytes = ReadWholeFile(fileName);
                TReader s(bytes);
                LoadFromFileBytes(s);
            } catch (const EVudError&) {
                // the map keeps what was read so far
            }
        }
    } else {
        const auto bytes = ReadWholeFile(fileName);
        TReader s(bytes);
        LoadFromFileBytes(s);
    }
    CompleteLoad();
}

void TVudBaseMapUnit::LoadFromFileStrict(const fs::path& fileName)
{
    Clear();
    const auto bytes = ReadWholeFile(fileName);
    TReader s(bytes);
    LoadFromFileBytes(s);
    CompleteLoad();
}

void TVudBaseMapUnit::SaveToFile(const fs::path& fileName)
{
    SaveFileAtomic(fileName, SaveToFileBytes());
    Modified = false;
}

void TVudBaseMapUnit::LoadFromProject(int id)
{
    LoadFromFile(gProjectFolder / MapFileName(id));
    ID = id;
}

void TVudBaseMapUnit::SaveToProject(int id)
{
    ID = id;
    SaveToFile(gProjectFolder / MapFileName(id));
}

void TVudBaseMapUnit::DeleteFromProject(int id)
{
    removeQuietly(gProjectFolder / MapFileName(id));
}

void TVudBaseMapUnit::LoadWork(int id)
{
    LoadFromFile(scratchOrThrow() / MapFileName(id));
    ID = id;
}

void TVudBaseMapUnit::SaveWork(int id)
{
    ID = id;
    SaveToFile(scratchOrThrow() / MapFileName(id));
}

void TVudBaseMapUnit::DeleteWork(int id)
{
    if (!gScratchFolder.empty())
        removeQuietly(gScratchFolder / MapFileName(id));
}

// ---- map ---------------------------------------------------------------------------------

const TFieldTable TVudMap::Table = {
    Integer<&TVudMap::ChipSetID>(1, "ChipSetID", 1),
    Integer<&TVudMap::Width>(2, "Width", 20),
    Integer<&TVudMap::Height>(3, "Height", 15),
    Bytes<&TVudMap::ScrollType>(11, "ScrollType"),
    Byte<&TVudMap::UsePanorama>(31, "UsePanorama", 0),
    String<&TVudMap::PanoramaName>(32, "PanoramaName", true),
    Byte<&TVudMap::PanoramaHScroll>(33, "PanoramaHScroll", 0),
    Byte<&TVudMap::PanoramaVScroll>(34, "PanoramaVScroll", 0),
    Byte<&TVudMap::PanoramaHAuto>(35, "PanoramaHAuto", 0),
    Integer<&TVudMap::PanoramaHSpeed>(36, "PanoramaHSpeed", 0),
    Byte<&TVudMap::PanoramaVAuto>(37, "PanoramaVAuto", 0),
    Integer<&TVudMap::PanoramaVSpeed>(38, "PanoramaVSpeed", 0),
    Custom(71, "LowerLayer", vkBytes, 2),
    Custom(72, "UpperLayer", vkBytes, 2),
    Nested<&TVudMap::Events>(81, "Events"),
    Integer<&TVudMap::SaveCount>(91, "SaveCount", 0),
};

void TVudMap::GetVarData(int ID, TCatalogVarData& vd, bool Reading)
{
    if (ID != 71 && ID != 72) {
        TVudBaseMapUnit::GetVarData(ID, vd, Reading);
        return;
    }
    const int k = ID - 71;
    TVudMapLayer& layer = k == 0 ? LowerLayer : UpperLayer;
    if (Reading) {
        // The chunk's bytes are kept as they are; sizing waits for the end of the record so a
        // corrupt size can neither overrun the data nor allocate more than the file backs.
        Stage[k].Read = true;
        Stage[k].W = Width;
        Stage[k].H = Height;
        vd.Define(vkBlock, &Stage[k].Bytes, 0);
    } else {
        vd.Define(vkBytes, layer.Cells.data(), uint32_t(layer.Cells.size() * 2));
    }
}

void TVudMap::Clear()
{
    ChipSetID = 1;
    Width = 20;
    Height = 15;
    ScrollType = 0;
    UsePanorama = 0;
    PanoramaName.clear();
    PanoramaHScroll = PanoramaVScroll = 0;
    PanoramaHAuto = PanoramaVAuto = 0;
    PanoramaHSpeed = PanoramaVSpeed = 0;
    LowerLayer.Reset();
    UpperLayer.Reset();
    SetScrollType(0);
    Events.Clear();
    SaveCount = 0;
    Modified = false;
}

void TVudMap::LoadFromStream(TReader& s)
{
    Clear();
    Stage[0] = Stage[1] = TStage();
    try {
        LoadChunks(s);
    } catch (...) {
        finishLayers(false);
        throw;
    }
    finishLayers(true);
}

namespace {
bool stageHolds(int w, int h, size_t bytes, int mapW, int mapH)
{
    return w == mapW && h == mapH && bytes == uint64_t(w) * uint64_t(h) * 2;
}
} // namespace

void TVudMap::finishLayers(bool strict)
{
    bool sound = Width >= 1 && Width <= kMaxMapSide && Height >= 1 && Height <= kMaxMapSide;
    // Cells the file does not hold are only made up to the editor's own largest map, so a few
    // bytes can never claim hundreds of megabytes.
    if (sound && int64_t(Width) * Height > kMaxEditorMapCells) {
        for (const TStage& st : Stage)
            if (!st.Read || !stageHolds(st.W, st.H, st.Bytes.size(), Width, Height))
                sound = false;
    }
    if (!sound) {
        if (strict) {
            Stage[0] = Stage[1] = TStage();
            throw EReadError();
        }
        Width = 20;
        Height = 15;
    }
    finishLayer(LowerLayer, Stage[0]);
    finishLayer(UpperLayer, Stage[1]);
    Stage[0] = Stage[1] = TStage();
    SetScrollType(ScrollType);
}

void TVudMap::finishLayer(TVudMapLayer& layer, TStage& stage)
{
    const bool backed = stage.Read && stage.W >= 1 && stage.H >= 1 && stage.W <= kMaxMapSide &&
                        stage.H <= kMaxMapSide &&
                        stage.Bytes.size() == uint64_t(stage.W) * uint64_t(stage.H) * 2;
    if (backed) {
        layer.Width = stage.W;
        layer.Height = stage.H;
        layer.Cells.resize(size_t(stage.W) * size_t(stage.H));
        std::memcpy(layer.Cells.data(), stage.Bytes.data(), stage.Bytes.size());
    } else if (stage.Read) {
        layer.Resize(0, 0); // a chunk of the wrong length leaves the layer filled
    }
    // Layers read before the size chunks, or of the wrong length, take the map's final size.
    if (layer.Width != Width || layer.Height != Height)
        layer.Resize(Width, Height);
}

void TVudMap::CompleteLoad()
{
    SetScrollType(ScrollType);
    if (gChipSetExists && !gChipSetExists(ChipSetID))
        ChipSetID = 1;
}

void TVudMap::SaveToFile(const fs::path& fileName)
{
    ++SaveCount;
    try {
        TVudBaseMapUnit::SaveToFile(fileName);
    } catch (...) {
        --SaveCount; // nothing was written
        throw;
    }
}

void TVudMap::SetWidth(int w)
{
    LowerLayer.SetWidth(w);
    UpperLayer.SetWidth(w);
    Width = LowerLayer.Width;
}

void TVudMap::SetHeight(int h)
{
    LowerLayer.SetHeight(h);
    UpperLayer.SetHeight(h);
    Height = LowerLayer.Height;
}

void TVudMap::SetScrollType(uint8_t type)
{
    ScrollType = type;
    for (TVudMapLayer* layer : {&LowerLayer, &UpperLayer}) {
        layer->WrapX = type == 2 || type == 3;
        layer->WrapY = type == 1 || type == 3;
    }
}

void TVudMap::Shift(int dx, int dy)
{
    if (Width <= 0 || Height <= 0)
        return;
    const int sx = floorMod(dx, Width), sy = floorMod(dy, Height);
    for (TVudMapLayer* layer : {&LowerLayer, &UpperLayer}) {
        if (layer->Width != Width || layer->Height != Height)
            layer->Resize(Width, Height);
        std::vector<uint16_t> out(layer->Cells.size());
        for (int y = 0; y < Height; ++y) {
            const size_t from = size_t(floorMod(int64_t(y) - sy, Height)) * size_t(Width);
            const size_t to = size_t(y) * size_t(Width);
            // Row y takes source row y - dy, rotated right by dx.
            std::memcpy(&out[to + size_t(sx)], &layer->Cells[from], size_t(Width - sx) * 2);
            std::memcpy(&out[to], &layer->Cells[from + size_t(Width - sx)], size_t(sx) * 2);
        }
        layer->Cells = std::move(out);
    }
    for (int i = 0; i < Events.Count(); ++i) {
        TVudEventItem* ev = Events.At(i);
        ev->X = floorMod(int64_t(ev->X) + dx, Width);
        ev->Y = floorMod(int64_t(ev->Y) + dy, Height);
    }
    CellsChanged(0, 0, Width, Height);
}

void TVudMap::Unload()
{
    ID = 0;
    Width = Height = 0;
    LowerLayer.Resize(0, 0);
    UpperLayer.Resize(0, 0);
    Events.Clear();
    ChipSetID = 0;
    Modified = false;
}

void TVudMap::ReloadChipSet()
{
    if (gChipSetExists && !gChipSetExists(ChipSetID))
        ChipSetID = 1;
}
