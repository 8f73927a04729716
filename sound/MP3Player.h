#pragma once
// MP3 music: decoded with libmpg123, played looping through the mixer.

#include <memory>
#include <string>

#include "WavePlayer.h"

// Throws EAudioError when the file is not MP3 audio.
TPcmSound LoadMp3File(const std::string& path);

class TMP3Player {
public:
    void Play(std::shared_ptr<const TPcmSound> sound);
    void Stop();
    bool Playing() const { return FVoice.Playing; }

    void SetVolume(int volume);   // 0..100
    void SetBalance(int balance); // 0..100
    void SetTempo(int tempo);     // 1..10000, playback rate tempo / 100
    void FadeIn(int64_t now, int ms) { FVoice.Fade.FadeIn(now, ms); }
    void FadeOut(int64_t now, int ms) { FVoice.Fade.FadeOut(now, ms); }
    void UpdateFades(int64_t now) { FVoice.Fade.Update(now); }
    void MixInto(float* stereo, int frames) { FVoice.MixInto(stereo, frames); }

    const TPcmVoice& Voice() const { return FVoice; }

private:
    TPcmVoice FVoice;
};
