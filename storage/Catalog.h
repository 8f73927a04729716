// The chunk codec (field descriptors, the record base and its generic load/save loops) and the
// ID-keyed record lists every collection of a project is made of.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

#include "Stream.h"
#include "VudError.h"

// Anything that a kind-4/5 chunk can hold: a nested record or a nested list.
class TStreamable {
public:
    virtual ~TStreamable() = default;
    virtual void LoadFromStream(TReader& s) = 0;
    virtual void SaveToStream(TWriter& s) const = 0;
};

enum TVarKind : uint8_t {
    vkInteger = 0,
    vkBytes = 1,
    vkBlock = 2,
    vkString = 3,
    vkCatalog = 4,
    vkItem = 5,
    vkByte = 6,
    vkDouble = 7,
    vkNone = 8,
};

// Kind-2 fields: a resizable block of raw little-endian bytes.
using TBlock = std::vector<uint8_t>;

// What a record tells the codec about one chunk ID.
// Data: the field (kinds 0 int32_t, 1 raw memory of Size bytes, 2 TBlock, 3 std::string,
// 6 uint8_t, 7 double) or the nested TStreamable (kinds 4, 5).
class TCatalogVarData {
public:
    TVarKind Kind = vkNone;
    void* Data = nullptr;
    uint32_t Size = 0;
    int32_t DefaultInt = 0;
    uint8_t DefaultByte = 0;
    double DefaultDouble = 0;
    bool SkipIfEmpty = false;

    void Define(TVarKind kind, void* data, uint32_t size);
    void DefineInteger(int32_t* data, int32_t def);
    void DefineByte(uint8_t* data, uint8_t def);
    void DefineString(std::string* data, bool skipIfEmpty);
    void DefineNested(TVarKind kind, TStreamable* nested);
};

class TCatalogBaseItem;

// One line of a record's field table: chunk ID, name (also the JSON key of our tools), kind,
// where the field lives, and its write default.
struct TFieldDef {
    int ID = 0;
    const char* Name = "";
    TVarKind Kind = vkNone;
    // Address of the field; for kinds 4/5 a TStreamable*. Null: the record's own GetVarData
    // handles this ID (sizes that depend on other fields, computed arrays).
    void* (*Addr)(TCatalogBaseItem&) = nullptr;
    uint32_t Size = 0;
    int32_t DefaultInt = 0;
    uint8_t DefaultByte = 0;
    double DefaultDouble = 0;
    bool SkipIfEmpty = false;
    // Kinds 1/2: width of one element (1, 2 or 4) so tools can show the values.
    uint8_t ElemSize = 1;
};

class TFieldTable {
public:
    TFieldTable(std::initializer_list<TFieldDef> defs);
    const TFieldDef* Find(int id) const { return (id > 0 && id < 1000 && Index[id] >= 0) ? &Defs[Index[id]] : nullptr; }
    const std::vector<TFieldDef>& All() const { return Defs; }

private:
    std::vector<TFieldDef> Defs; // ascending IDs
    std::array<int16_t, 1000> Index;
};

// Base of every stored record.
class TCatalogBaseItem : public TStreamable {
public:
    // The record's field table; the generic GetVarData and the save loop use it. Records
    // without a table answer GetVarData themselves and are saved over IDs 1..999.
    virtual const TFieldTable* Fields() const { return nullptr; }
    virtual void GetVarData(int ID, TCatalogVarData& vd, bool Reading);
    virtual void Clear() {}
    virtual void Assign(const TCatalogBaseItem& source);
    void LoadFromStream(TReader& s) override;
    void SaveToStream(TWriter& s) const override;

    // Single-record clipboard transfer (block layout: u32 byte count, u32 record count, data).
    std::vector<uint8_t> CopyToClipboard() const;
    // False, and the record untouched, when the block is missing or malformed.
    bool PasteFromClipboard(std::span<const uint8_t> block);

protected:
    // Loads the chunk loop without calling Clear first (for records that wrap the loop).
    void LoadChunks(TReader& s);
    void SaveChunks(TWriter& s) const;
};

class TCatalogItem : public TCatalogBaseItem {
public:
    int32_t ID = 0;
    std::string Name;

