#pragma once
// Small sound files made by the tests themselves.

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

// One MIDI track: events appended with their delta times.
struct MidiTrack {
    Bytes Data;

    MidiTrack& Delta(uint32_t ticks)
    {
        uint8_t groups[5];
        int n = 0;
        do {
            groups[n++] = ticks & 0x7F;
            ticks >>= 7;
        } while (ticks);
        while (n > 1)
            Data.push_back(groups[--n] | 0x80);
        Data.push_back(groups[0]);
        return *this;
    }
    MidiTrack& Event(uint32_t delta, std::initializer_list<uint8_t> bytes)
    {
        Delta(delta);
        Data.insert(Data.end(), bytes);
        return *this;
    }
    MidiTrack& Tempo(uint32_t delta, uint32_t usPerQuarter)
    {
        return Event(delta, {0xFF, 0x51, 0x03, uint8_t(usPerQuarter >> 16), uint8_t(usPerQuarter >> 8),
                             uint8_t(usPerQuarter)});
    }
    MidiTrack& End(uint32_t delta = 0) { return Event(delta, {0xFF, 0x2F, 0x00}); }
};

inline void putBE(Bytes& b, uint32_t v, int n)
{
    for (int i = n - 1; i >= 0; --i)
        b.push_back(uint8_t(v >> (8 * i)));
}

inline Bytes MidiFile(int division, const std::vector<MidiTrack>& tracks)
{
    Bytes b{'M', 'T', 'h', 'd'};
    putBE(b, 6, 4);
    putBE(b, tracks.size() > 1 ? 1 : 0, 2);
    putBE(b, uint32_t(tracks.size()), 2);
    putBE(b, uint32_t(division), 2);
    for (const MidiTrack& t : tracks) {
        b.insert(b.end(), {'M', 'T', 'r', 'k'});
        putBE(b, uint32_t(t.Data.size()), 4);
        b.insert(b.end(), t.Data.begin(), t.Data.end());
    }
    return b;
}

// A folder for one test's files, under the build tree, emptied first.
inline std::filesystem::path TestFolder(const std::string& name)
{
    const std::filesystem::path dir = std::filesystem::path(SOUND_TEST_TMP) / name;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

void WriteFile(const std::filesystem::path& path, const Bytes& bytes);

// A 16-bit PCM wave of a sine wave, written with libsndfile.
void WriteSineWave(const std::filesystem::path& path, int rate, int channels, int frames,
                   double amplitude, double hz, int format);
std::vector<int16_t> SineSamples(int rate, int channels, int frames, double amplitude, double hz);

// A silent MPEG-1 Layer III stream: frames whose side information asks for no data.
Bytes SilentMp3(int frames);
