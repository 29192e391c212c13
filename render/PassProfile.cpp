#include "render/PassProfile.h"

#include "render/ScreenBlit.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Total {
    long calls = 0;
    double ms = 0.0;
};

struct Profile {
    bool on = std::getenv("CASTRELLE_PASS_PROFILE") != nullptr;
    const char* section = "";
    std::vector<std::string> sections{""}; // in the order they came; "" before the director names one
    std::map<std::pair<std::string, std::string>, Total> totals;
    ~Profile() {
        for (const std::string& s : sections) {
            bool any = false;
            for (const auto& entry : totals) any = any || entry.first.first == s;
            if (!any) continue;
            std::fprintf(stderr, "%-28s %8s %10s %10s\n", s.empty() ? "pass" : s.c_str(), "calls", "ms/call",
                         "ms total");
            for (const auto& [key, t] : totals)
                if (key.first == s)
                    std::fprintf(stderr, "  %-26s %8ld %10.3f %10.1f\n", key.second.c_str(), t.calls,
                                 t.ms / t.calls, t.ms);
        }
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
    Profile& p = profile();
    if (!p.on) return;
    finishFrame();
    Total& t = p.totals[{p.section, name_}];
    ++t.calls;
    t.ms += nowMs() - start_;
}

void setPassProfileSection(const char* section) {
    Profile& p = profile();
    if (!p.on || section == p.section) return;
    p.section = section;
    for (const std::string& s : p.sections)
        if (s == section) return;
    p.sections.emplace_back(section);
}
