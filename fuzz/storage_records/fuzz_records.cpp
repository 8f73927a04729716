// The record sections of the database (heroes ... battle animations) and the database image
// that holds them. The first byte picks the target; the rest is its stream. A list that loads
// must save, load again and save to the same bytes, and an animation list read a second time
// (the cached path) must save what it saved the first time.
#include <cstdint>
#include <cstdlib>
#include <type_traits>
#include <vector>

#include "DataBase.h"
#include "LD_Animation.h"
#include "LD_Attrib.h"
#include "LD_Item.h"
#include "LD_MonGroup.h"
#include "LD_Monster.h"
#include "LD_Player.h"
#include "LD_Skill.h"
#include "LD_Status.h"

namespace {

template <class L>
std::vector<uint8_t> saved(const L& list)
{
    TWriter w;
    list.SaveToStream(w);
    return w.Buf;
}

template <class L>
void roundTrip(const uint8_t* data, size_t size)
{
    L list;
    try {
        TReader r(data, size);
        list.LoadFromStream(r);
    } catch (const EVudError&) {
        if (list.Count() != 0)
            std::abort(); // a failed load leaves the list empty
        return;
    }
    const auto first = saved(list);
    if constexpr (std::is_same_v<L, TVudAnimation>) {
        TReader again(data, size);
        list.LoadFromStream(again);
        if (saved(list) != first)
            std::abort();
    }
    L copy;
    TReader r(first);
    copy.LoadFromStream(r);
    if (saved(copy) != first)
        std::abort();
    // A copy is encoded afresh: compare it with a fresh encoding, not with cached bytes.
    auto canonical = first;
    if constexpr (std::is_same_v<L, TVudAnimation>) {
        for (int i = 0; i < copy.Count(); ++i)
            copy.At(i)->Dirty = true;
        canonical = saved(copy);
    }
    L assigned;
    assigned.Assign(copy);
    if (saved(assigned) != canonical)
        std::abort();
}

void dataBase(const uint8_t* data, size_t size)
{
    TVudDataBase db;
    try {
        TReader r(data, size);
        db.LoadFromStream(r);
        TReader again(data, size);
        db.LoadFromStream(again);
    } catch (const EVudError&) {
    }
    TWriter w;
    db.SaveToStream(w);
    TVudDataBase copy;
    TReader r(w.Buf);
    copy.LoadFromStream(r); // what we write we must read
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const uint8_t* p = data + 1;
    const size_t n = size - 1;
    switch (data[0] % 9) {
    case 0: roundTrip<TVudPlayer>(p, n); break;
    case 1: roundTrip<TVudSkill>(p, n); break;
    case 2: roundTrip<TVudItem>(p, n); break;
    case 3: roundTrip<TVudMonster>(p, n); break;
    case 4: roundTrip<TVudMonGroup>(p, n); break;
    case 5: roundTrip<TVudAttrib>(p, n); break;
    case 6: roundTrip<TVudStatus>(p, n); break;
    case 7: roundTrip<TVudAnimation>(p, n); break;
    default: dataBase(p, n); break;
    }
    return 0;
}
