#include "RecordJson.h"

#include <cstring>
#include <limits>

#include "Cp1252.h"
#include "LD_Event.h"
#include "LD_Map.h"
#include "LD_MoveRoute.h"

namespace {

constexpr int64_t kIntMin = std::numeric_limits<int32_t>::min();
constexpr int64_t kIntMax = std::numeric_limits<int32_t>::max();

std::string join(const std::string& path, const std::string& key) { return path.empty() ? key : path + "." + key; }
std::string index(const std::string& path, size_t i) { return path + "[" + std::to_string(i) + "]"; }

// The descriptor a record gives for one of its table lines.
TCatalogVarData describe(const TCatalogBaseItem& record, int id, bool reading)
{
    TCatalogVarData vd;
    const_cast<TCatalogBaseItem&>(record).GetVarData(id, vd, reading);
    return vd;
}

// ---- element arrays of kinds 1 and 2 -------------------------------------------------------

int64_t elementAt(const uint8_t* p, uint8_t elem)
{
    switch (elem) {
    case 4: {
        int32_t v;
        std::memcpy(&v, p, 4);
        return v;
    }
    case 2: {
        uint16_t v;
        std::memcpy(&v, p, 2);
        return v;
    }
    default: return *p;
    }
}

void putElement(uint8_t* p, uint8_t elem, int64_t v)
{
    if (elem == 4) {
        const auto x = int32_t(v);
        std::memcpy(p, &x, 4);
    } else if (elem == 2) {
        const auto x = uint16_t(v);
        std::memcpy(p, &x, 2);
    } else {
        *p = uint8_t(v);
    }
}

std::pair<int64_t, int64_t> elementRange(uint8_t elem)
{
    if (elem == 4)
        return {kIntMin, kIntMax};
    if (elem == 2)
        return {0, 65535};
    return {0, 255};
}

Json elementsToJson(const uint8_t* p, size_t size, uint8_t elem)
{
    Json a = Json::MakeArray();
    for (size_t i = 0; i + elem <= size; i += elem)
        a.Push(elementAt(p + i, elem));
    return a;
}

std::vector<uint8_t> elementsFromJson(const Json& j, uint8_t elem, const std::string& path)
{
    if (!j.IsArray())
        BuildFail(path, "se esperaba una lista de números");
    const auto [lo, hi] = elementRange(elem);
    std::vector<uint8_t> out(j.AsArray().size() * elem);
    for (size_t i = 0; i < j.AsArray().size(); ++i)
        putElement(&out[i * elem], elem, IntFromJson(j.AsArray()[i], index(path, i), lo, hi));
    return out;
}

// ---- map layers: one array per row ---------------------------------------------------------

Json layerToJson(const TVudMapLayer& layer)
{
    Json rows = Json::MakeArray();
    for (int y = 0; y < layer.Height; ++y) {
        Json row = Json::MakeArray();
        row.AsArray().reserve(size_t(layer.Width));
        for (int x = 0; x < layer.Width; ++x)
            row.Push(int(layer.Cells[size_t(x) + size_t(y) * size_t(layer.Width)]));
        rows.Push(std::move(row));
    }
    return rows;
}

void layerFromJson(TVudMapLayer& layer, const TVudMap& map, const Json& j, const std::string& path)
{
    if (!j.IsArray() || j.AsArray().size() != size_t(map.Height))
        BuildFail(path, "se esperaban " + std::to_string(map.Height) + " filas (Height)");
    layer.Resize(map.Width, map.Height);
    for (int y = 0; y < map.Height; ++y) {
        const Json& row = j.AsArray()[size_t(y)];
        const std::string rowPath = index(path, size_t(y));
        if (!row.IsArray() || row.AsArray().size() != size_t(map.Width))
            BuildFail(rowPath, "se esperaban " + std::to_string(map.Width) + " casillas (Width)");
        for (int x = 0; x < map.Width; ++x)
            layer.Cells[size_t(x) + size_t(y) * size_t(map.Width)] =
                uint16_t(IntFromJson(row.AsArray()[size_t(x)], index(rowPath, size_t(x)), 0, 65535));
    }
}

// ---- move route commands -------------------------------------------------------------------

Json commandsToJson(const std::vector<TVudMoveRouteItem>& commands)
{
    Json a = Json::MakeArray();
    for (const TVudMoveRouteItem& c : commands) {
        Json o = Json::MakeObject();
        o.Set("Code", c.Code);
        switch (c.Code) {
        case mrSwitchOn:
        case mrSwitchOff: o.Set("Value", c.Value); break;
        case mrChangeGraphic:
            o.Set("CharSetName", TextToJson(c.CharSetName));
            o.Set("CharSetIndex", c.CharSetIndex);
            break;
        case mrPlaySound:
            o.Set("SoundName", TextToJson(c.SoundName));
            o.Set("Volume", c.Volume);
            o.Set("Tempo", c.Tempo);
            o.Set("Balance", c.Balance);
            break;
        default: break;
        }
        a.Push(std::move(o));
    }
    return a;
}

void checkKeys(const Json& o, std::initializer_list<const char*> keys, const std::string& path)
{
    for (const auto& [k, v] : o.AsObject()) {
        bool known = false;
        for (const char* key : keys)
            known = known || k == key;
        if (!known)
            BuildFail(join(path, k), "campo desconocido");
    }
}

int32_t intMember(const Json& o, const char* key, int32_t def, const std::string& path)
{
    const Json* v = o.Find(key);
    return v ? int32_t(IntFromJson(*v, join(path, key), kIntMin, kIntMax)) : def;
}

std::string textMember(const Json& o, const char* key, const std::string& path)
{
    const Json* v = o.Find(key);
    return v ? TextFromJson(*v, join(path, key)) : std::string();
}

std::vector<TVudMoveRouteItem> commandsFromJson(const Json& j, const std::string& path)
{
    if (!j.IsArray())
        BuildFail(path, "se esperaba una lista de órdenes");
    std::vector<TVudMoveRouteItem> out;
    for (size_t i = 0; i < j.AsArray().size(); ++i) {
        const Json& o = j.AsArray()[i];
        const std::string p = index(path, i);
        if (!o.IsObject() || !o.Find("Code"))
            BuildFail(p, "se esperaba un objeto con \"Code\"");
        checkKeys(o, {"Code", "Value", "CharSetName", "CharSetIndex", "SoundName", "Volume", "Tempo", "Balance"}, p);
        TVudMoveRouteItem c;
        c.Code = intMember(o, "Code", 0, p);
        c.Value = intMember(o, "Value", c.Value, p);
        c.CharSetName = textMember(o, "CharSetName", p);
        c.CharSetIndex = intMember(o, "CharSetIndex", c.CharSetIndex, p);
        c.SoundName = textMember(o, "SoundName", p);
        c.Volume = intMember(o, "Volume", c.Volume, p);
        c.Tempo = intMember(o, "Tempo", c.Tempo, p);
        c.Balance = intMember(o, "Balance", c.Balance, p);
        out.push_back(std::move(c));
    }
    return out;
}

// ---- fields the table describes only as their stored form ---------------------------------

enum class Special { None, Skip, Script, Commands, Layer };

Special specialOf(const TCatalogBaseItem& record, const TFieldDef& f, const TCatalogVarData& vd)
{
    if (const auto* page = dynamic_cast<const TVudBaseEventPageItem*>(&record)) {
        if (vd.Data == &page->ScriptSize)
            return Special::Skip;
        if (vd.Data == &page->ScriptData)
            return Special::Script;
    }
    if (const auto* route = dynamic_cast<const TVudMoveRoute*>(&record)) {
        if (vd.Data == &route->DataSize)
            return Special::Skip;
        if (vd.Data == &route->Data)
            return Special::Commands;
    }
    if (dynamic_cast<const TVudMap*>(&record) && (f.ID == 71 || f.ID == 72))
        return Special::Layer;
    return Special::None;
}

const char* specialKey(Special s, const TFieldDef& f)
{
    switch (s) {
    case Special::Script: return "Script";
    case Special::Commands: return "Commands";
    default: return f.Name;
    }
}

} // namespace

