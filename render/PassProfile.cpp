#include "render/PassProfile.h"

#include "render/ScreenBlit.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace {

struct Total {
    long calls = 0;
    double ms = 0.0;
};

struct Profile {
    bool on = std::getenv("CASTRELLE_PASS_PROFILE") != nullptr;
    std::map<std::string, Total> totals;
    ~Profile() {
        if (totals.empty()) return;
        std::fprintf(stderr, "%-28s %8s %10s %10s\n", "pass", "calls", "ms/call", "ms total");
        for (const auto& [name, t] : totals)
            std::fprintf(stderr, "%-28s %8ld %10.3f %10.1f\n", name.c_str(), t.calls, t.ms / t.calls, t.ms);
    }
};

Profile& profile() {
    static Profile p;
    return p;
}

double nowMs() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

} // namespace

PassTimer::PassTimer(const char* name) : name_(name) {
    if (!profile().on) return;
    finishFrame();
    start_ = nowMs();
}

PassTimer::~PassTimer() {
    if (!profile().on) return;
    finishFrame();
    Total& t = profile().totals[name_];
    ++t.calls;
    t.ms += nowMs() - start_;
}
