#include "LD_Player.h"

#include <algorithm>

#include "DataBase.h"

// ---- per-ID arrays -----------------------------------------------------------------------

uint8_t TVudIdArray::Get(int id) const
{
    return (id >= 1 && id <= Count()) ? Bytes[size_t(id - 1)] : Neutral;
}

void TVudIdArray::Set(int id, uint8_t value)
{
    if (id >= 1 && id <= Count())
        Bytes[size_t(id - 1)] = value;
}

void TVudIdArray::SetCount(int count)
{
    Bytes.resize(size_t(std::max(count, 0)), GrowFill);
}

void TVudIdArray::Trim(int limit)
{
    size_t n = Bytes.size();
    if (limit >= 0)
        n = std::min(n, size_t(limit));
    while (n > 0 && Bytes[n - 1] == Neutral)
        --n;
    Bytes.resize(n);
}

namespace {
const TCatalog* gConditionList = nullptr;
const TCatalog* gAttributeList = nullptr;
} // namespace

void SetVudArrayLimitLists(const TCatalog* conditions, const TCatalog* attributes)
{
    gConditionList = conditions;
    gAttributeList = attributes;
}

namespace {
int limitOf(const TCatalog* registered, int section)
{
    if (registered)
        return registered->Count();
    if (const TVudDataBase* db = TVudDataBase::Instance())
        if (const auto* list = dynamic_cast<const TCatalog*>(&db->Section(section)))
            return list->Count();
    return -1;
}
} // namespace

int VudConditionLimit() { return limitOf(gConditionList, dsStatuses); }
int VudAttributeLimit() { return limitOf(gAttributeList, dsAttribs); }

void DefineIdArrayCount(TCatalogVarData& vd, TVudIdArray& array, bool reading)
{
    // Read into a scratch field and ignored: the block that follows says how many entries exist.
    if (!reading)
        array.CountChunk = array.Count();
    vd.DefineInteger(&array.CountChunk, 0);
}

void DefineIdArrayBlock(TCatalogVarData& vd, TVudIdArray& array)
{
    vd.Define(vkBlock, &array.Bytes, 0);
}

// ---- learning list -----------------------------------------------------------------------

const TFieldTable TVudPlayerLearningItem::Table = {
    Integer<&TVudPlayerLearningItem::Level>(1, "Level", 1),
    Integer<&TVudPlayerLearningItem::SkillID>(2, "SkillID", 1),
};

void TVudPlayerLearningItem::Clear()
{
    Level = 1;
    SkillID = 1;
}

void TVudPlayerLearning::SortByLevel()
{
    Sort([](const TCatalogItem& a, const TCatalogItem& b) {
        const auto& x = static_cast<const TVudPlayerLearningItem&>(a);
        const auto& y = static_cast<const TVudPlayerLearningItem&>(b);
        return x.Level != y.Level ? x.Level < y.Level : x.SkillID < y.SkillID;
    });
}

// ---- hero --------------------------------------------------------------------------------

namespace {
// Levels 1..50 of the three default curves: HP/MP, attack/defence, spirit/agility.
constexpr uint16_t kDefaultCurves[3][TVudPlayerItem::LevelCount] = {
    {40,  43,  49,  55,  60,  66,  72,  79,  85,  92,  98,  105, 112, 120, 127, 135, 143,
     151, 160, 168, 177, 186, 195, 205, 215, 225, 236, 247, 258, 269, 281, 293, 305, 318,
     331, 345, 359, 373, 388, 404, 419, 436, 453, 471, 489, 508, 527, 547, 568, 600},
    {15, 16, 18, 19, 20, 22, 23, 25, 26, 28, 30, 31, 33, 35, 37, 38, 40,
     42, 44, 47, 49, 51, 53, 55, 58, 60, 63, 65, 68, 71, 74, 77, 80, 83,
     86, 89, 93, 96, 100, 103, 107, 111, 115, 119, 124, 128, 133, 138, 143, 150},
    {20,  22,  25,  28,  31,  34,  37,  40,  43,  46,  50,  53,  57,  61,  64,  68,  72,
     76,  81,  85,  89,  94,  98,  103, 108, 113, 119, 124, 129, 135, 141, 147, 153, 160,
     166, 173, 180, 187, 194, 202, 210, 218, 227, 236, 245, 254, 264, 274, 284, 300},
};
} // namespace

