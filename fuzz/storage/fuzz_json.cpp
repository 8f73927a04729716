// tfdata build from arbitrary JSON text: a clear refusal or a file that loads again, never a
// crash or an unbounded allocation.
#include <string_view>

#include "FileKinds.h"
#include "FuzzCheck.h"
#include "RecordJson.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Json j;
    try {
        j = Json::Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const JsonError&) {
        return 0;
    }
    const Json* format = j.IsObject() ? j.Find("Format") : nullptr;
    const TFileKind* kind = format && format->IsString() ? FindFileKind(format->AsString()) : nullptr;
    if (!kind)
        return 0;
    auto doc = kind->Make();
    try {
        doc->FromJson(j);
    } catch (const EBuildError&) {
        return 0;
    } catch (const EVudError&) {
        return 0;
    }
    const std::vector<uint8_t> bytes = doc->Save();
    auto back = kind->Make();
    try {
        TReader r(bytes);
        back->Load(r);
    } catch (const EVudError&) {
        FuzzFail("a built file does not load");
    }
    // The dump of a file that loads parses again.
    Json::Parse(back->ToJson().Dump());
    return 0;
}
