// Events of a map, their pages and start conditions, and the event script: the list of command
// lines with its byte encoding (also used by common events and troop battle pages).
#pragma once
#include <vector>

#include "Catalog.h"
#include "LD_MoveRoute.h"

// One event command.
class TVudEventScriptLine {
public:
    int32_t Code = 0;
    int32_t Indent = 0;
    std::string Text;
    std::vector<int32_t> Params;

    TVudEventScriptLine() = default;
    TVudEventScriptLine(int32_t code, int32_t indent, std::string text = {}, std::vector<int32_t> params = {})
        : Code(code), Indent(indent), Text(std::move(text)), Params(std::move(params)) {}

    int ParamCount() const { return int(Params.size()); }
    // New parameters are 0; a negative count empties the list.
    void SetParamCount(int n) { Params.resize(size_t(n < 0 ? 0 : n), 0); }
    // A missing parameter reads as 0.
    int32_t Param(int i) const { return (i >= 0 && i < ParamCount()) ? Params[size_t(i)] : 0; }
    void SetParam(int i, int32_t v)
    {
        if (i >= 0 && i < ParamCount())
            Params[size_t(i)] = v;
    }
    void Assign(const TVudEventScriptLine& line) { *this = line; }
    bool operator==(const TVudEventScriptLine&) const = default;
};

// Special command codes the storage layer itself relies on.
enum : int32_t {
    scEnd = 0, // the empty line that ends every script
    scBlockEnd = 10, // the empty line that closes a nested block
};

class TVudEventScriptList {
public:
    int Count() const { return int(Lines.size()); }
    // Null outside the list.
    TVudEventScriptLine* Line(int i) { return (i >= 0 && i < Count()) ? &Lines[size_t(i)] : nullptr; }
    const TVudEventScriptLine* Line(int i) const { return (i >= 0 && i < Count()) ? &Lines[size_t(i)] : nullptr; }
    TVudEventScriptLine& Add(TVudEventScriptLine line);
    void Delete(int i);
    void Clear() { Lines.clear(); }
    // Copies of Source's lines go in at Index, re-based on the indent of the line they land on.
    void InsertLines(int index, const TVudEventScriptList& source, int indentShift);
    // Decodes lines until the end of the block; a line cut short raises EReadError.
    void LoadFromBlock(TReader& s);
    void SaveToBlock(TWriter& s) const;

    bool operator==(const TVudEventScriptList&) const = default;

    std::vector<TVudEventScriptLine> Lines;
};

// The common part of every record that owns a script: pages, battle pages, common events.
// ScriptSize and ScriptData are chunks of the derived records (their IDs differ per record);
// Script is the working form and the block exists only around loading and saving.
class TVudBaseEventPageItem : public TCatalogItem {
public:
    mutable int32_t ScriptSize = 4;
    mutable TBlock ScriptData;
    TVudEventScriptList Script;

    void Clear() override; // the script part; derived records call it after their own fields
    void LoadFromStream(TReader& s) override;
    void SaveToStream(TWriter& s) const override;
};

class TVudEventCondition : public TCatalogBaseItem {
public:
    enum : uint8_t {
        cfSwitchA = 0x01,
        cfSwitchB = 0x02,
        cfVariable = 0x04,
        cfItem = 0x08,
        cfHero = 0x10,
        cfTimer = 0x20,
    };
    uint8_t Flags = 0;
    int32_t SwitchAID = 1;
    int32_t SwitchBID = 1;
    int32_t VariableID = 1;
    int32_t VariableValue = 0;
    int32_t ItemID = 1;
    int32_t HeroID = 1;
    int32_t TimerSeconds = 0;

    TVudEventCondition() { Clear(); }
    static const TFieldTable Table;
    const TFieldTable* Fields() const override { return &Table; }
    void Clear() override;
};

class TVudEventPageItem : public TVudBaseEventPageItem {
public:
    TVudEventCondition Condition;
    std::string CharSetName;
    int32_t CharSetIndex = 0;
    uint8_t Direction = 2;
    int32_t Pattern = 1;
    uint8_t Transparent = 0;
    uint8_t MoveType = 0;
    int32_t MoveFrequency = 3;
    uint8_t Trigger = 0;
    uint8_t Priority = 0;
    uint8_t NoOverlap = 0;
    uint8_t AnimationType = 0;
    int32_t MoveSpeed = 3;
    TVudMoveRoute MoveRoute;

    TVudEventPageItem() { Clear(); }
    static const TFieldTable Table;
    const TFieldTable* Fields() const override { return &Table; }
    void Clear() override;
};

// The most pages an event can have in the editor.
inline constexpr int kMaxEventPages = 100;

class TVudEventPage : public TCatalogOf<TVudEventPageItem> {
public:
    TVudEventPage() : TCatalogOf("Página de evento no válida.") {}
};

class TVudEventItem : public TCatalogItem {
public:
    int32_t X = 0;
    int32_t Y = 0;
    TVudEventPage Pages;

    TVudEventItem() { Clear(); }
    static const TFieldTable Table;
    const TFieldTable* Fields() const override { return &Table; }
    // An event always starts with one page.
    void Clear() override;
};

class TVudEvent : public TCatalogOf<TVudEventItem> {
public:
    TVudEvent() : TCatalogOf("Evento no válido.") {}
};

// Special character IDs of event commands; map events use 1..kMaxMapEventID.
enum : int32_t {
    kEventHero = 10001,
    kEventBoat = 10002,
    kEventShip = 10003,
    kEventAirship = 10004,
    kEventThis = 10005,
    kMaxMapEventID = 5000,
};
