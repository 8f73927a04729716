// The hourglass for long operations: shown for the guard's lifetime and restored afterwards, also
// when an exception leaves the scope.
#pragma once

class HourglassGuard {
public:
    HourglassGuard();
    ~HourglassGuard();
    HourglassGuard(const HourglassGuard&) = delete;
    HourglassGuard& operator=(const HourglassGuard&) = delete;

private:
    bool active = false;
};
