#pragma once
// CPU time the frame spends on scene logic (deformations, noise, normals, shadow building) as
// opposed to issuing and waiting for GL work. Scenes wrap such work in a LogicTimer; captures
// read and reset the total each frame for their timing report.

#include <chrono>

struct FrameProfile {
    double logicMs = 0.0;
};

FrameProfile& frameProfile();

class LogicTimer {
public:
    LogicTimer() : start_(std::chrono::steady_clock::now()) {}
    ~LogicTimer() {
        const auto elapsed = std::chrono::steady_clock::now() - start_;
        frameProfile().logicMs += std::chrono::duration<double, std::milli>(elapsed).count();
    }
    LogicTimer(const LogicTimer&) = delete;
    LogicTimer& operator=(const LogicTimer&) = delete;

private:
    std::chrono::steady_clock::time_point start_;
};
