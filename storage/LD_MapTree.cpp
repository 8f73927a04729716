#include "LD_MapTree.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>

#include "AtomicFile.h"
#include "LD_Map.h"

namespace fs = std::filesystem;

// ---- records -----------------------------------------------------------------------------

const TFieldTable TVudEncountItem::Table = {
    Integer<&TVudEncountItem::TroopID>(1, "TroopID", 0),
};

const TFieldTable TVudMapTreeItem::Table = {
    String<&TVudMapTreeItem::Name>(1, "Name", true),
    Integer<&TVudMapTreeItem::ParentID>(2, "ParentID", 0),
    Integer<&TVudMapTreeItem::Depth>(3, "Depth", 0),
    Bytes<&TVudMapTreeItem::NodeType>(4, "NodeType"),
    Integer<&TVudMapTreeItem::ScrollX>(5, "ScrollX", 0),
    Integer<&TVudMapTreeItem::ScrollY>(6, "ScrollY", 0),
    Byte<&TVudMapTreeItem::Expanded>(7, "Expanded", 0),
    Bytes<&TVudMapTreeItem::MusicType>(11, "MusicType"),
    Nested<&TVudMapTreeItem::Music>(12, "Music"),
    Bytes<&TVudMapTreeItem::BattleBackType>(21, "BattleBackType"),
    String<&TVudMapTreeItem::BattleBackName>(22, "BattleBackName", true),
    Bytes<&TVudMapTreeItem::Teleport>(31, "Teleport"),
    Bytes<&TVudMapTreeItem::Escape>(32, "Escape"),
    Bytes<&TVudMapTreeItem::Save>(33, "Save"),
    Nested<&TVudMapTreeItem::Encounters>(41, "Encounters"),
    Integer<&TVudMapTreeItem::EncounterSteps>(44, "EncounterSteps", 25),
    Bytes<&TVudMapTreeItem::AreaRect>(51, "AreaRect"),
};

void TVudMapTreeItem::Clear()
{
    MusicType = 0;
    Music.Clear();
    BattleBackType = 0;
    BattleBackName.clear();
    Teleport = Escape = Save = 0;
    Encounters.Clear();
    EncounterSteps = 25;
}

const TFieldTable TVudMapStartPosition::Table = {
    Integer<&TVudMapStartPosition::PartyMapID>(1, "PartyMapID", 0),
    Integer<&TVudMapStartPosition::PartyX>(2, "PartyX", 0),
    Integer<&TVudMapStartPosition::PartyY>(3, "PartyY", 0),
    Integer<&TVudMapStartPosition::BoatMapID>(11, "BoatMapID", 0),
    Integer<&TVudMapStartPosition::BoatX>(12, "BoatX", 0),
    Integer<&TVudMapStartPosition::BoatY>(13, "BoatY", 0),
    Integer<&TVudMapStartPosition::ShipMapID>(21, "ShipMapID", 0),
    Integer<&TVudMapStartPosition::ShipX>(22, "ShipX", 0),
    Integer<&TVudMapStartPosition::ShipY>(23, "ShipY", 0),
    Integer<&TVudMapStartPosition::AirshipMapID>(31, "AirshipMapID", 0),
    Integer<&TVudMapStartPosition::AirshipX>(32, "AirshipX", 0),
    Integer<&TVudMapStartPosition::AirshipY>(33, "AirshipY", 0),
};

void TVudMapStartPosition::Clear()
{
    for (int slot = 0; slot < 4; ++slot)
        Set(slot, 0, 0, 0);
}

namespace {
using TSlotFields = int32_t TVudMapStartPosition::*;
constexpr TSlotFields kSlots[4][3] = {
    {&TVudMapStartPosition::PartyMapID, &TVudMapStartPosition::PartyX, &TVudMapStartPosition::PartyY},
    {&TVudMapStartPosition::BoatMapID, &TVudMapStartPosition::BoatX, &TVudMapStartPosition::BoatY},
    {&TVudMapStartPosition::ShipMapID, &TVudMapStartPosition::ShipX, &TVudMapStartPosition::ShipY},
    {&TVudMapStartPosition::AirshipMapID, &TVudMapStartPosition::AirshipX, &TVudMapStartPosition::AirshipY},
};
bool validSlot(int slot) { return slot >= 0 && slot < 4; }
} // namespace

int32_t TVudMapStartPosition::MapID(int slot) const { return validSlot(slot) ? this->*kSlots[slot][0] : 0; }
int32_t TVudMapStartPosition::X(int slot) const { return validSlot(slot) ? this->*kSlots[slot][1] : 0; }
int32_t TVudMapStartPosition::Y(int slot) const { return validSlot(slot) ? this->*kSlots[slot][2] : 0; }

