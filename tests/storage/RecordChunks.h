// Test helper: the top-level chunks of one saved record, by ID.
#pragma once
#include <map>
#include <vector>

#include "LD_Player.h"
#include "Stream.h"
#include "TestRecords.h"

using Bytes_ = std::vector<uint8_t>;

// Payload of every chunk up to the record's terminating 0.
inline std::map<int, Bytes_> ChunksOf(const Bytes_& record)
{
    std::map<int, Bytes_> out;
    TReader r(record);
    for (;;) {
        const uint32_t id = ReadBerInt(r);
        if (id == 0)
            break;
        const uint32_t len = ReadBerInt(r);
        TReader c = r.Sub(len);
        out[int(id)] = Bytes_(c.Ptr(), c.Ptr() + len);
    }
    return out;
}

// Restores the database limits of the per-ID arrays when a test ends.
struct TLimitsGuard {
    TLimitsGuard(const TCatalog* conditions, const TCatalog* attributes)
    {
        SetVudArrayLimitLists(conditions, attributes);
    }
    ~TLimitsGuard() { SetVudArrayLimitLists(nullptr, nullptr); }
};

// A list of n fresh records, standing in for the database's conditions or attributes.
template <class L>
void FillList(L& list, int n)
{
    list.Clear();
    for (int i = 0; i < n; ++i)
        list.Append();
}
