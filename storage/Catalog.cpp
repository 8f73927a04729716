#include "Catalog.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

// ---- TCatalogVarData ---------------------------------------------------------------------

void TCatalogVarData::Define(TVarKind kind, void* data, uint32_t size)
{
    Kind = kind;
    Data = data;
    Size = size;
    DefaultInt = 0x7FFFFFFF;
}

void TCatalogVarData::DefineInteger(int32_t* data, int32_t def)
{
    Kind = vkInteger;
    Data = data;
    Size = 0;
    DefaultInt = def;
}

void TCatalogVarData::DefineByte(uint8_t* data, uint8_t def)
{
    Kind = vkByte;
    Data = data;
    Size = 1;
    DefaultByte = def;
}

void TCatalogVarData::DefineString(std::string* data, bool skipIfEmpty)
{
    Kind = vkString;
    Data = data;
    Size = 0;
    SkipIfEmpty = skipIfEmpty;
}

void TCatalogVarData::DefineNested(TVarKind kind, TStreamable* nested)
{
    Define(kind, nested, 0);
}

// ---- TFieldTable -------------------------------------------------------------------------

TFieldTable::TFieldTable(std::initializer_list<TFieldDef> defs) : Defs(defs)
{
    std::stable_sort(Defs.begin(), Defs.end(), [](const TFieldDef& a, const TFieldDef& b) { return a.ID < b.ID; });
    Index.fill(-1);
    for (size_t i = 0; i < Defs.size(); ++i) {
        const int id = Defs[i].ID;
        if (id < 1 || id > 999 || Index[id] >= 0)
            throw std::logic_error("field table: chunk IDs must be unique and within 1..999");
        Index[id] = int16_t(i);
    }
}

// ---- TCatalogBaseItem --------------------------------------------------------------------

void TCatalogBaseItem::GetVarData(int ID, TCatalogVarData& vd, bool)
{
    const TFieldTable* table = Fields();
    const TFieldDef* f = table ? table->Find(ID) : nullptr;
    if (!f || !f->Addr)
        return;
    vd.Kind = f->Kind;
    vd.Data = f->Addr(*this);
    vd.Size = f->Size;
    vd.DefaultInt = f->DefaultInt;
    vd.DefaultByte = f->DefaultByte;
    vd.DefaultDouble = f->DefaultDouble;
    vd.SkipIfEmpty = f->SkipIfEmpty;
}

