#include "MP3Player.h"

#include <mpg123.h>

#include <algorithm>
#include <fstream>
#include <vector>

#include "SoundError.h"

namespace {

constexpr size_t MaxMp3FileSize = 64u << 20;
constexpr size_t MaxDecodedSamples = 64u << 20;

[[noreturn]] void mp3Error(const char* what)
{
    throw EAudioError(std::string("Error DirectShow (VFW_E_") + what + ")");
}

struct Mpg123Handle {
    mpg123_handle* H = nullptr;
    Mpg123Handle()
    {
        int err = 0;
        H = mpg123_new(nullptr, &err);
        if (!H)
            mp3Error("CANNOT_RENDER");
    }
    ~Mpg123Handle()
    {
        mpg123_close(H);
        mpg123_delete(H);
    }
};

std::vector<uint8_t> readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        mp3Error("NOT_FOUND");
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0 || static_cast<size_t>(size) > MaxMp3FileSize)
        mp3Error("INVALID_FILE_FORMAT");
    in.seekg(0);
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (!in.read(reinterpret_cast<char*>(bytes.data()), size))
        mp3Error("NOT_FOUND");
    return bytes;
}

} // namespace

TPcmSound LoadMp3File(const std::string& path)
{
    static const int initialised = mpg123_init();
    (void)initialised;
    const std::vector<uint8_t> bytes = readFile(path);
    Mpg123Handle mh;
    mpg123_param(mh.H, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    // One output encoding for every rate and channel count: 16-bit signed.
    mpg123_format_none(mh.H);
    const long* rates = nullptr;
    size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (size_t i = 0; i < rateCount; ++i)
        mpg123_format(mh.H, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    if (mpg123_open_feed(mh.H) != MPG123_OK)
        mp3Error("CANNOT_RENDER");
    TPcmSound sound;
    std::vector<unsigned char> out(32768);
    size_t done = 0;
    int rc = mpg123_decode(mh.H, bytes.data(), bytes.size(), out.data(), out.size(), &done);
    for (;;) {
        if (rc == MPG123_NEW_FORMAT) {
            long rate = 0;
            int channels = 0, encoding = 0;
            mpg123_getformat(mh.H, &rate, &channels, &encoding);
            if (sound.SampleRate == 0) {
                sound.SampleRate = static_cast<int>(rate);
                sound.Channels = channels;
            } else if (sound.SampleRate != rate || sound.Channels != channels) {
                break; // a stream that changes format midway: keep what came before
            }
        }
        const size_t samples = done / 2;
        if (sound.Samples.size() + samples > MaxDecodedSamples)
            mp3Error("INVALID_FILE_FORMAT");
        const auto* p = reinterpret_cast<const int16_t*>(out.data());
        sound.Samples.insert(sound.Samples.end(), p, p + samples);
        if (rc == MPG123_ERR || rc == MPG123_NEED_MORE || rc == MPG123_DONE)
            break;
        rc = mpg123_decode(mh.H, nullptr, 0, out.data(), out.size(), &done);
    }
    if (sound.SampleRate <= 0 || sound.Channels < 1 || sound.Channels > 2 || sound.Frames() == 0)
        mp3Error("INVALID_FILE_FORMAT");
    sound.Samples.resize(sound.Frames() * sound.Channels);
    return sound;
}

void TMP3Player::Play(std::shared_ptr<const TPcmSound> sound)
{
    FVoice.Sound = std::move(sound);
    FVoice.Position = 0;
    FVoice.Looping = true; // MP3 music starts over when it completes
    FVoice.Fade.Reset();
    FVoice.Playing = true;
}

void TMP3Player::Stop()
{
    FVoice.Playing = false;
    FVoice.Sound.reset();
}

void TMP3Player::SetVolume(int volume)
{
    FVoice.Volume = std::clamp(volume, 0, 100);
}

void TMP3Player::SetBalance(int balance)
{
    FVoice.Pan = std::clamp(balance, 0, 100);
}

void TMP3Player::SetTempo(int tempo)
{
    FVoice.Speed = std::clamp(tempo, 1, 10000);
}
