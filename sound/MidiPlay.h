#pragma once
// Standard MIDI File loader and sequencer. The sequencer is driven one timer period at a
// time by whoever owns the audio clock (the mixer, or a test) and talks to a TMidiSink.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "SoundFade.h"

// Where the sequencer's messages go: a synthesiser, or a recorder in tests.
class TMidiSink {
public:
    virtual ~TMidiSink() = default;
    // Status in the low byte, then the first and second data bytes.
    virtual void ShortMessage(uint32_t message) = 0;
    // A complete system-exclusive message, F0 ... F7.
    virtual void SysEx(const std::vector<uint8_t>& message) = 0;
};

struct TMidiEvent {
    int64_t Time = 0;          // absolute, in ticks
    uint8_t Status = 0;        // channel status, F0..FE, or FF for meta events
    uint8_t MetaType = 0;
    uint32_t Message = 0;      // channel messages only
    uint32_t Tempo = 0;        // tempo meta events only (microseconds per quarter note)
    int SysExIndex = -1;       // F0 events only
    std::vector<uint8_t> Data; // meta and system events

    bool IsChannelMessage() const { return Status >= 0x80 && Status < 0xF0; }
    bool IsTempo() const { return Status == 0xFF && MetaType == 0x51; }
    bool IsSysEx() const { return SysExIndex >= 0; }
};

class TMidiEventList {
public:
    static constexpr size_t MaxEvents = 100000;
    void Clear() { FItems.clear(); }
    void Add(TMidiEvent event);
    size_t Count() const { return FItems.size(); }
    const TMidiEvent& operator[](size_t i) const { return FItems[i]; }

private:
    std::vector<TMidiEvent> FItems;
};

// A loaded file: events in time order and the prepared system-exclusive messages.
struct TMidiSong {
    TMidiEventList Events;
    std::vector<std::vector<uint8_t>> SysExList; // [0] is General MIDI System On
    int Division = 0;
    int64_t LoopTime = 0;
    size_t LoopIndex = 0;
    int64_t EndTime = 0;

    // Throws EAudioError("Invalid MIDI File") on malformed data.
    static TMidiSong FromBytes(const uint8_t* data, size_t size);
    static TMidiSong FromFile(const std::string& path);
};

// Step of the clock: the tempo scaled by the tempo percent, rounded to a multiple of a small
// divisor (the timer's arithmetic works in 16-bit quotients).
int64_t ComputeMidiStep(uint32_t tempo, int tempoPercent);

class TMidiPlayer {
public:
    static constexpr int TimerPeriod = 1; // milliseconds
    static constexpr int MaxEventsPerPeriod = 1000;

    explicit TMidiPlayer(TMidiSink& sink) : FSink(sink) {}
    ~TMidiPlayer();
    TMidiPlayer(const TMidiPlayer&) = delete;
    TMidiPlayer& operator=(const TMidiPlayer&) = delete;

    // Stops, takes the song and resets all controllers. An empty song plays nothing.
    void Load(TMidiSong song);
    void LoadFromFile(const std::string& path);
    void Play();
    void Stop();

    void SetVolume(int volume);   // 0..100
    void SetBalance(int balance); // 0..100
    void SetTempo(int percent);   // 1..10000
    void FadeIn(int ms);
    void FadeOut(int ms);

    // One timer period: the clock moves by TimerPeriod milliseconds and the sequencer runs.
    void TimerTick();

    int64_t Now() const { return FNow; }
    bool Playing() const { return FPlaying; }
    bool Ended() const { return FEnded; }
    int64_t Position() const { return FTick; }
    int64_t Step() const { return FStep; }
    int64_t StartTick() const { return FStartTick; }
    int FadeLevel() const { return FFade.Level; }
    const TMidiSong& Song() const { return FSong; }

private:
    void SendChannelVolumes();
    void SendChannelPans();
    void SendChannelVolume(int channel);
    void SendChannelPan(int channel);
    void SendPitchBendRange();
    void SendEvents();
    void UpdateFade();
    void RecomputeStep();

    TMidiSink& FSink;
    TMidiSong FSong;
    int64_t FNow = 0;
    int64_t FStartTime = 0;
    uint32_t FTempo = 500000;
    int FTempoPercent = 100;
    int64_t FStep = 500000;
    int64_t FTick = 0;
    int64_t FRemainder = 0;
    int64_t FStartTick = 0;
    size_t FIndex = 0;
    int FVolume = 100;
    int FBalance = 50;
    TSoundFade FFade;
    int64_t FLastFadeSend = 0;
    std::array<int, 16> FChannelVolume{};
    std::array<int, 16> FChannelPan{};
    bool FPlaying = false;
    bool FEnded = false;
    bool FSysExSent = false, FPitchBendSent = false, FVolumesSent = false, FPansSent = false;
};