namespace {

void saveChunk(TWriter& s, int id, const TCatalogVarData& vd)
{
    switch (vd.Kind) {
    case vkInteger: {
        const int32_t v = *static_cast<const int32_t*>(vd.Data);
        if (v == vd.DefaultInt)
            return;
        WriteBerInt(s, uint32_t(id));
        WriteBerInt(s, uint32_t(v), true);
        return;
    }
    case vkByte:
        if (*static_cast<const uint8_t*>(vd.Data) == vd.DefaultByte)
            return;
        [[fallthrough]];
    case vkBytes:
        WriteBerInt(s, uint32_t(id));
        WriteBerInt(s, vd.Size);
        s.Write(vd.Data, vd.Size);
        return;
    case vkDouble: {
        double v;
        std::memcpy(&v, vd.Data, 8);
        if (v == vd.DefaultDouble)
            return;
        WriteBerInt(s, uint32_t(id));
        WriteBerInt(s, 8);
        s.Write(&v, 8);
        return;
    }
    case vkBlock: {
        const auto& block = *static_cast<const TBlock*>(vd.Data);
        WriteBerInt(s, uint32_t(id));
        WriteBerInt(s, uint32_t(block.size()));
        s.Write(block.data(), block.size());
        return;
    }
    case vkString: {
        const auto& str = *static_cast<const std::string*>(vd.Data);
        if (str.empty() && vd.SkipIfEmpty)
            return;
        WriteBerInt(s, uint32_t(id));
        WriteBerString(s, str);
        return;
    }
    case vkCatalog:
    case vkItem: {
        // The nested object goes to the end of the buffer first; its length is then slotted
        // in front of it.
        WriteBerInt(s, uint32_t(id));
        const size_t start = s.Size();
        static_cast<const TStreamable*>(vd.Data)->SaveToStream(s);
        const auto len = uint32_t(s.Size() - start);
        TWriter lenBytes;
        WriteBerInt(lenBytes, len);
        s.Buf.insert(s.Buf.begin() + std::ptrdiff_t(start), lenBytes.Buf.begin(), lenBytes.Buf.end());
        return;
    }
    case vkNone:
        return;
    }
}

void loadChunk(TReader& chunk, const TCatalogVarData& vd)
{
    const size_t len = chunk.Size();
    switch (vd.Kind) {
    case vkInteger: {
        // A BER that does not fill its chunk exactly is not trusted: the field keeps Clear's value.
        uint32_t v = 0;
        try {
            v = ReadBerInt(chunk);
        } catch (const EReadError&) {
            return;
        }
        if (chunk.AtEnd())
            *static_cast<int32_t*>(vd.Data) = int32_t(v);
        return;
    }
    case vkBytes:
    case vkByte:
    case vkDouble:
        if (len == vd.Size)
            chunk.Read(vd.Data, len);
        return;
    case vkBlock: {
        auto& block = *static_cast<TBlock*>(vd.Data);
        block.assign(chunk.Ptr(), chunk.Ptr() + len);
        return;
    }
    case vkString:
        static_cast<std::string*>(vd.Data)->assign(reinterpret_cast<const char*>(chunk.Ptr()), len);
        return;
    case vkCatalog:
    case vkItem:
        static_cast<TStreamable*>(vd.Data)->LoadFromStream(chunk);
        return;
    case vkNone:
        return;
    }
}

} // namespace

void TCatalogBaseItem::SaveChunks(TWriter& s) const
{
    // The codec asks through a non-const interface, as reads and writes share one descriptor.
    auto& self = const_cast<TCatalogBaseItem&>(*this);
    TCatalogVarData vd;
    auto one = [&](int id) {
        vd = TCatalogVarData();
        self.GetVarData(id, vd, false);
        saveChunk(s, id, vd);
    };
    if (const TFieldTable* table = Fields()) {
        for (const TFieldDef& f : table->All())
            one(f.ID);
    } else {
        for (int id = 1; id <= 999; ++id)
            one(id);
    }
    s.WriteByte(0);
}

void TCatalogBaseItem::SaveToStream(TWriter& s) const
{
    SaveChunks(s);
}

void TCatalogBaseItem::LoadChunks(TReader& s)
{
    TCatalogVarData vd;
    for (;;) {
        const uint32_t id = ReadBerInt(s);
        if (id == 0)
            return;
        const uint32_t len = ReadBerInt(s);
        TReader chunk = s.Sub(len); // throws when the length overruns the enclosing data
        vd = TCatalogVarData();
        if (id < 1000)
            GetVarData(int(id), vd, true);
        loadChunk(chunk, vd);
    }
}

void TCatalogBaseItem::LoadFromStream(TReader& s)
{
    Clear();
    LoadChunks(s);
}

void TCatalogBaseItem::Assign(const TCatalogBaseItem& source)
{
    TWriter w;
    source.SaveToStream(w);
    TReader r(w.Buf);
    LoadFromStream(r);
}

std::vector<uint8_t> TCatalogBaseItem::CopyToClipboard() const
{
    TWriter w;
    SaveToStream(w);
    return EncodeClipBlock(w, 1);
}

bool TCatalogBaseItem::PasteFromClipboard(std::span<const uint8_t> block)
{
    TReader data;
    uint32_t count = 0;
    if (!DecodeClipBlock(block, data, count) || count == 0)
        return false;
    // Keep the current state so a malformed record leaves this one as it was.
    TWriter backup;
    SaveToStream(backup);
    try {
        LoadFromStream(data);
        return true;
    } catch (const EVudError&) {
        TReader r(backup.Buf);
        LoadFromStream(r);
        return false;
    }
}

