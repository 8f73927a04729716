// Map files from arbitrary bytes: strict load, save idempotence, tfdata's JSON building the same
// bytes, and the layer operations on whatever size came out.
#include "FileKinds.h"
#include "FuzzCheck.h"
#include "LD_Map.h"
#include "RecordJson.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TVudMap map;
    std::vector<uint8_t> first;
    if (!FuzzRoundTrip(
            data, size, [&](TReader& r) { map.LoadFromFileBytes(r); }, [&] { return map.SaveToFileBytes(); }, first))
        return 0;
    if (map.LowerLayer.Cells.size() != size_t(map.Width) * size_t(map.Height) ||
        map.UpperLayer.Cells.size() != map.LowerLayer.Cells.size())
        FuzzFail("layer size differs from the map size");

    auto doc = FindFileKind(kMapFormatName)->Make();
    TReader r(first);
    doc->Load(r);
    const Json j = Json::Parse(doc->ToJson().Dump());
    auto built = FindFileKind(kMapFormatName)->Make();
    built->FromJson(j);
    if (built->Save() != first)
        FuzzFail("JSON did not build the same bytes");

    map.LowerLayer.Get(-1, -1);
    map.UpperLayer.Get(map.Width, map.Height);
    map.Shift(-3, 7);
    return 0;
}
