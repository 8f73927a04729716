// Wave decoder on arbitrary bytes: decode, then mix a little of it through a voice.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "SoundError.h"
#include "WavePlayer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::shared_ptr<TPcmSound> sound;
    try {
        sound = std::make_shared<TPcmSound>(DecodeWave(data, size));
    } catch (const EAudioError&) {
        return 0;
    }
    TWaveBuffer buffer("fuzz", sound);
    buffer.Play(100, size % 2 ? 400 : 100, 30, true);
    std::vector<float> out(2 * 4800);
    buffer.MixInto(out.data(), 4800);
    return 0;
}
