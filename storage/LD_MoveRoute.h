// Move routes: the list of move commands of a page or of a set-route command, and their byte
// encoding.
#pragma once
#include <span>
#include <vector>

#include "Catalog.h"

class TVudEventScriptLine;

// Move command codes with parameters.
enum : int32_t {
    mrSwitchOn = 32,
    mrSwitchOff = 33,
    mrChangeGraphic = 34,
    mrPlaySound = 35,
    mrLastCode = 41,
};

class TVudMoveRouteItem {
public:
    int32_t Code = 0;
    int32_t Value = 0; // switch ID (32, 33)
    std::string CharSetName; // 34
    int32_t CharSetIndex = 0; // 34
    std::string SoundName; // 35
    int32_t Volume = 100; // 35
    int32_t Tempo = 100;
    int32_t Balance = 50;

    bool operator==(const TVudMoveRouteItem&) const = default;
};

class TVudMoveRoute : public TCatalogBaseItem {
public:
    // Filled from Commands on every save; the commands are the working form.
    mutable int32_t DataSize = 0;
    mutable TBlock Data;
    uint8_t Repeat = 1;
    uint8_t Skippable = 0;
    std::vector<TVudMoveRouteItem> Commands;

    TVudMoveRoute() { Clear(); }
    static const TFieldTable Table;
    const TFieldTable* Fields() const override { return &Table; }
    void Clear() override;
    // The stored block is decoded after the chunk loop and encoded before it.
    void LoadFromStream(TReader& s) override;
    void SaveToStream(TWriter& s) const override;

    int Count() const { return int(Commands.size()); }
    TVudMoveRouteItem* Command(int i) { return (i >= 0 && i < Count()) ? &Commands[size_t(i)] : nullptr; }
    TVudMoveRouteItem& AddCommand();
    // Out-of-range indexes append (insert) or do nothing (delete).
    void InsertCommand(int i, const TVudMoveRouteItem& command);
    void DeleteCommand(int i);
    // Replaces the commands with the decoded bytes; a malformed block raises EReadError and
    // leaves the route empty.
    void SetFromBytes(std::span<const uint8_t> bytes);
    TBlock ToBytes() const;
};

// The block encoding on its own (also the payload of a set-route command).
void EncodeMoveRoute(const std::vector<TVudMoveRouteItem>& commands, TWriter& out);
std::vector<TVudMoveRouteItem> DecodeMoveRoute(std::span<const uint8_t> bytes);

// The set-route command (11330) carries target, frequency, Repeat, Skippable, then the route
// block one byte per parameter.
inline constexpr int32_t kSetMoveRouteCode = 11330;
void PutMoveRouteInLine(TVudEventScriptLine& line, int32_t target, int32_t frequency, const TVudMoveRoute& route);
// Raises EReadError when a byte parameter is outside 0..255 or the block is truncated.
void GetMoveRouteFromLine(const TVudEventScriptLine& line, TVudMoveRoute& route);
