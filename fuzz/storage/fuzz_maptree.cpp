// Map tree files from arbitrary bytes: strict load, a tree that is consistent afterwards, save
// idempotence, tfdata's JSON building the same bytes, and deleting maps from what was loaded.
#include <unordered_map>

#include "FileKinds.h"
#include "FuzzCheck.h"
#include "LD_MapTree.h"
#include "RecordJson.h"

namespace {
void checkConsistent(const TVudMapTree& tree)
{
    if (tree.Order.size() != size_t(tree.Count()))
        FuzzFail("order does not list every node once");
    std::unordered_map<int32_t, int32_t> depthOf;
    for (int32_t id : tree.Order) {
        const TVudMapTreeItem* n = tree.Find(id);
        if (!n || depthOf.count(id))
            FuzzFail("order names a missing or repeated node");
        if (id != 0) {
            const auto parent = depthOf.find(n->ParentID);
            const int32_t want = parent == depthOf.end() ? 1 : parent->second + 1;
            if (n->ParentID != 0 && parent == depthOf.end())
                FuzzFail("a node comes before its parent");
            if (n->Depth != want)
                FuzzFail("depth does not follow the parent");
        }
        depthOf[id] = n->Depth;
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TVudMapTree tree;
    std::vector<uint8_t> first;
    auto save = [&] {
        TWriter w;
        tree.SaveTreeToStream(w);
        return w.Buf;
    };
    if (!FuzzRoundTrip(data, size, [&](TReader& r) { tree.LoadTreeFromStream(r); }, save, first))
        return 0;
    checkConsistent(tree);

    auto doc = FindFileKind(kMapTreeFormatName)->Make();
    TReader r(first);
    doc->Load(r);
    auto built = FindFileKind(kMapTreeFormatName)->Make();
    built->FromJson(Json::Parse(doc->ToJson().Dump()));
    if (built->Save() != first)
        FuzzFail("JSON did not build the same bytes");

    // Deleting any map takes exactly its subtree.
    if (tree.Order.size() > 1) {
        const int32_t victim = tree.Order[1 + size % (tree.Order.size() - 1)];
        const int before = tree.Count();
        tree.DeleteMap(victim);
        if (tree.Find(victim) || tree.Count() + int(tree.DeletedMaps.size()) != before)
            FuzzFail("delete lost track of maps");
        checkConsistent(tree);
    }
    return 0;
}
