#include "WavePlayer.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>

#include "SoundError.h"

namespace {

constexpr size_t MaxWaveFileSize = 256u << 20;
constexpr size_t MaxDecodedSamples = 64u << 20;

[[noreturn]] void invalidWave()
{
    throw EAudioError(kInvalidWaveFile);
}

uint32_t le32(const uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24);
}

uint16_t le16(const uint8_t* p)
{
    return uint16_t(p[0] | (p[1] << 8));
}

struct Chunk {
    const uint8_t* Data = nullptr;
    uint32_t Size = 0;
};

// Finds the next chunk with this id from `pos` on. Sizes past the end of the file are cut
// to what is there; odd-sized chunks are followed by a pad byte.
bool findChunk(const uint8_t*& pos, const uint8_t* end, const char* id, Chunk& out)
{
    while (end - pos >= 8) {
        const uint8_t* body = pos + 8;
        const uint32_t size = std::min<size_t>(le32(pos + 4), size_t(end - body));
        const bool match = std::memcmp(pos, id, 4) == 0;
        const size_t skip = size_t(size) + (size & 1);
        pos = body + std::min(skip, size_t(end - body));
        if (match) {
            out = {body, size};
            return true;
        }
    }
    return false;
}

void put32(std::vector<uint8_t>& v, uint32_t x)
{
    for (int i = 0; i < 4; ++i)
        v.push_back(uint8_t(x >> (8 * i)));
}

void putChunk(std::vector<uint8_t>& v, const char* id, const Chunk& c)
{
    v.insert(v.end(), id, id + 4);
    put32(v, c.Size);
    v.insert(v.end(), c.Data, c.Data + c.Size);
    if (c.Size & 1)
        v.push_back(0);
}

// libsndfile reads from memory through these.
struct MemoryFile {
    const std::vector<uint8_t>* Bytes;
    sf_count_t Pos = 0;
};

sf_count_t memLength(void* user)
{
    return static_cast<sf_count_t>(static_cast<MemoryFile*>(user)->Bytes->size());
}

sf_count_t memSeek(sf_count_t offset, int whence, void* user)
{
    auto* f = static_cast<MemoryFile*>(user);
    const sf_count_t size = static_cast<sf_count_t>(f->Bytes->size());
    sf_count_t p = whence == SEEK_SET ? offset : whence == SEEK_CUR ? f->Pos + offset : size + offset;
    f->Pos = std::clamp<sf_count_t>(p, 0, size);
    return f->Pos;
}

sf_count_t memRead(void* ptr, sf_count_t count, void* user)
{
    auto* f = static_cast<MemoryFile*>(user);
    const sf_count_t size = static_cast<sf_count_t>(f->Bytes->size());
    const sf_count_t n = std::clamp<sf_count_t>(count, 0, size - f->Pos);
    std::memcpy(ptr, f->Bytes->data() + f->Pos, static_cast<size_t>(n));
    f->Pos += n;
    return n;
}

sf_count_t memWrite(const void*, sf_count_t, void*)
{
    return 0;
}

sf_count_t memTell(void* user)
{
    return static_cast<MemoryFile*>(user)->Pos;
}

TPcmSound decodeClean(const std::vector<uint8_t>& wav, size_t maxSamples)
{
    SF_VIRTUAL_IO io{memLength, memSeek, memRead, memWrite, memTell};
    MemoryFile file{&wav};
    SF_INFO info{};
    SNDFILE* sf = sf_open_virtual(&io, SFM_READ, &info, &file);
    if (!sf)
        invalidWave();
    TPcmSound sound;
    const int channels = info.channels;
    if (channels < 1 || info.samplerate < 1) {
        sf_close(sf);
        invalidWave();
    }
    sound.Channels = std::min(channels, 2);
    sound.SampleRate = info.samplerate;
    std::vector<int16_t> block(size_t(4096) * channels);
    for (;;) {
        const sf_count_t got = sf_readf_short(sf, block.data(), 4096);
        if (got <= 0)
            break;
        if (sound.Samples.size() + size_t(got) * sound.Channels > maxSamples) {
            sf_close(sf);
            invalidWave();
        }
        // Channels past the second are left out: the mixer is stereo.
        for (sf_count_t i = 0; i < got; ++i)
            for (int c = 0; c < sound.Channels; ++c)
                sound.Samples.push_back(block[size_t(i) * channels + c]);
    }
    sf_close(sf);
    return sound;
}

} // namespace

