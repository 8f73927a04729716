#pragma once
// A fade level running from 0 to 100 over a duration, on the audio clock (milliseconds).

#include <algorithm>
#include <cstdint>

struct TSoundFade {
    int Level = 100;
    bool FadingIn = false;
    bool FadingOut = false;
    int StartLevel = 100;
    int64_t StartTime = 0;
    int Duration = 0;

    bool Active() const { return FadingIn || FadingOut; }

    void Reset()
    {
        Level = 100;
        FadingIn = FadingOut = false;
    }

    void FadeIn(int64_t now, int ms)
    {
        Begin(now, ms, 0, true);
    }

    void FadeOut(int64_t now, int ms)
    {
        Begin(now, ms, Level, false);
    }

    // Moves the level on; returns true while the fade ran during this call.
    bool Update(int64_t now)
    {
        if (!Active())
            return false;
        const int64_t moved = Duration > 0 ? (now - StartTime) * 100 / Duration : 100;
        if (FadingIn) {
            Level = static_cast<int>(std::clamp<int64_t>(StartLevel + moved, 0, 100));
            if (Level >= 100)
                FadingIn = false;
        } else {
            Level = static_cast<int>(std::clamp<int64_t>(StartLevel - moved, 0, 100));
            if (Level <= 0)
                FadingOut = false;
        }
        return true;
    }

private:
    void Begin(int64_t now, int ms, int startLevel, bool in)
    {
        StartTime = now;
        Duration = std::max(0, ms);
        StartLevel = startLevel;
        FadingIn = in;
        FadingOut = !in;
        if (Duration == 0) {
            Level = in ? 100 : 0;
            FadingIn = FadingOut = false;
        } else {
            Level = startLevel;
        }
    }
};
