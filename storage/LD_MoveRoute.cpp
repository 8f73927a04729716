#include "LD_MoveRoute.h"

#include "LD_Event.h"

const TFieldTable TVudMoveRoute::Table = {
    Integer<&TVudMoveRoute::DataSize>(11, "DataSize", 0),
    Block<&TVudMoveRoute::Data>(12, "Data"),
    Byte<&TVudMoveRoute::Repeat>(21, "Repeat", 1),
    Byte<&TVudMoveRoute::Skippable>(22, "Skippable", 0),
};

void EncodeMoveRoute(const std::vector<TVudMoveRouteItem>& commands, TWriter& out)
{
    for (const TVudMoveRouteItem& c : commands) {
        WriteBerInt(out, uint32_t(c.Code));
        switch (c.Code) {
        case mrSwitchOn:
        case mrSwitchOff:
            WriteBerInt(out, uint32_t(c.Value));
            break;
        case mrChangeGraphic:
            WriteBerString(out, c.CharSetName);
            WriteBerInt(out, uint32_t(c.CharSetIndex));
            break;
        case mrPlaySound:
            WriteBerString(out, c.SoundName);
            WriteBerInt(out, uint32_t(c.Volume));
            WriteBerInt(out, uint32_t(c.Tempo));
            WriteBerInt(out, uint32_t(c.Balance));
            break;
        default:
            break;
        }
    }
}

std::vector<TVudMoveRouteItem> DecodeMoveRoute(std::span<const uint8_t> bytes)
{
    std::vector<TVudMoveRouteItem> commands;
    TReader s(bytes.data(), bytes.size());
    while (!s.AtEnd()) {
        TVudMoveRouteItem c;
        c.Code = int32_t(ReadBerInt(s));
        switch (c.Code) {
        case mrSwitchOn:
        case mrSwitchOff:
            c.Value = int32_t(ReadBerInt(s));
            break;
        case mrChangeGraphic:
            ReadBerString(s, c.CharSetName);
            c.CharSetIndex = int32_t(ReadBerInt(s));
            break;
        case mrPlaySound:
            ReadBerString(s, c.SoundName);
            c.Volume = int32_t(ReadBerInt(s));
            c.Tempo = int32_t(ReadBerInt(s));
            c.Balance = int32_t(ReadBerInt(s));
            break;
        default:
            break;
        }
        commands.push_back(std::move(c));
    }
    return commands;
}

void TVudMoveRoute::Clear()
{
    DataSize = 0;
    Data.clear();
    Repeat = 1;
    Skippable = 0;
    Commands.clear();
}

void TVudMoveRoute::LoadFromStream(TReader& s)
{
    Clear();
    LoadChunks(s);
    // The block's own length counts, not DataSize: a disagreeing size can never read past it.
    Commands = DecodeMoveRoute(Data);
}

void TVudMoveRoute::SaveToStream(TWriter& s) const
{
    Data = ToBytes();
    DataSize = int32_t(Data.size());
    SaveChunks(s);
}

TVudMoveRouteItem& TVudMoveRoute::AddCommand()
{
    return Commands.emplace_back();
}

void TVudMoveRoute::InsertCommand(int i, const TVudMoveRouteItem& command)
{
    if (i < 0 || i > Count())
        i = Count();
    Commands.insert(Commands.begin() + i, command);
}

void TVudMoveRoute::DeleteCommand(int i)
{
    if (i >= 0 && i < Count())
        Commands.erase(Commands.begin() + i);
}

void TVudMoveRoute::SetFromBytes(std::span<const uint8_t> bytes)
{
    Commands.clear();
    Data.assign(bytes.begin(), bytes.end());
    DataSize = int32_t(Data.size());
    try {
        Commands = DecodeMoveRoute(Data);
    } catch (...) {
        Data.clear();
        DataSize = 0;
        throw;
    }
}

TBlock TVudMoveRoute::ToBytes() const
{
    TWriter w;
    EncodeMoveRoute(Commands, w);
    return std::move(w.Buf);
}

void PutMoveRouteInLine(TVudEventScriptLine& line, int32_t target, int32_t frequency, const TVudMoveRoute& route)
{
    const TBlock bytes = route.ToBytes();
    line.Code = kSetMoveRouteCode;
    line.SetParamCount(int(bytes.size()) + 4);
    line.SetParam(0, target);
    line.SetParam(1, frequency);
    line.SetParam(2, route.Repeat);
    line.SetParam(3, route.Skippable);
    for (size_t i = 0; i < bytes.size(); ++i)
        line.SetParam(int(i) + 4, bytes[i]);
}

void GetMoveRouteFromLine(const TVudEventScriptLine& line, TVudMoveRoute& route)
{
    route.Clear();
    route.Repeat = uint8_t(line.Param(2));
    route.Skippable = uint8_t(line.Param(3));
    TBlock bytes;
    for (int i = 4; i < line.ParamCount(); ++i) {
        const int32_t v = line.Param(i);
        if (v < 0 || v > 255)
            throw EReadError();
        bytes.push_back(uint8_t(v));
    }
    route.SetFromBytes(bytes);
}