TPcmSound DecodeWave(const uint8_t* data, size_t size)
{
    if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0)
        invalidWave();
    const uint8_t* end = data + std::min<size_t>(size, size_t(le32(data + 4)) + 8);
    const uint8_t* pos = data + 12;
    Chunk fmt, body;
    if (!findChunk(pos, end, "fmt ", fmt) || fmt.Size < 16)
        invalidWave();
    const uint16_t tag = le16(fmt.Data);
    if (tag != 1 && tag != 2)
        invalidWave();
    if (le16(fmt.Data + 2) == 0 || le32(fmt.Data + 4) == 0)
        invalidWave();
    if (!findChunk(pos, end, "data", body))
        invalidWave();
    // Hand the decoder a clean file: just the two chunks, with sizes that are true.
    std::vector<uint8_t> wav;
    wav.reserve(size_t(fmt.Size) + body.Size + 32);
    wav.insert(wav.end(), {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'});
    putChunk(wav, "fmt ", fmt);
    putChunk(wav, "data", body);
    const uint32_t riffSize = uint32_t(wav.size() - 8);
    for (int i = 0; i < 4; ++i)
        wav[4 + i] = uint8_t(riffSize >> (8 * i));
    // Neither PCM nor ADPCM gives more than two samples a byte: a decoder that claims more
    // was handed a lying header.
    const size_t maxSamples = std::min(MaxDecodedSamples, size_t(body.Size) * 2 + 64);
    return decodeClean(wav, maxSamples);
}

TPcmSound LoadWaveFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        invalidWave();
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0 || static_cast<size_t>(size) > MaxWaveFileSize)
        invalidWave();
    in.seekg(0);
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (!in.read(reinterpret_cast<char*>(bytes.data()), size))
        invalidWave();
    return DecodeWave(bytes.data(), bytes.size());
}

int DirectSoundVolume(int volume, int fade)
{
    const int v = volume * fade / 100;
    return v == 0 ? -10000 : v * 35 - 3500;
}

int DirectSoundPan(int pan)
{
    return pan * 60 - 3000;
}

int DirectSoundFrequency(int sampleRate, int speed)
{
    return static_cast<int>(std::clamp<int64_t>(int64_t(sampleRate) * speed / 100, 100, 100000));
}

float GainOfHundredthsDb(int value)
{
    if (value <= -10000)
        return 0.0f;
    return static_cast<float>(std::pow(10.0, value / 2000.0));
}

void TPcmVoice::MixInto(float* stereo, int frames)
{
    if (!Playing || !Sound || Sound->Frames() == 0)
        return;
    const int volume = DirectSoundVolume(Volume, Fade.Level);
    const int pan = DirectSoundPan(Pan);
    const float gain = GainOfHundredthsDb(volume);
    // Pan attenuates the far side only, as the mixer we follow does.
    const float left = gain * (pan > 0 ? GainOfHundredthsDb(-pan) : 1.0f);
    const float right = gain * (pan < 0 ? GainOfHundredthsDb(pan) : 1.0f);
    const double step = double(DirectSoundFrequency(Sound->SampleRate, Speed)) / MixerRate;
    const size_t count = Sound->Frames();
    const int ch = Sound->Channels;
    const int16_t* s = Sound->Samples.data();
    constexpr float scale = 1.0f / 32768.0f;
    for (int i = 0; i < frames; ++i) {
        if (Position >= double(count)) {
            if (!Looping) {
                Playing = false;
                return;
            }
            Position = std::fmod(Position, double(count));
        }
        const size_t a = static_cast<size_t>(Position);
        const size_t b = a + 1 < count ? a + 1 : (Looping ? 0 : a);
        const float t = static_cast<float>(Position - double(a));
        const float l = s[a * ch] + (s[b * ch] - s[a * ch]) * t;
        const float r = ch == 2 ? s[a * 2 + 1] + (s[b * 2 + 1] - s[a * 2 + 1]) * t : l;
        stereo[2 * i] += l * scale * left;
        stereo[2 * i + 1] += r * scale * right;
        Position += step;
    }
}

