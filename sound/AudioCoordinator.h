#pragma once
// The audio coordinator: owns the MIDI, wave and MP3 players and offers music and sound
// operations that do not care which player is used. One process-wide instance, reached
// through the plain functions at the end of this file.

#include <array>
#include <memory>
#include <string>

#include "SoundMixer.h"

class TMidiPlayer;
class TFluidSynthSink;
class TMP3Player;
class TWavePlayer;

// What the functions below drive. The coordinator is the real one; tests of the pickers
// install a scripted one. Each operation throws EAudioError when it fails.
class TAudioControl {
public:
    virtual ~TAudioControl() = default;
    virtual void OpenMidi() = 0;
    virtual void CloseMidi() = 0;
    virtual void OpenWaveVoices() = 0;
    virtual void PlayMusic(const std::string& file) = 0;
    virtual void StopMusic() = 0;
    virtual void FadeInMusic(int ms) = 0;
    virtual void FadeOutMusic(int ms) = 0;
    virtual void SetMusicVolume(int volume) = 0;
    virtual void SetMusicTempo(int tempo) = 0;
    virtual void SetMusicBalance(int balance) = 0;
    virtual void PlaySoundEffect(const std::string& file, int volume, int tempo, int balance) = 0;
    virtual void StopSoundEffects() = 0;
};

class TAudioCoordinator : public TAudioControl {
public:
    static constexpr int VoiceCount = 16;

    explicit TAudioCoordinator(std::unique_ptr<TAudioDevice> device,
                               std::string soundFont = DefaultSoundFont());
    ~TAudioCoordinator() override;
    TAudioCoordinator(const TAudioCoordinator&) = delete;
    TAudioCoordinator& operator=(const TAudioCoordinator&) = delete;

    void OpenMidi() override;
    void CloseMidi() override;
    void OpenWaveVoices() override;
    void PlayMusic(const std::string& file) override;
    void StopMusic() override;
    void FadeInMusic(int ms) override;
    void FadeOutMusic(int ms) override;
    void SetMusicVolume(int volume) override;
    void SetMusicTempo(int tempo) override;
    void SetMusicBalance(int balance) override;
    void PlaySoundEffect(const std::string& file, int volume, int tempo, int balance) override;
    void StopSoundEffects() override;

    // A reserved voice is never chosen for a new sound.
    void ReserveVoice(int voice, bool reserved);

    TSoundMixer& Mixer() { return FMixer; }
    TMidiPlayer* MidiPlayer() const { return FMidi.get(); }
    TWavePlayer* WavePlayer() const { return FWaves.get(); }
    TMP3Player* MP3Player() const { return FMp3.get(); }

    static std::string DefaultSoundFont();

private:
    void OpenOutput();
    int ChooseVoice(const std::string& file);

    TSoundMixer FMixer;
    std::unique_ptr<TAudioDevice> FDevice;
    std::string FSoundFont;
    std::unique_ptr<TFluidSynthSink> FSynth;
    std::unique_ptr<TMidiPlayer> FMidi;
    std::unique_ptr<TWavePlayer> FWaves;
    std::unique_ptr<TMP3Player> FMp3;
    std::array<bool, VoiceCount> FReserved{};
    int FNextVoice = 0;
};

// The soundfont for MIDI music; the settings may name another one before OpenAudio.
void SetMidiSoundFont(const std::string& path);

// Process-wide functions. Each does nothing and returns false when there is no coordinator,
// and swallows its own errors, reporting them as false.
bool OpenAudio();
bool CloseAudio();
// Installs a coordinator made elsewhere (another output device, or a scripted one in tests).
void InstallAudio(std::unique_ptr<TAudioControl> audio);
TAudioControl* Audio();

bool OpenMidi();
bool CloseMidi();
bool OpenWaveVoices();
bool PlayMusic(const std::string& file);
bool StopMusic();
bool FadeInMusic(int ms);
bool FadeOutMusic(int ms);
bool SetMusicVolume(int volume);
bool SetMusicTempo(int tempo);
bool SetMusicBalance(int balance);
bool PlaySoundEffect(const std::string& file, int volume, int tempo, int balance);
bool StopSoundEffects();
