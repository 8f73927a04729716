// Records and lists of the event model and the map tree, from arbitrary bytes. The first byte
// picks the reader.
#include "FuzzCheck.h"
#include "LD_Event.h"
#include "LD_MapTree.h"
#include "LD_MoveRoute.h"

namespace {
template <class T>
void roundTrip(const uint8_t* data, size_t size)
{
    T item;
    std::vector<uint8_t> first;
    FuzzRoundTrip(
        data, size, [&](TReader& r) { item.LoadFromStream(r); },
        [&] {
            TWriter w;
            item.SaveToStream(w);
            return w.Buf;
        },
        first);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t pick = data[0] % 7;
    ++data;
    --size;
    switch (pick) {
    case 0: roundTrip<TVudEventItem>(data, size); break;
    case 1: roundTrip<TVudEventPageItem>(data, size); break;
    case 2: roundTrip<TVudEvent>(data, size); break;
    case 3: roundTrip<TVudMapTreeItem>(data, size); break;
    case 4: roundTrip<TVudMapStartPosition>(data, size); break;
    case 5: {
        TVudEventScriptList script;
        try {
            TReader r(data, size);
            script.LoadFromBlock(r);
        } catch (const EVudError&) {
            return 0;
        }
        TWriter w;
        script.SaveToBlock(w);
        // Set-route commands: whatever their parameters hold, reading the route never crashes.
        for (const TVudEventScriptLine& line : script.Lines) {
            TVudMoveRoute route;
            try {
                GetMoveRouteFromLine(line, route);
            } catch (const EVudError&) {
            }
        }
        break;
    }
    default: {
        TVudMoveRoute route;
        try {
            route.SetFromBytes(std::span(data, size));
        } catch (const EVudError&) {
            return 0;
        }
        TVudMoveRoute again;
        again.SetFromBytes(route.ToBytes());
        if (again.Commands != route.Commands)
            FuzzFail("move route changed through its bytes");
        break;
    }
    }
    return 0;
}