    virtual void SetID(int id) { ID = id; }
    // The list's constructor hook for a new item: stores the ID. Records whose new items get
    // other values than Clear's override it.
    virtual void Create(int id) { SetID(id); }
};

using TItemFactory = std::unique_ptr<TCatalogItem> (*)();

template <class T>
std::unique_ptr<TCatalogItem> MakeCatalogItem()
{
    return std::make_unique<T>();
}

class TCatalog : public TStreamable {
public:
    explicit TCatalog(TItemFactory itemClass) : ItemClass(itemClass) {}
    TCatalog(const TCatalog&) = delete;
    TCatalog& operator=(const TCatalog&) = delete;
    TCatalog(TCatalog&&) = default;
    TCatalog& operator=(TCatalog&&) = default;

    int Count() const { return int(Items.size()); }
    TCatalogItem* Item(int index) const;
    TCatalogItem* FindByID(int id) const;
    TCatalogItem* Obtain(int id);
    TCatalogItem* Append();
    TCatalogItem* Insert(int id);
    void Delete(int id);
    void Remove(int id);
    void Clear() { Items.clear(); }
    // Stable sort by `less`, then renumber 1..Count.
    void Sort(bool (*less)(const TCatalogItem&, const TCatalogItem&));
    std::unique_ptr<TCatalogItem> NewItem(int id) const;

    virtual void LoadItem(int index, TReader& s);
    virtual void SaveItem(int index, TWriter& s) const;
    virtual void Assign(const TCatalog& source);
    void LoadFromStream(TReader& s) override;
    void SaveToStream(TWriter& s) const override;

    std::vector<uint8_t> CopyToClipboard(int index, int count) const;
    // Overwrites the records with IDs index+1.. from the block; returns how many were pasted.
    // A missing or malformed block pastes nothing and returns 0.
    virtual int PasteFromClipboard(std::span<const uint8_t> block, int index);

    static std::string DisplayName(const TCatalogItem& item);

protected:
    void normaliseOrder();
    TItemFactory ItemClass;
    std::vector<std::unique_ptr<TCatalogItem>> Items;
};

// A list of one record class with the typed accessors and the list's "missing" message.
template <class T>
class TCatalogOf : public TCatalog {
public:
    explicit TCatalogOf(const char* missingMessage = "")
        : TCatalog(&MakeCatalogItem<T>), Missing(missingMessage) {}

    T* ItemByIndex(int index) const { return Checked(Item(index)); }
    T* ItemByID(int id) const { return Checked(FindByID(id)); }
    T* Obtain(int id) { return static_cast<T*>(TCatalog::Obtain(id)); }
    T* Append() { return static_cast<T*>(TCatalog::Append()); }
    T* Insert(int id) { return static_cast<T*>(TCatalog::Insert(id)); }
    T* At(int index) const { return static_cast<T*>(Item(index)); }
    T* Find(int id) const { return static_cast<T*>(FindByID(id)); }

private:
    T* Checked(TCatalogItem* item) const
    {
        if (!item && !LenientMode())
            throw EVudError(Missing);
        return static_cast<T*>(item);
    }
    const char* Missing;
};

// The clipboard block shared by records and list ranges.
std::vector<uint8_t> EncodeClipBlock(const TWriter& records, uint32_t count);
// Checks the header against the block's real size; false when malformed.
bool DecodeClipBlock(std::span<const uint8_t> block, TReader& data, uint32_t& count);

// Private clipboard formats (Qt carries them as application/x-taleforge-<N>).
enum TClipFormat : int {
    CF_MAPTILES = 562,
    CF_MAPEVENT = 563,
    CF_EVENTPAGE = 564,
    CF_BATTLEEVENTPAGE = 565,
    CF_SCRIPTLINES = 566,
    CF_MOVEROUTE = 567,
    CF_MAP = 568,
    CF_ENCOUNTER = 569,
    CF_ANIMTIMING = 570,
    CF_ANIMFRAME = 572,
    CF_ANIMCELL = 573,
    CF_HEROES = 574,
    CF_SKILLS = 575,
    CF_ITEMS = 576,
    CF_ENEMIES = 577,
    CF_TROOPS = 578,
    CF_TERRAINS = 579,
    CF_ATTRIBUTES = 580,
    CF_CONDITIONS = 581,
    CF_ANIMATIONS = 582,
    CF_CHIPSETS = 583,
    CF_COMMONEVENTS = 584,
};

