#include "MidiPlay.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <queue>

#include "SoundError.h"

namespace {

constexpr size_t MaxMidiFileSize = 64u << 20;

[[noreturn]] void invalidMidi()
{
    throw EAudioError(kInvalidMidiFile);
}

uint32_t bigEndian(const uint8_t* p, int n)
{
    uint32_t v = 0;
    for (int i = 0; i < n; ++i)
        v = (v << 8) | p[i];
    return v;
}

// One track while merging: the bytes not read yet and the time of its next event.
struct TrackReader {
    const uint8_t* Pos = nullptr;
    const uint8_t* End = nullptr;
    uint8_t RunningStatus = 0;
    int64_t Clock = 0;

    bool HasBytes() const { return Pos < End; }

    uint8_t Byte()
    {
        if (Pos >= End)
            invalidMidi();
        return *Pos++;
    }

    // Variable-length quantity; four bytes carry the largest value a file may hold.
    uint32_t Quantity()
    {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) {
            const uint8_t b = Byte();
            v = (v << 7) | (b & 0x7F);
            if (!(b & 0x80))
                return v;
        }
        invalidMidi();
    }

    std::vector<uint8_t> Bytes(uint32_t n)
    {
        if (n > static_cast<size_t>(End - Pos))
            invalidMidi();
        std::vector<uint8_t> out(Pos, Pos + n);
        Pos += n;
        return out;
    }
};

TMidiEvent readEvent(TrackReader& track, TMidiSong& song)
{
    TMidiEvent ev;
    ev.Time = track.Clock;
    uint8_t status = track.Byte();
    if (status == 0xFF) {
        ev.Status = status;
        ev.MetaType = track.Byte();
        ev.Data = track.Bytes(track.Quantity());
        if (ev.MetaType == 0x51) {
            if (ev.Data.size() != 3)
                invalidMidi();
            // A tempo of 0 would stop the clock dividing: the slowest legal tempo instead.
            ev.Tempo = std::max<uint32_t>(1, bigEndian(ev.Data.data(), 3));
        }
    } else if (status >= 0xF0) {
        ev.Status = status;
        ev.Data = track.Bytes(track.Quantity());
        if (status == 0xF0) {
            std::vector<uint8_t> msg;
            msg.reserve(ev.Data.size() + 1);
            msg.push_back(0xF0);
            msg.insert(msg.end(), ev.Data.begin(), ev.Data.end());
            ev.SysExIndex = static_cast<int>(song.SysExList.size());
            song.SysExList.push_back(std::move(msg));
        }
    } else {
        uint8_t data1;
        if (status & 0x80) {
            track.RunningStatus = status;
            data1 = track.Byte();
        } else {
            if (!track.RunningStatus)
                invalidMidi();
            data1 = status;
            status = track.RunningStatus;
        }
        const int kind = status & 0xF0;
        const uint8_t data2 = (kind == 0xC0 || kind == 0xD0) ? 0 : track.Byte();
        ev.Status = status;
        ev.Message = status | (uint32_t(data1) << 8) | (uint32_t(data2) << 16);
    }
    return ev;
}

bool isLoopMarker(const TMidiEvent& ev)
{
    return (ev.Status & 0xF0) == 0xB0 && ((ev.Message >> 8) & 0xFF) == 111;
}

void mergeTracks(std::vector<TrackReader>& tracks, TMidiSong& song)
{
    // Smallest clock first, lowest track number on a tie.
    using Key = std::pair<int64_t, size_t>;
    std::priority_queue<Key, std::vector<Key>, std::greater<Key>> queue;
    for (size_t i = 0; i < tracks.size(); ++i)
        if (tracks[i].HasBytes())
            queue.push({tracks[i].Clock, i});
    bool hasLoop = false;
    while (!queue.empty()) {
        const size_t i = queue.top().second;
        queue.pop();
        TrackReader& track = tracks[i];
        TMidiEvent ev = readEvent(track, song);
        if (isLoopMarker(ev)) {
            song.LoopTime = ev.Time;
            hasLoop = true;
        }
        if (song.Events.Count() >= TMidiEventList::MaxEvents)
            invalidMidi();
        song.Events.Add(std::move(ev));
        if (track.HasBytes()) {
            track.Clock += track.Quantity();
            queue.push({track.Clock, i});
        }
    }
    if (song.Events.Count() == 0)
        invalidMidi();
    song.EndTime = song.Events[song.Events.Count() - 1].Time;
    if (hasLoop) {
        size_t i = 0;
        while (i < song.Events.Count() && song.Events[i].Time < song.LoopTime)
            ++i;
        song.LoopIndex = i;
    }
}

} // namespace

void TMidiEventList::Add(TMidiEvent event)
{
    if (FItems.size() >= MaxEvents)
        invalidMidi();
    FItems.push_back(std::move(event));
}

