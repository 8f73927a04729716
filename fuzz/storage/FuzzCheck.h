// What every storage fuzzer checks: malformed input raises a storage error and nothing else,
// and whatever loads reaches, after one more save, bytes that load and save to themselves.
// (One save is not always enough: a few fields are left out at a write default that differs
// from their Clear value, e.g. an encounter's troop 0 reads back as troop 1.)
#pragma once
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "Stream.h"
#include "VudError.h"

[[noreturn]] inline void FuzzFail(const char* what)
{
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

// load(bytes) may throw EVudError; save() returns the encoding of what was loaded. On success
// `first` holds the settled bytes and the model holds what they load to.
template <class Load, class Save>
bool FuzzRoundTrip(const uint8_t* data, size_t size, Load load, Save save, std::vector<uint8_t>& first)
{
    try {
        TReader r(data, size);
        load(r);
    } catch (const EVudError&) {
        return false;
    }
    auto reload = [&](const std::vector<uint8_t>& bytes) {
        try {
            TReader r(bytes);
            load(r);
        } catch (const EVudError&) {
            FuzzFail("saved bytes do not load again");
        }
        return save();
    };
    first = reload(save());
    if (reload(first) != first)
        FuzzFail("saving what was loaded from a save changed the bytes");
    return true;
}
