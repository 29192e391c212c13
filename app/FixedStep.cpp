#include "app/FixedStep.h"

int fixedStepTime(int64_t n, int fpsNum, int fpsDen, int fromMs) {
    return fromMs + static_cast<int>(n * 1000 * fpsDen / fpsNum);
}

int64_t fixedStepFrameCount(int fpsNum, int fpsDen, int fromMs, int toMs) {
    // The smallest n with fixedStepTime(n) >= toMs.
    const int64_t span = static_cast<int64_t>(toMs - fromMs) * fpsNum;
    const int64_t per = 1000LL * fpsDen;
    return (span + per - 1) / per;
}