TMidiSong TMidiSong::FromBytes(const uint8_t* data, size_t size)
{
    TMidiSong song;
    const uint8_t* pos = data;
    const uint8_t* end = data + size;
    auto need = [&](size_t n) {
        if (static_cast<size_t>(end - pos) < n)
            invalidMidi();
    };
    need(14);
    if (std::string(reinterpret_cast<const char*>(pos), 4) != "MThd" || bigEndian(pos + 4, 4) != 6)
        invalidMidi();
    const uint32_t trackCount = bigEndian(pos + 10, 2);
    song.Division = static_cast<int>(bigEndian(pos + 12, 2));
    pos += 14;

    std::vector<TrackReader> tracks;
    tracks.reserve(std::min<size_t>(trackCount, size / 8 + 1));
    for (uint32_t t = 0; t < trackCount; ++t) {
        need(8);
        if (std::string(reinterpret_cast<const char*>(pos), 4) != "MTrk")
            invalidMidi();
        const uint32_t length = bigEndian(pos + 4, 4);
        pos += 8;
        need(length);
        TrackReader track;
        track.Pos = pos;
        track.End = pos + length;
        track.Clock = track.Quantity();
        tracks.push_back(track);
        pos += length;
    }
    song.SysExList.push_back({0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7});
    mergeTracks(tracks, song);
    return song;
}

TMidiSong TMidiSong::FromFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        invalidMidi();
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0 || static_cast<size_t>(size) > MaxMidiFileSize)
        invalidMidi();
    in.seekg(0);
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (!in.read(reinterpret_cast<char*>(bytes.data()), size))
        invalidMidi();
    return FromBytes(bytes.data(), bytes.size());
}

int64_t ComputeMidiStep(uint32_t tempo, int tempoPercent)
{
    const int64_t percent = std::clamp(tempoPercent, 1, 10000);
    int64_t s = int64_t(tempo) * 100 / percent;
    int best = 0;
    int64_t bestRemainder = 0;
    for (int i = 1; i <= 128; ++i) {
        if (s / i >= 65536)
            continue;
        if (best == 0 || s % i < bestRemainder) {
            best = i;
            bestRemainder = s % i;
        }
    }
    s = best ? (s / best) * best : (s / 1024) * 1024;
    // A fast tempo at a high percent rounds to nothing; the clock divides by the step.
    return std::max<int64_t>(1, s);
}

namespace {

uint32_t controlChange(int channel, int controller, int value)
{
    return uint32_t(0xB0 | channel) | (uint32_t(controller) << 8) | (uint32_t(value) << 16);
}

} // namespace

TMidiPlayer::~TMidiPlayer()
{
    Stop();
}

void TMidiPlayer::Load(TMidiSong song)
{
    Stop();
    FSong = TMidiSong{};
    for (int ch = 0; ch < 16; ++ch)
        FSink.ShortMessage(controlChange(ch, 121, 0));
    FSong = std::move(song);
}

void TMidiPlayer::LoadFromFile(const std::string& path)
{
    Load(TMidiSong{});
    // On a bad file the lists stay empty and the player plays nothing.
    FSong = TMidiSong::FromFile(path);
}

void TMidiPlayer::Play()
{
    Stop();
    FTick = 0;
    FRemainder = 0;
    FIndex = 0;
    FBalance = 50;
    FVolume = 100;
    FTempoPercent = 100;
    FFade.Reset();
    FSysExSent = FPitchBendSent = FVolumesSent = FPansSent = false;
    FEnded = false;
    const size_t count = FSong.Events.Count();
    if (count == 0)
        return;
    FTempo = 500000;
    for (size_t i = 0; i < count; ++i)
        if (FSong.Events[i].IsTempo()) {
            FTempo = FSong.Events[i].Tempo;
            break;
        }
    RecomputeStep();
    // Start half a beat before the first sound. Kept in 64 bits: a 16-bit start tick wraps.
    int64_t first = 0;
    for (size_t i = 0; i < count; ++i) {
        const TMidiEvent& ev = FSong.Events[i];
        if ((ev.Status & 0xF0) == 0x90 || isLoopMarker(ev) || ev.IsSysEx()) {
            first = ev.Time;
            break;
        }
    }
    FStartTick = std::max<int64_t>(0, first - FSong.Division / 2);
    FTick = FStartTick;
    FChannelVolume.fill(100);
    FChannelPan.fill(64);
    FPlaying = true;
    FStartTime = FNow;
}

void TMidiPlayer::Stop()
{
    if (!FPlaying)
        return;
    FPlaying = false;
    for (int ch = 0; ch < 16; ++ch) {
        FSink.ShortMessage(controlChange(ch, 64, 0));
        FSink.ShortMessage(controlChange(ch, 123, 0));
    }
}

void TMidiPlayer::SetVolume(int volume)
{
    FVolume = std::clamp(volume, 0, 100);
    if (FPlaying && FVolumesSent)
        SendChannelVolumes();
}

void TMidiPlayer::SetBalance(int balance)
{
    FBalance = std::clamp(balance, 0, 100);
    if (FPlaying && FPansSent)
        SendChannelPans();
}

