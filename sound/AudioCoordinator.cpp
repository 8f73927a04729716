#include "AudioCoordinator.h"

#include <algorithm>
#include <cctype>
#include <fstream>

#include "MP3Player.h"
#include "MidiPlay.h"
#include "MidiSynth.h"
#include "SoundError.h"
#include "WavePlayer.h"

namespace {

std::string firstBytes(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    char head[4] = {};
    if (!in || !in.read(head, 4))
        return {};
    return std::string(head, 4);
}

bool hasMp3Extension(const std::string& file)
{
    if (file.size() < 4)
        return false;
    std::string ext = file.substr(file.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".mp3";
}

std::string& soundFontSetting()
{
    static std::string path;
    return path;
}

std::unique_ptr<TAudioControl>& instance()
{
    static std::unique_ptr<TAudioControl> audio;
    return audio;
}

template <typename F>
bool guarded(F&& f)
{
    TAudioControl* audio = instance().get();
    if (!audio)
        return false;
    try {
        f(*audio);
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace

std::string TAudioCoordinator::DefaultSoundFont()
{
    return soundFontSetting().empty() ? DefaultSoundFontPath() : soundFontSetting();
}

TAudioCoordinator::TAudioCoordinator(std::unique_ptr<TAudioDevice> device, std::string soundFont)
    : FDevice(std::move(device)), FSoundFont(std::move(soundFont))
{
    FMp3 = std::make_unique<TMP3Player>();
    FMixer.SetMp3(FMp3.get());
}

TAudioCoordinator::~TAudioCoordinator()
{
    // The output thread stops before the players it reads go away.
    if (FDevice)
        FDevice->Close();
    if (FMidi)
        FMidi->Stop();
}

void TAudioCoordinator::OpenOutput()
{
    if (!FDevice)
        throw EAudioError(kNoSoundOutput);
    if (!FDevice->IsOpen())
        FDevice->Open(FMixer);
}

void TAudioCoordinator::OpenMidi()
{
    if (FMidi)
        return;
    OpenOutput();
    auto synth = std::make_unique<TFluidSynthSink>(MixerRate, FSoundFont);
    auto midi = std::make_unique<TMidiPlayer>(*synth);
    std::lock_guard guard(FMixer.Lock());
    FSynth = std::move(synth);
    FMidi = std::move(midi);
    FMixer.SetMidi(FMidi.get(), FSynth.get());
}

void TAudioCoordinator::CloseMidi()
{
    std::unique_ptr<TMidiPlayer> midi;
    std::unique_ptr<TFluidSynthSink> synth;
    {
        std::lock_guard guard(FMixer.Lock());
        FMixer.SetMidi(nullptr, nullptr);
        midi = std::move(FMidi);
        synth = std::move(FSynth);
    }
}

void TAudioCoordinator::OpenWaveVoices()
{
    OpenOutput();
    std::lock_guard guard(FMixer.Lock());
    if (!FWaves) {
        FWaves = std::make_unique<TWavePlayer>();
        FMixer.SetWaves(FWaves.get());
    }
    FWaves->SetVoiceCount(VoiceCount);
}

void TAudioCoordinator::PlayMusic(const std::string& file)
{
    StopMusic();
    const std::string head = firstBytes(file);
    if (head == "MThd" && FMidi) {
        TMidiSong song;
        try {
            song = TMidiSong::FromFile(file);
        } catch (...) {
            std::lock_guard guard(FMixer.Lock());
            FMidi->Load(TMidiSong{});
            throw;
        }
        std::lock_guard guard(FMixer.Lock());
        FMidi->Load(std::move(song));
        FMidi->Play();
    } else if (head == "RIFF" && FWaves) {
        auto sound = std::make_shared<const TPcmSound>(LoadWaveFile(file));
        auto buffer = std::make_unique<TWaveBuffer>(file, std::move(sound));
        std::lock_guard guard(FMixer.Lock());
        FWaves->SetMusic(std::move(buffer));
        FWaves->Music()->Play(100, 100, 50, true);
    } else if (hasMp3Extension(file)) {
        OpenOutput();
        auto sound = std::make_shared<const TPcmSound>(LoadMp3File(file));
        std::lock_guard guard(FMixer.Lock());
        FMp3->Play(std::move(sound));
    } else {
        throw EAudioError("Error DirectShow (VFW_E_UNSUPPORTED_STREAM)");
    }
}

void TAudioCoordinator::StopMusic()
{
    std::lock_guard guard(FMixer.Lock());
    FMp3->Stop();
    if (FWaves)
        FWaves->StopMusic();
    if (FMidi)
        FMidi->Stop();
}

void TAudioCoordinator::FadeInMusic(int ms)
{
    std::lock_guard guard(FMixer.Lock());
    const int64_t now = FMixer.Now();
    if (FMidi)
        FMidi->FadeIn(ms);
    if (FWaves && FWaves->Music())
        FWaves->Music()->FadeIn(now, ms);
    FMp3->FadeIn(now, ms);
}

void TAudioCoordinator::FadeOutMusic(int ms)
{
    std::lock_guard guard(FMixer.Lock());
    const int64_t now = FMixer.Now();
    if (FMidi)
        FMidi->FadeOut(ms);
    if (FWaves && FWaves->Music())
        FWaves->Music()->FadeOut(now, ms);
    FMp3->FadeOut(now, ms);
}

void TAudioCoordinator::SetMusicVolume(int volume)
{
    std::lock_guard guard(FMixer.Lock());
    if (FMidi)
        FMidi->SetVolume(volume);
    if (FWaves && FWaves->Music())
        FWaves->Music()->SetVolume(volume);
    FMp3->SetVolume(volume);
}

void TAudioCoordinator::SetMusicTempo(int tempo)
{
    std::lock_guard guard(FMixer.Lock());
    if (FMidi)
        FMidi->SetTempo(tempo);
    if (FWaves && FWaves->Music())
        FWaves->Music()->SetSpeed(tempo);
    FMp3->SetTempo(tempo);
}

void TAudioCoordinator::SetMusicBalance(int balance)
{
    std::lock_guard guard(FMixer.Lock());
    if (FMidi)
        FMidi->SetBalance(balance);
    if (FWaves && FWaves->Music())
        FWaves->Music()->SetPan(balance);
    FMp3->SetBalance(balance);
}

int TAudioCoordinator::ChooseVoice(const std::string& file)
{
    for (int i = 0; i < VoiceCount; ++i)
        if (TWaveBuffer* v = FWaves->Voice(i); v && v->FileName() == file)
            return i;
    for (int i = 0; i < VoiceCount; ++i) {
        TWaveBuffer* v = FWaves->Voice(i);
        if (!FReserved[i] && (!v || !v->Playing()))
            return i;
    }
    for (int tries = 0; tries < VoiceCount; ++tries) {
        FNextVoice = (FNextVoice + 1) % VoiceCount;
        if (!FReserved[FNextVoice])
            return FNextVoice;
    }
    throw EAudioError("Error DirectSound (DSERR_ALLOCATED)");
}

void TAudioCoordinator::PlaySoundEffect(const std::string& file, int volume, int tempo, int balance)
{
    if (!FWaves)
        throw EAudioError(kNoSoundOutput);
    int voice;
    {
        std::lock_guard guard(FMixer.Lock());
        voice = ChooseVoice(file);
        TWaveBuffer* v = FWaves->Voice(voice);
        if (v && v->FileName() == file) {
            v->Play(volume, tempo, balance, false);
            return;
        }
    }
    // Decoding happens outside the lock so the output never waits for the disk.
    auto sound = std::make_shared<const TPcmSound>(LoadWaveFile(file));
    auto buffer = std::make_unique<TWaveBuffer>(file, std::move(sound));
    std::lock_guard guard(FMixer.Lock());
    FWaves->SetVoice(voice, std::move(buffer));
    FWaves->Voice(voice)->Play(volume, tempo, balance, false);
}

void TAudioCoordinator::StopSoundEffects()
{
    std::lock_guard guard(FMixer.Lock());
    if (FWaves)
        FWaves->StopVoices();
}

void TAudioCoordinator::ReserveVoice(int voice, bool reserved)
{
    if (voice >= 0 && voice < VoiceCount)
        FReserved[voice] = reserved;
}

void SetMidiSoundFont(const std::string& path)
{
    soundFontSetting() = path;
}

bool OpenAudio()
{
    if (instance())
        return true;
    try {
        instance() = std::make_unique<TAudioCoordinator>(CreateSystemAudioDevice());
        return true;
    } catch (...) {
        return false;
    }
}

bool CloseAudio()
{
    if (!instance())
        return false;
    instance().reset();
    return true;
}

void InstallAudio(std::unique_ptr<TAudioControl> audio)
{
    instance() = std::move(audio);
}

TAudioControl* Audio()
{
    return instance().get();
}

bool OpenMidi() { return guarded([](TAudioControl& a) { a.OpenMidi(); }); }
bool CloseMidi() { return guarded([](TAudioControl& a) { a.CloseMidi(); }); }
bool OpenWaveVoices() { return guarded([](TAudioControl& a) { a.OpenWaveVoices(); }); }
bool PlayMusic(const std::string& file) { return guarded([&](TAudioControl& a) { a.PlayMusic(file); }); }
bool StopMusic() { return guarded([](TAudioControl& a) { a.StopMusic(); }); }
bool FadeInMusic(int ms) { return guarded([=](TAudioControl& a) { a.FadeInMusic(ms); }); }
bool FadeOutMusic(int ms) { return guarded([=](TAudioControl& a) { a.FadeOutMusic(ms); }); }
bool SetMusicVolume(int volume) { return guarded([=](TAudioControl& a) { a.SetMusicVolume(volume); }); }
bool SetMusicTempo(int tempo) { return guarded([=](TAudioControl& a) { a.SetMusicTempo(tempo); }); }
bool SetMusicBalance(int balance) { return guarded([=](TAudioControl& a) { a.SetMusicBalance(balance); }); }
bool PlaySoundEffect(const std::string& file, int volume, int tempo, int balance)
{
    return guarded([&](TAudioControl& a) { a.PlaySoundEffect(file, volume, tempo, balance); });
}
bool StopSoundEffects() { return guarded([](TAudioControl& a) { a.StopSoundEffects(); }); }