[[noreturn]] void BuildFail(const std::string& path, const std::string& what)
{
    throw EBuildError((path.empty() ? std::string() : path + ": ") + what);
}

Json TextToJson(const std::string& bytes) { return Json(Cp1252ToUtf8(bytes)); }

std::string TextFromJson(const Json& j, const std::string& path)
{
    if (!j.IsString())
        BuildFail(path, "se esperaba un texto");
    std::string out;
    if (!Utf8ToCp1252(j.AsString(), out))
        BuildFail(path, "texto que Windows-1252 no puede representar");
    return out;
}

int64_t IntFromJson(const Json& j, const std::string& path, int64_t lo, int64_t hi)
{
    if (!j.IsInt())
        BuildFail(path, "se esperaba un número entero");
    const int64_t v = j.AsInt();
    if (v < lo || v > hi)
        BuildFail(path, "fuera de rango (" + std::to_string(lo) + ".." + std::to_string(hi) + ")");
    return v;
}

// ---- script lines --------------------------------------------------------------------------

Json ScriptToJson(const TVudEventScriptList& script)
{
    Json a = Json::MakeArray();
    for (const TVudEventScriptLine& line : script.Lines) {
        Json o = Json::MakeObject();
        o.Set("Code", line.Code);
        o.Set("Indent", line.Indent);
        o.Set("Text", TextToJson(line.Text));
        Json params = Json::MakeArray();
        for (int32_t p : line.Params)
            params.Push(p);
        o.Set("Params", std::move(params));
        a.Push(std::move(o));
    }
    return a;
}