void TMidiPlayer::SetTempo(int percent)
{
    FTempoPercent = std::clamp(percent, 1, 10000);
    RecomputeStep();
}

void TMidiPlayer::FadeIn(int ms)
{
    FFade.FadeIn(FNow, ms);
    FLastFadeSend = FNow;
    if (FPlaying && FVolumesSent)
        SendChannelVolumes();
}

void TMidiPlayer::FadeOut(int ms)
{
    FFade.FadeOut(FNow, ms);
    FLastFadeSend = FNow;
    if (FPlaying && FVolumesSent && !FFade.Active())
        SendChannelVolumes();
}

void TMidiPlayer::RecomputeStep()
{
    FStep = ComputeMidiStep(FTempo, FTempoPercent);
}

void TMidiPlayer::TimerTick()
{
    FNow += TimerPeriod;
    if (!FPlaying)
        return;
    int64_t elapsed = FNow - FStartTime;
    if (!FSysExSent) {
        if (elapsed < 50)
            return;
        FSink.SysEx(FSong.SysExList.at(0));
        FSysExSent = true;
        FStartTime = FNow - 50;
        elapsed = 50;
    }
    if (!FPitchBendSent) {
        if (elapsed < 100)
            return;
        SendPitchBendRange();
        FPitchBendSent = true;
    }
    if (!FVolumesSent) {
        if (elapsed < 120)
            return;
        SendChannelVolumes();
        FVolumesSent = true;
    }
    if (!FPansSent) {
        if (elapsed < 130)
            return;
        SendChannelPans();
        FPansSent = true;
    }
    if (elapsed <= 140)
        return;
    FRemainder += int64_t(TimerPeriod) * 1000 * FSong.Division;
    FTick += FRemainder / FStep;
    FRemainder %= FStep;
    UpdateFade();
    SendEvents();
}

void TMidiPlayer::UpdateFade()
{
    if (!FFade.Active())
        return;
    FFade.Update(FNow);
    if (!FFade.Active() || FNow - FLastFadeSend >= 100) {
        SendChannelVolumes();
        FLastFadeSend = FNow;
    }
}

void TMidiPlayer::SendEvents()
{
    const size_t count = FSong.Events.Count();
    // A file whose whole loop passes within one period would otherwise keep the output
    // thread sending forever; the rest of a crowded period goes out in the next ones.
    for (int sent = 0; sent < MaxEventsPerPeriod; ++sent) {
        if (FIndex >= count) {
            FEnded = true;
            if (FSong.LoopTime < FSong.EndTime) {
                FIndex = FSong.LoopIndex;
                FTick = FSong.LoopTime;
                FRemainder = 0;
            }
            return;
        }
        const TMidiEvent& ev = FSong.Events[FIndex];
        if (ev.Time > FTick)
            return;
        ++FIndex;
        if (ev.IsChannelMessage()) {
            const int channel = ev.Status & 0x0F;
            const int controller = (ev.Message >> 8) & 0xFF;
            const int value = (ev.Message >> 16) & 0xFF;
            if ((ev.Status & 0xF0) == 0xB0 && controller == 7) {
                FChannelVolume[channel] = value;
                SendChannelVolume(channel);
            } else if ((ev.Status & 0xF0) == 0xB0 && controller == 10) {
                FChannelPan[channel] = value;
                SendChannelPan(channel);
            } else {
                FSink.ShortMessage(ev.Message);
            }
        } else if (ev.IsTempo()) {
            FTempo = ev.Tempo;
            RecomputeStep();
        } else if (ev.IsSysEx()) {
            FSink.SysEx(FSong.SysExList.at(ev.SysExIndex));
            return;
        }
    }
}

void TMidiPlayer::SendChannelVolume(int channel)
{
    const int v = FChannelVolume[channel] * FVolume / 100 * FFade.Level / 100;
    FSink.ShortMessage(controlChange(channel, 7, std::clamp(v, 0, 127)));
}

void TMidiPlayer::SendChannelPan(int channel)
{
    const int v = FChannelPan[channel] + FBalance * 2 - 100;
    FSink.ShortMessage(controlChange(channel, 10, std::clamp(v, 0, 127)));
}

void TMidiPlayer::SendChannelVolumes()
{
    for (int ch = 0; ch < 16; ++ch)
        SendChannelVolume(ch);
}

void TMidiPlayer::SendChannelPans()
{
    for (int ch = 0; ch < 16; ++ch)
        SendChannelPan(ch);
}

void TMidiPlayer::SendPitchBendRange()
{
    for (int ch = 0; ch < 16; ++ch) {
        FSink.ShortMessage(controlChange(ch, 101, 0));
        FSink.ShortMessage(controlChange(ch, 100, 0));
        FSink.ShortMessage(controlChange(ch, 6, 2));
        FSink.ShortMessage(controlChange(ch, 38, 0));
    }
}