const TFieldTable TVudPlayerItem::Table = {
    String<&TVudPlayerItem::Name>(1, "Name", true),
    String<&TVudPlayerItem::Title>(2, "Title", true),
    String<&TVudPlayerItem::CharSetName>(3, "CharSetName", true),
    Integer<&TVudPlayerItem::CharSetIndex>(4, "CharSetIndex", 0),
    Byte<&TVudPlayerItem::Transparent>(5, "Transparent", 0),
    Integer<&TVudPlayerItem::InitialLevel>(7, "InitialLevel", 1),
    Integer<&TVudPlayerItem::MaxLevel>(8, "MaxLevel", 50),
    Byte<&TVudPlayerItem::CriticalEnabled>(9, "CriticalEnabled", 1),
    Integer<&TVudPlayerItem::CriticalRate>(10, "CriticalRate", 30),
    String<&TVudPlayerItem::FaceName>(15, "FaceName", true),
    Integer<&TVudPlayerItem::FaceIndex>(16, "FaceIndex", 0),
    Byte<&TVudPlayerItem::TwoWeapons>(21, "TwoWeapons", 0),
    Byte<&TVudPlayerItem::FixedEquipment>(22, "FixedEquipment", 0),
    Byte<&TVudPlayerItem::AiControl>(23, "AiControl", 0),
    Byte<&TVudPlayerItem::StrongDefense>(24, "StrongDefense", 0),
    Bytes<&TVudPlayerItem::Curves>(31, "Curves"),
    Integer<&TVudPlayerItem::ExpBase>(41, "ExpBase", 30),
    Integer<&TVudPlayerItem::ExpExtra>(42, "ExpExtra", 30),
    Integer<&TVudPlayerItem::ExpCorrection>(43, "ExpCorrection", 0),
    Bytes<&TVudPlayerItem::InitialEquipment>(51, "InitialEquipment"),
    Integer<&TVudPlayerItem::UnarmedAnimation>(56, "UnarmedAnimation", 1),
    Nested<&TVudPlayerItem::Learning>(63, "Learning"),
    Byte<&TVudPlayerItem::CustomCommand>(66, "CustomCommand", 0),
    String<&TVudPlayerItem::CommandName>(67, "CommandName", true),
    Custom(71, "ConditionCount", vkInteger),
    Custom(72, "ConditionRanks", vkBlock),
    Custom(73, "AttributeCount", vkInteger),
    Custom(74, "AttributeRanks", vkBlock),
};

void TVudPlayerItem::GetVarData(int ID, TCatalogVarData& vd, bool Reading)
{
    switch (ID) {
    case 71: DefineIdArrayCount(vd, ConditionRanks, Reading); return;
    case 72: DefineIdArrayBlock(vd, ConditionRanks); return;
    case 73: DefineIdArrayCount(vd, AttributeRanks, Reading); return;
    case 74: DefineIdArrayBlock(vd, AttributeRanks); return;
    default: TCatalogItem::GetVarData(ID, vd, Reading);
    }
}

void TVudPlayerItem::Clear()
{
    Name.clear();
    Title.clear();
    CharSetName.clear();
    CharSetIndex = 0;
    Transparent = 0;
    InitialLevel = 1;
    MaxLevel = 50;
    CriticalEnabled = 1;
    CriticalRate = 30;
    FaceName.clear();
    FaceIndex = 0;
    TwoWeapons = FixedEquipment = AiControl = StrongDefense = 0;
    for (int c = 0; c < CurveCount; ++c)
        for (int l = 0; l < LevelCount; ++l)
            Curves[c][l] = kDefaultCurves[c / 2][l];
    ExpBase = 30;
    ExpExtra = 30;
    ExpCorrection = 0;
    std::fill(std::begin(InitialEquipment), std::end(InitialEquipment), uint16_t(0));
    UnarmedAnimation = 1;
    Learning.Clear();
    CustomCommand = 0;
    CommandName.clear();
    ConditionRanks.Clear();
    AttributeRanks.Clear();
}

void TVudPlayerItem::SaveToStream(TWriter& s) const
{
    ConditionRanks.Trim(VudConditionLimit());
    AttributeRanks.Trim(VudAttributeLimit());
    SaveChunks(s);
}

int TVudPlayerItem::DefaultCurve(int curve, int level)
{
    if (curve < 0 || curve >= CurveCount || level < 1 || level > LevelCount)
        return 0;
    return kDefaultCurves[curve / 2][level - 1];
}

int TVudPlayerItem::Curve(int curve, int level) const
{
    if (curve < 0 || curve >= CurveCount || level < 1 || level > LevelCount)
        return 0;
    return Curves[curve][level - 1];
}

void TVudPlayerItem::SetCurve(int curve, int level, int value)
{
    if (curve >= 0 && curve < CurveCount && level >= 1 && level <= LevelCount)
        Curves[curve][level - 1] = uint16_t(value);
}

int TVudPlayerItem::Equipment(int slot) const
{
    return (slot >= 0 && slot < EquipmentSlots) ? InitialEquipment[slot] : 0;
}

void TVudPlayerItem::SetEquipment(int slot, int itemID)
{
    if (slot >= 0 && slot < EquipmentSlots)
        InitialEquipment[slot] = uint16_t(itemID);
}