void ScriptFromJson(TVudEventScriptList& script, const Json& j, const std::string& path)
{
    if (!j.IsArray())
        BuildFail(path, "se esperaba una lista de líneas");
    script.Clear();
    for (size_t i = 0; i < j.AsArray().size(); ++i) {
        const Json& o = j.AsArray()[i];
        const std::string p = index(path, i);
        if (!o.IsObject())
            BuildFail(p, "se esperaba un objeto");
        checkKeys(o, {"Code", "Indent", "Text", "Params"}, p);
        TVudEventScriptLine line(intMember(o, "Code", 0, p), intMember(o, "Indent", 0, p), textMember(o, "Text", p));
        if (const Json* params = o.Find("Params")) {
            if (!params->IsArray())
                BuildFail(join(p, "Params"), "se esperaba una lista de números");
            for (size_t k = 0; k < params->AsArray().size(); ++k)
                line.Params.push_back(
                    int32_t(IntFromJson(params->AsArray()[k], index(join(p, "Params"), k), kIntMin, kIntMax)));
        }
        script.Add(std::move(line));
    }
}

// ---- records and lists ---------------------------------------------------------------------

Json NestedToJson(const TStreamable& nested)
{
    if (const auto* list = dynamic_cast<const TCatalog*>(&nested))
        return CatalogToJson(*list);
    if (const auto* rec = dynamic_cast<const TCatalogBaseItem*>(&nested))
        return RecordToJson(*rec);
    // Something without a table: its stored bytes, so nothing is lost.
    TWriter w;
    nested.SaveToStream(w);
    Json o = Json::MakeObject();
    o.Set("Raw", elementsToJson(w.Buf.data(), w.Buf.size(), 1));
    return o;
}

void NestedFromJson(TStreamable& nested, const Json& j, const std::string& path)
{
    if (auto* list = dynamic_cast<TCatalog*>(&nested))
        return CatalogFromJson(*list, j, path);
    if (auto* rec = dynamic_cast<TCatalogBaseItem*>(&nested))
        return RecordFromJson(*rec, j, path);
    const Json* raw = j.IsObject() ? j.Find("Raw") : nullptr;
    if (!raw)
        BuildFail(path, "se esperaba un objeto con \"Raw\"");
    const auto bytes = elementsFromJson(*raw, 1, join(path, "Raw"));
    TReader r(bytes);
    try {
        nested.LoadFromStream(r);
    } catch (const EVudError& e) {
        BuildFail(path, e.what());
    }
}

