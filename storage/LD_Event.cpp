#include "LD_Event.h"

#include <algorithm>

// ---- script list -------------------------------------------------------------------------

TVudEventScriptLine& TVudEventScriptList::Add(TVudEventScriptLine line)
{
    return Lines.emplace_back(std::move(line));
}

void TVudEventScriptList::Delete(int i)
{
    if (i >= 0 && i < Count())
        Lines.erase(Lines.begin() + i);
}

void TVudEventScriptList::InsertLines(int index, const TVudEventScriptList& source, int indentShift)
{
    if (source.Lines.empty())
        return;
    index = std::clamp(index, 0, Count());
    // An empty destination has no line to re-base on: the block lands at the top level.
    const int32_t base = Lines.empty() ? 0 : Lines[size_t(std::min(index, Count() - 1))].Indent;
    const int32_t first = source.Lines.front().Indent;
    std::vector<TVudEventScriptLine> copies = source.Lines; // Source may be this very list
    for (TVudEventScriptLine& line : copies)
        line.Indent = base + indentShift + (line.Indent - first);
    Lines.insert(Lines.begin() + index, std::make_move_iterator(copies.begin()),
                 std::make_move_iterator(copies.end()));
}

void TVudEventScriptList::LoadFromBlock(TReader& s)
{
    Lines.clear();
    while (!s.AtEnd()) {
        TVudEventScriptLine line;
        line.Code = int32_t(ReadBerInt(s));
        line.Indent = int32_t(ReadBerInt(s));
        ReadBerString(s, line.Text);
        const uint32_t n = ReadBerInt(s);
        // Every parameter takes at least one byte: a larger count cannot be real.
        if (n > s.Remaining())
            throw EReadError();
        line.Params.resize(n);
        for (uint32_t k = 0; k < n; ++k)
            line.Params[k] = int32_t(ReadBerInt(s));
        Lines.push_back(std::move(line));
    }
}

void TVudEventScriptList::SaveToBlock(TWriter& s) const
{
    for (const TVudEventScriptLine& line : Lines) {
        WriteBerInt(s, uint32_t(line.Code));
        WriteBerInt(s, uint32_t(line.Indent));
        WriteBerString(s, line.Text);
        WriteBerInt(s, uint32_t(line.Params.size()));
        for (int32_t p : line.Params)
            WriteBerInt(s, uint32_t(p));
    }
}

// ---- records with a script ---------------------------------------------------------------

void TVudBaseEventPageItem::Clear()
{
    ScriptSize = 4;
    ScriptData.assign(4, 0);
    Script.Clear();
    Script.Add(TVudEventScriptLine(scEnd, 0));
}

void TVudBaseEventPageItem::LoadFromStream(TReader& s)
{
    Clear();
    LoadChunks(s);
    // Decoded from the block's real length: a ScriptSize that disagrees cannot lead past it.
    TReader block(ScriptData);
    Script.LoadFromBlock(block);
}

void TVudBaseEventPageItem::SaveToStream(TWriter& s) const
{
    TWriter w;
    Script.SaveToBlock(w);
    ScriptData = std::move(w.Buf);
    ScriptSize = int32_t(ScriptData.size());
    SaveChunks(s);
}

// ---- page condition ----------------------------------------------------------------------

const TFieldTable TVudEventCondition::Table = {
    Bytes<&TVudEventCondition::Flags>(1, "Flags"),
    Integer<&TVudEventCondition::SwitchAID>(2, "SwitchAID", 1),
    Integer<&TVudEventCondition::SwitchBID>(3, "SwitchBID", 1),
    Integer<&TVudEventCondition::VariableID>(4, "VariableID", 1),
    Integer<&TVudEventCondition::VariableValue>(5, "VariableValue", 0),
    Integer<&TVudEventCondition::ItemID>(6, "ItemID", 1),
    Integer<&TVudEventCondition::HeroID>(7, "HeroID", 0),
    Integer<&TVudEventCondition::TimerSeconds>(8, "TimerSeconds", 0),
};

void TVudEventCondition::Clear()
{
    Flags = 0;
    SwitchAID = 1;
    SwitchBID = 1;
    VariableID = 1;
    VariableValue = 0;
    ItemID = 1;
    HeroID = 1;
    TimerSeconds = 0;
}

// ---- event page --------------------------------------------------------------------------

const TFieldTable TVudEventPageItem::Table = {
    Nested<&TVudEventPageItem::Condition>(2, "Condition"),
    String<&TVudEventPageItem::CharSetName>(21, "CharSetName", true),
    Integer<&TVudEventPageItem::CharSetIndex>(22, "CharSetIndex", 0),
    Bytes<&TVudEventPageItem::Direction>(23, "Direction"),
    Integer<&TVudEventPageItem::Pattern>(24, "Pattern", 1),
    Bytes<&TVudEventPageItem::Transparent>(25, "Transparent"),
    Bytes<&TVudEventPageItem::MoveType>(31, "MoveType"),
    Integer<&TVudEventPageItem::MoveFrequency>(32, "MoveFrequency", 3),
    Bytes<&TVudEventPageItem::Trigger>(33, "Trigger"),
    Bytes<&TVudEventPageItem::Priority>(34, "Priority"),
    Bytes<&TVudEventPageItem::NoOverlap>(35, "NoOverlap"),
    Bytes<&TVudEventPageItem::AnimationType>(36, "AnimationType"),
    Integer<&TVudEventPageItem::MoveSpeed>(37, "MoveSpeed", 3),
    Nested<&TVudEventPageItem::MoveRoute>(41, "MoveRoute"),
    Integer<&TVudEventPageItem::ScriptSize>(51, "ScriptSize", 0),
    Block<&TVudEventPageItem::ScriptData>(52, "ScriptData"),
};

void TVudEventPageItem::Clear()
{
    Condition.Clear();
    CharSetName.clear();
    CharSetIndex = 0;
    Direction = 2;
    Pattern = 1;
    Transparent = 0;
    MoveType = 0;
    MoveFrequency = 3;
    Trigger = 0;
    Priority = 0;
    NoOverlap = 0;
    AnimationType = 0;
    MoveSpeed = 3;
    MoveRoute.Clear();
    TVudBaseEventPageItem::Clear();
}

// ---- event -------------------------------------------------------------------------------

const TFieldTable TVudEventItem::Table = {
    String<&TVudEventItem::Name>(1, "Name", true),
    Integer<&TVudEventItem::X>(2, "X", 0),
    Integer<&TVudEventItem::Y>(3, "Y", 0),
    Nested<&TVudEventItem::Pages>(5, "Pages"),
};

void TVudEventItem::Clear()
{
    Name.clear();
    X = 0;
    Y = 0;
    Pages.Clear();
    Pages.Obtain(1);
}