// ---- TCatalog ----------------------------------------------------------------------------

std::unique_ptr<TCatalogItem> TCatalog::NewItem(int id) const
{
    auto item = ItemClass();
    item->Create(id);
    return item;
}

TCatalogItem* TCatalog::Item(int index) const
{
    return (index >= 0 && index < Count()) ? Items[size_t(index)].get() : nullptr;
}

TCatalogItem* TCatalog::FindByID(int id) const
{
    if (Items.empty() || id > Items.back()->ID)
        return nullptr;
    if (id >= 1 && id <= Count() && Items[size_t(id - 1)]->ID == id)
        return Items[size_t(id - 1)].get();
    // IDs are strictly ascending, so a binary search finds what a scan would.
    auto it = std::lower_bound(Items.begin(), Items.end(), id,
                               [](const std::unique_ptr<TCatalogItem>& a, int v) { return a->ID < v; });
    return (it != Items.end() && (*it)->ID == id) ? it->get() : nullptr;
}

TCatalogItem* TCatalog::Obtain(int id)
{
    if (Items.empty() || id > Items.back()->ID) {
        Items.push_back(NewItem(id));
        return Items.back().get();
    }
    auto it = std::lower_bound(Items.begin(), Items.end(), id,
                               [](const std::unique_ptr<TCatalogItem>& a, int v) { return a->ID < v; });
    if ((*it)->ID == id)
        return it->get();
    return Items.insert(it, NewItem(id))->get();
}

TCatalogItem* TCatalog::Append()
{
    Items.push_back(NewItem(Items.empty() ? 1 : Items.back()->ID + 1));
    return Items.back().get();
}

TCatalogItem* TCatalog::Insert(int id)
{
    auto it = std::lower_bound(Items.begin(), Items.end(), id,
                               [](const std::unique_ptr<TCatalogItem>& a, int v) { return a->ID < v; });
    it = Items.insert(it, NewItem(id));
    for (auto after = it + 1; after != Items.end(); ++after)
        (*after)->SetID((*after)->ID + 1);
    return it->get();
}

void TCatalog::Delete(int id)
{
    std::erase_if(Items, [id](const std::unique_ptr<TCatalogItem>& a) { return a->ID == id; });
}

void TCatalog::Remove(int id)
{
    auto it = std::find_if(Items.begin(), Items.end(), [id](const auto& a) { return a->ID == id; });
    if (it == Items.end())
        return;
    it = Items.erase(it);
    for (; it != Items.end(); ++it)
        (*it)->SetID((*it)->ID - 1);
}

void TCatalog::Sort(bool (*less)(const TCatalogItem&, const TCatalogItem&))
{
    std::stable_sort(Items.begin(), Items.end(), [less](const auto& a, const auto& b) { return less(*a, *b); });
    for (size_t i = 0; i < Items.size(); ++i)
        Items[i]->SetID(int(i) + 1);
}

void TCatalog::LoadItem(int index, TReader& s)
{
    Items.at(size_t(index))->LoadFromStream(s);
}

void TCatalog::SaveItem(int index, TWriter& s) const
{
    Items.at(size_t(index))->SaveToStream(s);
}

void TCatalog::SaveToStream(TWriter& s) const
{
    WriteBerInt(s, uint32_t(Items.size()));
    for (size_t i = 0; i < Items.size(); ++i) {
        WriteBerInt(s, uint32_t(Items[i]->ID));
        SaveItem(int(i), s);
    }
}

