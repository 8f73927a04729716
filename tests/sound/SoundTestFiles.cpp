#include "SoundTestFiles.h"

#include <sndfile.h>

#include <cmath>
#include <fstream>
#include <stdexcept>

void WriteFile(const std::filesystem::path& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<int16_t> SineSamples(int rate, int channels, int frames, double amplitude, double hz)
{
    std::vector<int16_t> s(size_t(frames) * channels);
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            s[size_t(i) * channels + c] =
                int16_t(std::lround(32767.0 * amplitude * std::sin(2 * M_PI * hz * i / rate)));
    return s;
}

void WriteSineWave(const std::filesystem::path& path, int rate, int channels, int frames,
                   double amplitude, double hz, int format)
{
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | format;
    SNDFILE* sf = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!sf)
        throw std::runtime_error(sf_strerror(nullptr));
    const std::vector<int16_t> s = SineSamples(rate, channels, frames, amplitude, hz);
    sf_writef_short(sf, s.data(), frames);
    sf_close(sf);
}

Bytes SilentMp3(int frames)
{
    // 128 kbit/s, 44.1 kHz, stereo, no CRC: 417 bytes a frame. Zero side information means
    // no granule data, which decodes as silence.
    Bytes b;
    for (int f = 0; f < frames; ++f) {
        b.insert(b.end(), {0xFF, 0xFB, 0x90, 0x00});
        b.resize(b.size() + 413, 0);
    }
    return b;
}