void TVudMapStartPosition::Set(int slot, int32_t mapID, int32_t x, int32_t y)
{
    if (!validSlot(slot))
        return;
    this->*kSlots[slot][0] = mapID;
    this->*kSlots[slot][1] = x;
    this->*kSlots[slot][2] = y;
}

// ---- tree operations ---------------------------------------------------------------------

bool TVudMapTree::IsModified() const
{
    if (!DeletedMaps.empty())
        return true;
    for (int i = 0; i < Count(); ++i)
        if (At(i)->Modified)
            return true;
    return false;
}

int TVudMapTree::OrderIndexOf(int id) const
{
    const auto it = std::find(Order.begin(), Order.end(), id);
    return it == Order.end() ? -1 : int(it - Order.begin());
}

void TVudMapTree::ClearTree()
{
    Clear();
    Order.clear();
}

TVudMapTreeItem* TVudMapTree::AddMap(int parentID, int id)
{
    TVudMapTreeItem* node = Obtain(id);
    // A deleted ID stays listed: if it comes back as an area, its old map file must still go.
    std::erase(Order, id); // a reused node is placed anew
    node->ParentID = parentID;
    const TVudMapTreeItem* parent = id == parentID ? nullptr : Find(parentID);
    if (parent)
        node->Depth = parent->Depth + 1;
    const int at = parent ? OrderIndexOf(parentID) : -1;
    if (at < 0) {
        Order.push_back(id);
        return node;
    }
    // The parent's subtree ends at the first entry that is not deeper than the parent (an
    // entry of equal depth alone would miss the end of a subtree followed by a shallower node).
    size_t k = size_t(at) + 1;
    while (k < Order.size()) {
        const TVudMapTreeItem* n = Find(Order[k]);
        if (n && n->Depth <= parent->Depth)
            break;
        ++k;
    }
    Order.insert(Order.begin() + std::ptrdiff_t(k), id);
    return node;
}

int TVudMapTree::FreeMapID() const
{
    // Nodes are in ascending ID order: the first gap is the answer.
    int next = 1;
    for (int i = 0; i < Count() && next <= kMaxMapID; ++i) {
        const int id = At(i)->ID;
        if (id == next)
            ++next;
        else if (id > next)
            break;
    }
    return next <= kMaxMapID ? next : 0;
}

void TVudMapTree::DeleteMap(int id)
{
    const int at = OrderIndexOf(id);
    if (at < 0)
        return;
    const TVudMapTreeItem* top = Find(id);
    const int depth = top ? top->Depth : 0;
    std::vector<int32_t> gone;
    size_t end = size_t(at);
    do {
        gone.push_back(Order[end]);
        ++end;
    } while (end < Order.size() && Find(Order[end]) && Find(Order[end])->Depth > depth);
    for (int32_t g : gone) {
        DeletedMaps.push_back(g);
        Delete(g);
    }
    Order.erase(Order.begin() + at, Order.begin() + std::ptrdiff_t(end));
    // A start position on any deleted map would leave a game that cannot start.
    for (int slot = 0; slot < 4; ++slot)
        if (std::find(gone.begin(), gone.end(), StartPosition.MapID(slot)) != gone.end())
            StartPosition.Set(slot, 0, 0, 0);
}