void TCatalog::LoadFromStream(TReader& s)
{
    Clear();
    try {
        const uint32_t n = ReadBerInt(s);
        // Every item takes at least its ID and its terminating 0.
        if (n > s.Remaining() / 2)
            throw EReadError();
        // Items are loaded in stream order and put in ID order afterwards, so a hostile
        // order costs a sort instead of quadratic insertions.
        bool ordered = true;
        for (uint32_t k = 0; k < n; ++k) {
            const auto id = int32_t(ReadBerInt(s));
            if (!Items.empty() && id <= Items.back()->ID)
                ordered = false;
            Items.push_back(NewItem(id));
            LoadItem(int(Items.size()) - 1, s);
        }
        if (!ordered)
            normaliseOrder();
    } catch (...) {
        Clear();
        throw;
    }
}

void TCatalog::normaliseOrder()
{
    // A repeated ID keeps the record read last, as loading it again into the same item would.
    std::stable_sort(Items.begin(), Items.end(), [](const auto& a, const auto& b) { return a->ID < b->ID; });
    std::vector<std::unique_ptr<TCatalogItem>> unique;
    unique.reserve(Items.size());
    for (auto& item : Items) {
        if (!unique.empty() && unique.back()->ID == item->ID)
            unique.back() = std::move(item);
        else
            unique.push_back(std::move(item));
    }
    Items = std::move(unique);
}

void TCatalog::Assign(const TCatalog& source)
{
    if (&source == this)
        return;
    Clear();
    for (const auto& item : source.Items)
        Obtain(item->ID)->Assign(*item);
}

std::vector<uint8_t> TCatalog::CopyToClipboard(int index, int count) const
{
    TWriter w;
    int copied = 0;
    for (int i = index; i < index + count && i < Count(); ++i, ++copied)
        SaveItem(i, w);
    return EncodeClipBlock(w, uint32_t(copied));
}

int TCatalog::PasteFromClipboard(std::span<const uint8_t> block, int index)
{
    TReader data;
    uint32_t count = 0;
    if (!DecodeClipBlock(block, data, count) || index < 0)
        return 0;
    // Parse every record first: a malformed block must not change the list.
    std::vector<std::pair<int, TReader>> records;
    for (uint32_t k = 0; k < count; ++k) {
        const size_t start = data.Pos();
        auto probe = NewItem(0);
        try {
            probe->LoadFromStream(data);
        } catch (const EVudError&) {
            return 0;
        }
        const int id = index + int(k) + 1;
        if (id <= 5000)
            records.emplace_back(id, TReader(block.data() + 8 + start, data.Pos() - start));
    }
    for (auto& [id, bytes] : records)
        Obtain(id)->LoadFromStream(bytes);
    return int(records.size());
}

std::string TCatalog::DisplayName(const TCatalogItem& item)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.4d", item.ID);
    return item.Name.empty() ? std::string(buf) : std::string(buf) + ":" + item.Name;
}

// ---- clipboard block ---------------------------------------------------------------------

std::vector<uint8_t> EncodeClipBlock(const TWriter& records, uint32_t count)
{
    std::vector<uint8_t> block(8 + records.Size());
    const auto n = uint32_t(records.Size());
    for (int i = 0; i < 4; ++i) {
        block[size_t(i)] = uint8_t(n >> (8 * i));
        block[size_t(4 + i)] = uint8_t(count >> (8 * i));
    }
    if (n)
        std::memcpy(block.data() + 8, records.Buf.data(), n);
    return block;
}

bool DecodeClipBlock(std::span<const uint8_t> block, TReader& data, uint32_t& count)
{
    if (block.size() < 8)
        return false;
    uint32_t n = 0;
    count = 0;
    for (int i = 0; i < 4; ++i) {
        n |= uint32_t(block[size_t(i)]) << (8 * i);
        count |= uint32_t(block[size_t(4 + i)]) << (8 * i);
    }
    // Each record is at least its terminating 0 byte.
    if (n > block.size() - 8 || count > n)
        return false;
    data = TReader(block.data() + 8, n);
    return true;
}
