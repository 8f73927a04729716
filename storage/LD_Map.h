// A map: its size, tile set, edge looping, parallax background, two tile layers and events;
// the file MapNNNN.lmu and its work copy in the scratch folder.
#pragma once
#include <filesystem>
#include <functional>

#include "Catalog.h"
#include "LD_Event.h"

// A rectangular grid of 16-bit tile IDs.
class TVudMapLayer {
public:
    int Width = 0;
    int Height = 0;
    bool WrapX = false;
    bool WrapY = false;
    std::vector<uint16_t> Cells; // x + y * Width
    uint16_t FillValue = 0;

    explicit TVudMapLayer(uint16_t fillValue = 0) : FillValue(fillValue) {}

    void Reset() { Resize(20, 15), Fill(); }
    void Fill() { std::fill(Cells.begin(), Cells.end(), FillValue); }
    // Outside the grid a wrapping axis is brought back in range; otherwise -1.
    int Get(int x, int y) const;
    void Set(int x, int y, uint16_t value);
    void Assign(const TVudMapLayer& layer) { *this = layer; }
    // New grid filled with FillValue, old cells kept where they fit (anchored top-left).
    void Resize(int w, int h);
    void SetWidth(int w) { Resize(w, Height); }
    void SetHeight(int h) { Resize(Width, h); }
};

// The file name of a map: Map0001.lmu for map 1.
std::string MapFileName(int id);

// Folders the map and map tree files live in. The application shell sets both (the scratch
// folder comes from the platform layer's private per-user folder); tests point them at temporary
// folders. Storage never picks a folder itself.
void SetProjectFolder(const std::filesystem::path& folder);
const std::filesystem::path& ProjectFolder();
void SetScratchFolder(const std::filesystem::path& folder);
const std::filesystem::path& ScratchFolder();

// Tells whether the database has a chipset with this ID. Set by the database; unset, every ID
// is taken as it is.
void SetChipSetLookup(std::function<bool(int)> exists);

// A map as a file unit.
class TVudBaseMapUnit : public TCatalogItem {
public:
    bool Modified = false; // edits not yet written to any file

    // Strict unless lenient mode is on (then a missing or broken file leaves what was read).
    virtual void LoadFromFile(const std::filesystem::path& fileName);
    virtual void SaveToFile(const std::filesystem::path& fileName);
    // Always strict: the work copy commit must not turn a lost file into an empty map.
    void LoadFromFileStrict(const std::filesystem::path& fileName);
    // The file content: format name, then the record.
    void LoadFromFileBytes(TReader& s);
    std::vector<uint8_t> SaveToFileBytes() const;

    void LoadFromProject(int id);
    void SaveToProject(int id);
    void DeleteFromProject(int id);
    void LoadWork(int id);
    void SaveWork(int id);
    void DeleteWork(int id);

protected:
    // What every load ends with, whether the file was read or not.
    virtual void CompleteLoad() {}
};

inline constexpr const char* kMapFormatName = "VudMapUnit";
// A size chunk outside this range cannot come from any editor.
inline constexpr int kMaxMapSide = 9999;
// The editor's own largest map; a bigger layer must be backed by its data in the file.
inline constexpr int64_t kMaxEditorMapCells = 999 * 999;

class TVudMap : public TVudBaseMapUnit {
public:
    int32_t ChipSetID = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    uint8_t ScrollType = 0; // 0 none, 1 vertical, 2 horizontal, 3 both
    uint8_t UsePanorama = 0;
    std::string PanoramaName;
    uint8_t PanoramaHScroll = 0;
    uint8_t PanoramaVScroll = 0;
    uint8_t PanoramaHAuto = 0;
    int32_t PanoramaHSpeed = 0;
    uint8_t PanoramaVAuto = 0;
    int32_t PanoramaVSpeed = 0;
    TVudMapLayer LowerLayer{0};
    TVudMapLayer UpperLayer{10000};
    TVudEvent Events;
    int32_t SaveCount = 0;

    // A new map object is the state with no map open (as after Unload).
    TVudMap() = default;
    static const TFieldTable Table;
    const TFieldTable* Fields() const override { return &Table; }
    void GetVarData(int ID, TCatalogVarData& vd, bool Reading) override;
    void Clear() override;
    // Layers are read into staging blocks and sized once the whole record is known.
    void LoadFromStream(TReader& s) override;
    void SaveToFile(const std::filesystem::path& fileName) override;

    void SetWidth(int w);
    void SetHeight(int h);
    void SetScrollType(uint8_t type);

    // Every edit of a cell goes through SetCell (layer 0 lower, 1 upper): a cell outside the
    // map is ignored; a changed value marks the map modified and is reported to OnCellsChanged,
    // so a view repaints only what changed. Whole-layer replacements report through CellsChanged.
    std::function<void(int x, int y, int w, int h)> OnCellsChanged;
    void SetCell(int layer, int x, int y, uint16_t id)
    {
        TVudMapLayer& l = layer ? UpperLayer : LowerLayer;
        if (x < 0 || y < 0 || x >= l.Width || y >= l.Height)
            return;
        uint16_t& cell = l.Cells[size_t(x) + size_t(y) * size_t(l.Width)];
        if (cell == id)
            return;
        cell = id;
        CellsChanged(x, y, 1, 1);
    }
    void CellsChanged(int x, int y, int w, int h)
    {
        Modified = true;
        if (OnCellsChanged)
            OnCellsChanged(x, y, w, h);
    }
    // Moves the whole content by dx, dy cells, wrapping around the edges.
    void Shift(int dx, int dy);
    void Unload();
    // Replaces a chipset ID the database lacks by 1.
    void ReloadChipSet();

protected:
    void CompleteLoad() override;

private:
    struct TStage {
        bool Read = false;
        int W = 0, H = 0; // map size when the chunk was met
        TBlock Bytes;
    };
    void finishLayers(bool strict);
    void finishLayer(TVudMapLayer& layer, TStage& stage);
    TStage Stage[2];
};
