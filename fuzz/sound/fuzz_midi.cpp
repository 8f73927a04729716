// MIDI loader and sequencer on arbitrary bytes: load, then play a few seconds of it.

#include <cstddef>
#include <cstdint>

#include "MidiPlay.h"
#include "SoundError.h"

namespace {

class NullSink : public TMidiSink {
public:
    void ShortMessage(uint32_t) override {}
    void SysEx(const std::vector<uint8_t>&) override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TMidiSong song;
    try {
        song = TMidiSong::FromBytes(data, size);
    } catch (const EAudioError&) {
        return 0;
    }
    NullSink sink;
    TMidiPlayer player(sink);
    player.Load(std::move(song));
    player.Play();
    player.SetTempo(size % 2 ? 10000 : 37);
    for (int ms = 0; ms < 3000; ++ms)
        player.TimerTick();
    player.Stop();
    return 0;
}
