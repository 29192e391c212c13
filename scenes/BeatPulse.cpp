#include "scenes/BeatPulse.h"

#include "anim/Envelope.h"

float beatPulse(float sceneClock, timetable::Beat beat, int afterBeat, const int (&pause)[2]) {
    const float a =
        static_cast<float>(static_cast<int>(sceneClock + static_cast<float>(beat.offset)) % beat.period);
    float pulse = fadeInOver(a, 0.0f, 200.0f) * fadeOutOver(a, 400.0f, 600.0f);
    if (sceneClock < static_cast<float>(pause[0]) || sceneClock >= static_cast<float>(pause[1])) {
        const float after = static_cast<float>(afterBeat);
        pulse += 0.4f * fadeInOver(a, after, 200.0f) * fadeOutOver(a, after + 200.0f, 200.0f);
    }
    return pulse;
}