Json CatalogToJson(const TCatalog& list)
{
    Json a = Json::MakeArray();
    for (int i = 0; i < list.Count(); ++i) {
        const TCatalogItem& item = *list.Item(i);
        Json o = Json::MakeObject();
        o.Set("ID", item.ID);
        Json fields = RecordToJson(item);
        for (auto& member : fields.AsObject())
            o.AsObject().push_back(std::move(member));
        a.Push(std::move(o));
    }
    return a;
}

void CatalogFromJson(TCatalog& list, const Json& j, const std::string& path)
{
    if (!j.IsArray())
        BuildFail(path, "se esperaba una lista de registros");
    list.Clear();
    for (size_t i = 0; i < j.AsArray().size(); ++i) {
        const Json& o = j.AsArray()[i];
        const std::string p = index(path, i);
        const Json* id = o.IsObject() ? o.Find("ID") : nullptr;
        if (!id)
            BuildFail(p, "se esperaba un objeto con \"ID\"");
        const auto value = int32_t(IntFromJson(*id, join(p, "ID"), kIntMin, kIntMax));
        if (list.FindByID(value))
            BuildFail(join(p, "ID"), "ID repetido");
        RecordFromJson(*list.Obtain(value), o, p);
    }
}

Json RecordToJson(const TCatalogBaseItem& record)
{
    Json o = Json::MakeObject();
    const TFieldTable* table = record.Fields();
    if (!table)
        return o;
    for (const TFieldDef& f : table->All()) {
        const TCatalogVarData vd = describe(record, f.ID, false);
        if (vd.Kind == vkNone)
            continue;
        const Special special = specialOf(record, f, vd);
        switch (special) {
        case Special::Skip: continue;
        case Special::Script:
            o.Set("Script", ScriptToJson(static_cast<const TVudBaseEventPageItem&>(record).Script));
            continue;
        case Special::Commands:
            o.Set("Commands", commandsToJson(static_cast<const TVudMoveRoute&>(record).Commands));
            continue;
        case Special::Layer: {
            const auto& map = static_cast<const TVudMap&>(record);
            o.Set(f.Name, layerToJson(f.ID == 71 ? map.LowerLayer : map.UpperLayer));
            continue;
        }
        case Special::None: break;
        }
        switch (vd.Kind) {
        case vkInteger: o.Set(f.Name, *static_cast<const int32_t*>(vd.Data)); break;
        case vkByte: o.Set(f.Name, int(*static_cast<const uint8_t*>(vd.Data))); break;
        case vkDouble: {
            double d;
            std::memcpy(&d, vd.Data, 8);
            o.Set(f.Name, d);
            break;
        }
        case vkString: o.Set(f.Name, TextToJson(*static_cast<const std::string*>(vd.Data))); break;
        case vkBytes: {
            const auto* p = static_cast<const uint8_t*>(vd.Data);
            const uint8_t elem = f.ElemSize ? f.ElemSize : 1;
            if (vd.Size == elem)
                o.Set(f.Name, elementAt(p, elem));
            else
                o.Set(f.Name, elementsToJson(p, vd.Size, vd.Size % elem ? 1 : elem));
            break;
        }
        case vkBlock: {
            const auto& block = *static_cast<const TBlock*>(vd.Data);
            const uint8_t elem = f.ElemSize ? f.ElemSize : 1;
            if (block.size() % elem) {
                Json raw = Json::MakeObject();
                raw.Set("Bytes", elementsToJson(block.data(), block.size(), 1));
                o.Set(f.Name, std::move(raw));
            } else {
                o.Set(f.Name, elementsToJson(block.data(), block.size(), elem));
            }
            break;
        }
        case vkCatalog:
        case vkItem: o.Set(f.Name, NestedToJson(*static_cast<const TStreamable*>(vd.Data))); break;
        case vkNone: break;
        }
    }
    return o;
}

