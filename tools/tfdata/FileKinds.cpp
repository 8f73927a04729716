#include "FileKinds.h"

#include "DataBaseDoc.h"
#include "LD_Map.h"
#include "LD_MapTree.h"
#include "RecordJson.h"

namespace {

std::vector<TFileKind>& kinds()
{
    static std::vector<TFileKind> all;
    return all;
}

class TMapDoc : public TFileDoc {
public:
    void Load(TReader& s) override { Map.LoadFromFileBytes(s); }
    std::vector<uint8_t> Save() const override { return Map.SaveToFileBytes(); }
    void CountSave() override { ++Map.SaveCount; }
    Json ToJson() const override
    {
        Json o = Json::MakeObject();
        o.Set("Format", kMapFormatName);
        Json fields = RecordToJson(Map);
        for (auto& m : fields.AsObject())
            o.AsObject().push_back(std::move(m));
        return o;
    }
    void FromJson(const Json& j) override
    {
        Json fields = j;
        std::erase_if(fields.AsObject(), [](const Json::Member& m) { return m.first == "Format"; });
        RecordFromJson(Map, fields, "");
    }

private:
    TVudMap Map;
};

class TMapTreeDoc : public TFileDoc {
public:
    void Load(TReader& s) override { Tree.LoadTreeFromStream(s); }
    std::vector<uint8_t> Save() const override
    {
        TWriter w;
        Tree.SaveTreeToStream(w);
        return std::move(w.Buf);
    }
    Json ToJson() const override
    {
        Json o = Json::MakeObject();
        o.Set("Format", kMapTreeFormatName);
        o.Set("Nodes", CatalogToJson(Tree));
        Json order = Json::MakeArray();
        for (int32_t id : Tree.Order)
            order.Push(id);
        o.Set("Order", std::move(order));
        o.Set("ActiveMapID", Tree.ActiveMapID);
        o.Set("StartPosition", RecordToJson(Tree.StartPosition));
        return o;
    }
    void FromJson(const Json& j) override
    {
        for (const auto& [k, v] : j.AsObject())
            if (k != "Format" && k != "Nodes" && k != "Order" && k != "ActiveMapID" && k != "StartPosition")
                BuildFail(k, "campo desconocido");
        Tree.ClearTree();
        if (const Json* nodes = j.Find("Nodes"))
            CatalogFromJson(Tree, *nodes, "Nodes");
        if (const Json* order = j.Find("Order")) {
            if (!order->IsArray())
                BuildFail("Order", "se esperaba una lista de IDs");
            for (size_t i = 0; i < order->AsArray().size(); ++i)
                Tree.Order.push_back(
                    int32_t(IntFromJson(order->AsArray()[i], "Order[" + std::to_string(i) + "]", INT32_MIN, INT32_MAX)));
        }
        Tree.ActiveMapID = 0;
        if (const Json* active = j.Find("ActiveMapID"))
            Tree.ActiveMapID = int32_t(IntFromJson(*active, "ActiveMapID", INT32_MIN, INT32_MAX));
        Tree.StartPosition.Clear();
        if (const Json* start = j.Find("StartPosition"))
            RecordFromJson(Tree.StartPosition, *start, "StartPosition");
        // The same repairs a load makes, so the file built is one the editor could have written.
        Tree.Normalise();
    }

private:
    TVudMapTree Tree;
};

void registerBuiltIns()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterFileKind(kMapFormatName, [] { return std::make_unique<TMapDoc>(); });
    RegisterFileKind(kMapTreeFormatName, [] { return std::make_unique<TMapTreeDoc>(); });
    RegisterFileKind(TVudDataBase::FormatName, [] { return std::make_unique<TDataBaseDoc>(); });
}

} // namespace

void RegisterFileKind(std::string format, std::function<std::unique_ptr<TFileDoc>()> make)
{
    for (TFileKind& k : kinds())
        if (k.Format == format) {
            k.Make = std::move(make);
            return;
        }
    kinds().push_back({std::move(format), std::move(make)});
}

const TFileKind* FindFileKind(const std::string& format)
{
    registerBuiltIns();
    for (const TFileKind& k : kinds())
        if (k.Format == format)
            return &k;
    return nullptr;
}

std::vector<std::string> FileKindNames()
{
    registerBuiltIns();
    std::vector<std::string> names;
    for (const TFileKind& k : kinds())
        names.push_back(k.Format);
    return names;
}

std::string ReadFormatName(std::span<const uint8_t> file)
{
    TReader r(file.data(), file.size());
    std::string name;
    ReadBerString(r, name);
    return name;
}
