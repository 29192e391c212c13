#include "app/ProgressBar.h"

#include <chrono>
#include <cstdio>
#include <unistd.h>

double monotonicSeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

ProgressBar::ProgressBar(int64_t totalFrames)
    : total_(totalFrames > 0 ? totalFrames : 1), startSeconds_(monotonicSeconds()), terminal_(isatty(2) != 0) {}

void ProgressBar::update(int64_t done, int demoMs) {
    const double now = monotonicSeconds();
    const double interval = terminal_ ? 0.2 : 10.0;
    if (done < total_ && now - lastPrint_ < interval) return;
    lastPrint_ = now;
    const double elapsed = now - startSeconds_;
    const double fps = elapsed > 0.0 ? static_cast<double>(done) / elapsed : 0.0;
    const double left = fps > 0.0 ? static_cast<double>(total_ - done) / fps : 0.0;
    const int width = 30;
    const int filled = static_cast<int>(width * done / total_);
    char bar[width + 1];
    for (int i = 0; i < width; ++i) bar[i] = i < filled ? '#' : '.';
    bar[width] = '\0';
    std::fprintf(stderr, "%s[%s] %lld/%lld frames  t=%.1f s  %.1f fps  %d:%02d left%s", terminal_ ? "\r" : "", bar,
                 static_cast<long long>(done), static_cast<long long>(total_), demoMs * 0.001, fps,
                 static_cast<int>(left) / 60, static_cast<int>(left) % 60, terminal_ ? "  " : "\n");
    std::fflush(stderr);
}

void ProgressBar::finish() {
    if (terminal_) std::fputc('\n', stderr);
}