namespace {

void fieldFromJson(TCatalogBaseItem& record, const TFieldDef& f, const TCatalogVarData& vd, const Json& v,
                   const std::string& p)
{
    switch (vd.Kind) {
    case vkInteger: *static_cast<int32_t*>(vd.Data) = int32_t(IntFromJson(v, p, kIntMin, kIntMax)); break;
    case vkByte: *static_cast<uint8_t*>(vd.Data) = uint8_t(IntFromJson(v, p, 0, 255)); break;
    case vkDouble: {
        if (!v.IsNumber())
            BuildFail(p, "se esperaba un número");
        const double d = v.AsReal();
        std::memcpy(vd.Data, &d, 8);
        break;
    }
    case vkString: *static_cast<std::string*>(vd.Data) = TextFromJson(v, p); break;
    case vkBytes: {
        const uint8_t elem0 = f.ElemSize ? f.ElemSize : 1;
        const uint8_t elem = vd.Size % elem0 ? 1 : elem0;
        std::vector<uint8_t> bytes;
        if (vd.Size == elem && !v.IsArray()) {
            const auto [lo, hi] = elementRange(elem);
            bytes.resize(elem);
            putElement(bytes.data(), elem, IntFromJson(v, p, lo, hi));
        } else {
            bytes = elementsFromJson(v, elem, p);
        }
        if (bytes.size() != vd.Size)
            BuildFail(p, "se esperaban " + std::to_string(vd.Size / elem) + " valores");
        std::memcpy(vd.Data, bytes.data(), bytes.size());
        break;
    }
    case vkBlock: {
        auto& block = *static_cast<TBlock*>(vd.Data);
        if (v.IsObject() && v.Find("Bytes"))
            block = elementsFromJson(*v.Find("Bytes"), 1, join(p, "Bytes"));
        else
            block = elementsFromJson(v, f.ElemSize ? f.ElemSize : 1, p);
        break;
    }
    case vkCatalog:
    case vkItem: NestedFromJson(*static_cast<TStreamable*>(vd.Data), v, p); break;
    case vkNone: break;
    }
    (void)record;
}

} // namespace

void RecordFromJson(TCatalogBaseItem& record, const Json& j, const std::string& path)
{
    if (!j.IsObject())
        BuildFail(path, "se esperaba un objeto");
    record.Clear();
    const TFieldTable* table = record.Fields();
    std::vector<std::string> used = {"ID"};
    std::vector<std::pair<const TFieldDef*, const Json*>> layers;
    if (table) {
        for (const TFieldDef& f : table->All()) {
            // A field the record leaves out while writing (a chipset table at its defaults)
            // still takes a value.
            TCatalogVarData vd = describe(record, f.ID, false);
            if (vd.Kind == vkNone)
                vd = describe(record, f.ID, true);
            if (vd.Kind == vkNone)
                continue;
            const Special special = specialOf(record, f, vd);
            if (special == Special::Skip)
                continue;
            const char* key = specialKey(special, f);
            const Json* v = j.Find(key);
            used.emplace_back(key);
            if (!v)
                continue;
            const std::string p = join(path, key);
            switch (special) {
            case Special::Script:
                ScriptFromJson(static_cast<TVudBaseEventPageItem&>(record).Script, *v, p);
                continue;
            case Special::Commands:
                static_cast<TVudMoveRoute&>(record).Commands = commandsFromJson(*v, p);
                continue;
            case Special::Layer:
                layers.emplace_back(&f, v); // once the size is known
                continue;
            default: break;
            }
            fieldFromJson(record, f, describe(record, f.ID, true), *v, p);
        }
    }
    for (const auto& [k, v] : j.AsObject())
        if (std::find(used.begin(), used.end(), k) == used.end())
            BuildFail(join(path, k), "campo desconocido");
    if (auto* map = dynamic_cast<TVudMap*>(&record)) {
        if (map->Width < 1 || map->Width > kMaxMapSide || map->Height < 1 || map->Height > kMaxMapSide)
            BuildFail(join(path, "Width"), "tamaño de mapa fuera de rango (1..9999)");
        // As for files: cells beyond the editor's largest map must be given, not made up.
        if (int64_t(map->Width) * map->Height > kMaxEditorMapCells && layers.size() != 2)
            BuildFail(join(path, "LowerLayer"), "un mapa de más de 999 × 999 casillas necesita sus dos capas");
        map->SetWidth(map->Width);
        map->SetHeight(map->Height);
        for (const auto& [f, v] : layers)
            layerFromJson(f->ID == 71 ? map->LowerLayer : map->UpperLayer, *map, *v, join(path, f->Name));
        map->SetScrollType(map->ScrollType);
    }
}
