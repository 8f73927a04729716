// libFuzzer target: any byte string as a database image. Loading must either succeed or raise
// the storage layer's own error; whatever loads must save, and the saved image must load back
// and save to the very same bytes.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "DataBase.h"

namespace {
std::vector<uint8_t> save(TVudDataBase& db)
{
    db.System().SaveCount = 0; // keep the images comparable
    TWriter w;
    db.SaveToStream(w);
    return w.Buf;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TVudDataBase db;
    try {
        TReader r(data, size);
        db.LoadFromStream(r);
    } catch (const EVudError&) {
        return 0;
    }
    const std::vector<uint8_t> first = save(db);
    TVudDataBase again;
    TReader r(first);
    again.LoadFromStream(r); // a saved image must always load
    if (save(again) != first)
        std::abort();
    return 0;
}