void TVudMapTree::Normalise()
{
    std::unordered_map<int32_t, TVudMapTreeItem*> byID;
    for (int i = 0; i < Count(); ++i)
        byID[At(i)->ID] = At(i);

    // Order: known nodes once each, in their stored order, then the forgotten ones.
    std::vector<int32_t> order;
    std::unordered_map<int32_t, int> state; // 0 unseen, 1 on the current walk, 2 reaches the root
    for (int32_t id : Order)
        if (byID.count(id) && !state.count(id)) {
            state[id] = 0;
            order.push_back(id);
        }
    for (int i = 0; i < Count(); ++i)
        if (!state.count(At(i)->ID)) {
            state[At(i)->ID] = 0;
            order.push_back(At(i)->ID);
        }

    // Parents: dangling ones and cycles go to the root.
    for (auto& [id, node] : byID)
        if (id == 0 || node->ParentID == id || (node->ParentID != 0 && !byID.count(node->ParentID)))
            node->ParentID = 0;
    state[0] = 2;
    for (int32_t id : order) {
        std::vector<int32_t> path;
        int32_t cur = id;
        while (state[cur] == 0) {
            state[cur] = 1;
            path.push_back(cur);
            const int32_t parent = byID[cur]->ParentID;
            if (state.count(parent) && state[parent] == 1) {
                byID[parent]->ParentID = 0; // the cycle is cut above its first node met
                break;
            }
            cur = parent;
        }
        for (int32_t p : path)
            state[p] = 2;
    }

    // A pre-order that keeps the siblings' stored order, with the depths it implies.
    std::unordered_map<int32_t, std::vector<int32_t>> children;
    for (int32_t id : order)
        if (id != 0)
            children[byID[id]->ParentID].push_back(id);
    Order.clear();
    std::vector<std::pair<int32_t, int32_t>> stack; // id, depth
    if (byID.count(0)) {
        Order.push_back(0);
        byID[0]->Depth = 0;
    }
    auto pushChildren = [&](int32_t parent, int32_t depth) {
        const auto it = children.find(parent);
        if (it != children.end())
            for (auto c = it->second.rbegin(); c != it->second.rend(); ++c)
                stack.emplace_back(*c, depth);
    };
    pushChildren(0, 1);
    while (!stack.empty()) {
        const auto [id, depth] = stack.back();
        stack.pop_back();
        Order.push_back(id);
        byID[id]->Depth = depth;
        pushChildren(id, depth + 1);
    }
}

// ---- file --------------------------------------------------------------------------------

void TVudMapTree::LoadTreeFromStream(TReader& s)
{
    try {
        std::string format;
        ReadBerString(s, format);
        if (format != kMapTreeFormatName)
            throw EReadError();
        TCatalog::LoadFromStream(s);
        Order.clear();
        const uint32_t n = ReadBerInt(s);
        if (n > s.Remaining())
            throw EReadError();
        for (uint32_t k = 0; k < n; ++k)
            Order.push_back(int32_t(ReadBerInt(s)));
        ActiveMapID = int32_t(ReadBerInt(s));
        StartPosition.LoadFromStream(s);
        Normalise();
    } catch (...) {
        ClearTree();
        ActiveMapID = 0;
        StartPosition.Clear();
        throw;
    }
}

void TVudMapTree::SaveTreeToStream(TWriter& s) const
{
    WriteBerString(s, kMapTreeFormatName);
    TCatalog::SaveToStream(s);
    WriteBerInt(s, uint32_t(Order.size()));
    for (int32_t id : Order)
        WriteBerInt(s, uint32_t(id));
    WriteBerInt(s, uint32_t(ActiveMapID));
    StartPosition.SaveToStream(s);
}

void TVudMapTree::LoadFromFile()
{
    DeletedMaps.clear();
    TVudMap scratch;
    for (int i = 0; i < Count(); ++i) {
        scratch.DeleteWork(At(i)->ID);
        At(i)->Modified = false;
    }
    const auto bytes = ReadWholeFile(ProjectFolder() / kMapTreeFileName);
    TReader s(bytes);
    LoadTreeFromStream(s);
}

void TVudMapTree::SaveToFile()
{
    if (Count() == 0)
        return;
    std::vector<int32_t> failed;
    for (int i = 0; i < Count(); ++i) {
        TVudMapTreeItem* node = At(i);
        if (!node->Modified)
            continue;
        if (node->NodeType == ntMap) {
            // Each map is committed atomically; one whose work copy is lost or broken keeps
            // its project file as it is and stays marked.
            try {
                TVudMap map;
                map.LoadFromFileStrict(ScratchFolder() / MapFileName(node->ID));
                map.SaveToProject(node->ID);
                map.DeleteWork(node->ID);
            } catch (const EVudError&) {
                failed.push_back(node->ID);
                continue;
            }
        }
        node->Modified = false;
    }
    TVudMap scratch;
    for (int32_t id : DeletedMaps) {
        const TVudMapTreeItem* node = Find(id);
        if (node && node->NodeType == ntMap)
            continue; // the ID is a map again: its file and work copy are the new map's
        scratch.DeleteFromProject(id);
        scratch.DeleteWork(id);
    }
    DeletedMaps.clear();
    TWriter w;
    SaveTreeToStream(w);
    SaveFileAtomic(ProjectFolder() / kMapTreeFileName, w.Buf);
    if (!failed.empty()) {
        std::string ids;
        for (int32_t id : failed) {
            char buf[16];
            std::snprintf(buf, sizeof buf, "%s%.4d", ids.empty() ? "" : ", ", id);
            ids += buf;
        }
        throw EVudError("No se pudieron guardar los mapas " + ids + ": falta su copia de trabajo o está dañada.");
    }
}