TWaveBuffer::TWaveBuffer(std::string fileName, std::shared_ptr<const TPcmSound> sound)
    : FFileName(std::move(fileName))
{
    for (auto& copy : FCopies)
        copy.Sound = sound;
}

void TWaveBuffer::Play(int volume, int speed, int pan, bool loop)
{
    TPcmVoice& v = FCopies[FNext];
    FLast = FNext;
    FNext = (FNext + 1) % Copies;
    v.Fade.Reset();
    v.Volume = std::clamp(volume, 0, 100);
    v.Speed = std::clamp(speed, 1, 10000);
    v.Pan = std::clamp(pan, 0, 100);
    v.Position = 0;
    v.Looping = loop;
    v.Playing = true;
}

void TWaveBuffer::Stop()
{
    for (auto& copy : FCopies)
        copy.Playing = false;
}

bool TWaveBuffer::Playing() const
{
    return std::any_of(FCopies.begin(), FCopies.end(), [](const TPcmVoice& v) { return v.Playing; });
}

void TWaveBuffer::SetVolume(int volume)
{
    for (auto& copy : FCopies)
        copy.Volume = std::clamp(volume, 0, 100);
}

void TWaveBuffer::SetSpeed(int speed)
{
    for (auto& copy : FCopies)
        copy.Speed = std::clamp(speed, 1, 10000);
}

void TWaveBuffer::SetPan(int pan)
{
    for (auto& copy : FCopies)
        copy.Pan = std::clamp(pan, 0, 100);
}

void TWaveBuffer::FadeIn(int64_t now, int ms)
{
    for (auto& copy : FCopies)
        copy.Fade.FadeIn(now, ms);
}

void TWaveBuffer::FadeOut(int64_t now, int ms)
{
    for (auto& copy : FCopies)
        copy.Fade.FadeOut(now, ms);
}

void TWaveBuffer::UpdateFades(int64_t now)
{
    for (auto& copy : FCopies)
        copy.Fade.Update(now);
}

void TWaveBuffer::MixInto(float* stereo, int frames)
{
    for (auto& copy : FCopies)
        copy.MixInto(stereo, frames);
}

void TWavePlayer::SetVoiceCount(int count)
{
    FVoices.resize(std::max(0, count));
}

TWaveBuffer* TWavePlayer::Voice(int i) const
{
    return i >= 0 && i < VoiceCount() ? FVoices[i].get() : nullptr;
}

void TWavePlayer::SetVoice(int i, std::unique_ptr<TWaveBuffer> buffer)
{
    if (i >= 0 && i < VoiceCount())
        FVoices[i] = std::move(buffer);
}

void TWavePlayer::StopVoices()
{
    for (auto& v : FVoices)
        if (v)
            v->Stop();
}

void TWavePlayer::SetMusic(std::unique_ptr<TWaveBuffer> buffer)
{
    FMusic = std::move(buffer);
}

void TWavePlayer::StopMusic()
{
    if (FMusic)
        FMusic->Stop();
}

void TWavePlayer::UpdateFades(int64_t now)
{
    for (auto& v : FVoices)
        if (v)
            v->UpdateFades(now);
    if (FMusic)
        FMusic->UpdateFades(now);
}

void TWavePlayer::MixInto(float* stereo, int frames)
{
    for (auto& v : FVoices)
        if (v)
            v->MixInto(stereo, frames);
    if (FMusic)
        FMusic->MixInto(stereo, frames);
}