// ---- Field table lines -------------------------------------------------------------------
namespace fielddetail {
template <class M>
struct MemberTraits;
template <class C, class V>
struct MemberTraits<V C::*> {
    using Class = C;
    using Value = V;
};
template <auto M>
void* Addr(TCatalogBaseItem& item)
{
    using C = typename MemberTraits<decltype(M)>::Class;
    return &(static_cast<C&>(item).*M);
}
template <auto M>
void* NestedAddr(TCatalogBaseItem& item)
{
    using C = typename MemberTraits<decltype(M)>::Class;
    return static_cast<TStreamable*>(&(static_cast<C&>(item).*M));
}
template <class V>
constexpr uint8_t ElemOf()
{
    if constexpr (std::is_array_v<V>)
        return uint8_t(sizeof(std::remove_all_extents_t<V>));
    else
        return uint8_t(sizeof(V) <= 4 ? sizeof(V) : 1);
}
} // namespace fielddetail

template <auto M>
TFieldDef Integer(int id, const char* name, int32_t def)
{
    using V = typename fielddetail::MemberTraits<decltype(M)>::Value;
    static_assert(std::is_same_v<V, int32_t>, "integer fields are int32_t");
    TFieldDef f{id, name, vkInteger, &fielddetail::Addr<M>};
    f.DefaultInt = def;
    return f;
}

template <auto M>
TFieldDef Byte(int id, const char* name, uint8_t def)
{
    using V = typename fielddetail::MemberTraits<decltype(M)>::Value;
    static_assert(std::is_same_v<V, uint8_t>, "byte fields are uint8_t");
    TFieldDef f{id, name, vkByte, &fielddetail::Addr<M>, 1};
    f.DefaultByte = def;
    return f;
}

template <auto M>
TFieldDef Double(int id, const char* name, double def)
{
    using V = typename fielddetail::MemberTraits<decltype(M)>::Value;
    static_assert(std::is_same_v<V, double>, "double fields are double");
    TFieldDef f{id, name, vkDouble, &fielddetail::Addr<M>, 8};
    f.DefaultDouble = def;
    return f;
}

template <auto M>
TFieldDef String(int id, const char* name, bool skipIfEmpty = false)
{
    using V = typename fielddetail::MemberTraits<decltype(M)>::Value;
    static_assert(std::is_same_v<V, std::string>, "string fields are std::string");
    TFieldDef f{id, name, vkString, &fielddetail::Addr<M>};
    f.SkipIfEmpty = skipIfEmpty;
    return f;
}

// A fixed-size field copied as its memory (flags, fixed arrays, rectangles).
template <auto M>
TFieldDef Bytes(int id, const char* name)
{
    using V = typename fielddetail::MemberTraits<decltype(M)>::Value;
    static_assert(std::is_trivially_copyable_v<V>);
    TFieldDef f{id, name, vkBytes, &fielddetail::Addr<M>, uint32_t(sizeof(V))};
    f.ElemSize = fielddetail::ElemOf<V>();
    return f;
}

template <auto M>
TFieldDef Block(int id, const char* name, uint8_t elemSize = 1)
{
    using V = typename fielddetail::MemberTraits<decltype(M)>::Value;
    static_assert(std::is_same_v<V, TBlock>, "block fields are TBlock");
    TFieldDef f{id, name, vkBlock, &fielddetail::Addr<M>};
    f.ElemSize = elemSize;
    return f;
}

// A nested list (kind 4) or record (kind 5) held by value.
template <auto M>
TFieldDef Nested(int id, const char* name)
{
    using V = typename fielddetail::MemberTraits<decltype(M)>::Value;
    static_assert(std::is_base_of_v<TStreamable, V>);
    return TFieldDef{id, name, std::is_base_of_v<TCatalog, V> ? vkCatalog : vkItem, &fielddetail::NestedAddr<M>};
}

// An ID the record answers in its own GetVarData.
inline TFieldDef Custom(int id, const char* name, TVarKind kind, uint8_t elemSize = 1)
{
    TFieldDef f{id, name, kind, nullptr};
    f.ElemSize = elemSize;
    return f;
}
