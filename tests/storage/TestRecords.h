// Small records used by the codec tests.
#pragma once
#include "Catalog.h"

struct TTestSub : TCatalogItem {
    int32_t Value = 0;
    static const TFieldTable Table;
    const TFieldTable* Fields() const override { return &Table; }
    void Clear() override { Name.clear(); Value = 0; }
};
inline const TFieldTable TTestSub::Table = {
    String<&TTestSub::Name>(1, "Name"),
    Integer<&TTestSub::Value>(2, "Value", 0),
};

struct TTestRecord : TCatalogItem {
    int32_t A = 0;
    int32_t B = 1;
    int32_t C = 0;
    uint8_t Flag = 0;
    uint8_t Pair[2] = {0, 0};
    std::string Note;
    TBlock Ids;
    TCatalogOf<TTestSub> Subs{"Sub no válido."};
    TTestSub Single;
    double Rate = 0;

    TTestRecord() { Clear(); }
    static const TFieldTable Table;
    const TFieldTable* Fields() const override { return &Table; }
    void Clear() override
    {
        Name.clear();
        A = 0;
        B = 1;
        C = 0;
        Flag = 0;
        Pair[0] = Pair[1] = 0;
        Note.clear();
        Ids.clear();
        Subs.Clear();
        Single.Clear();
        Rate = 0;
    }
};
inline const TFieldTable TTestRecord::Table = {
    String<&TTestRecord::Name>(1, "Name"),
    Integer<&TTestRecord::A>(5, "A", 0),
    Integer<&TTestRecord::B>(6, "B", 1),
    Integer<&TTestRecord::C>(36, "C", 0),
    Byte<&TTestRecord::Flag>(7, "Flag", 0),
    Bytes<&TTestRecord::Pair>(8, "Pair"),
    String<&TTestRecord::Note>(9, "Note", true),
    Block<&TTestRecord::Ids>(10, "Ids", 2),
    Nested<&TTestRecord::Subs>(11, "Subs"),
    Nested<&TTestRecord::Single>(12, "Single"),
    Double<&TTestRecord::Rate>(13, "Rate", 0.0),
};

inline std::vector<uint8_t> Save(const TStreamable& r)
{
    TWriter w;
    r.SaveToStream(w);
    return w.Buf;
}

inline void Load(TStreamable& r, const std::vector<uint8_t>& bytes)
{
    TReader s(bytes);
    r.LoadFromStream(s);
}
