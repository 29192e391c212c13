#pragma once
// Fade factors over demo-time windows. An Envelope is a parameter block: callers rewrite its
// fields before each call, and no operation changes it.

// Truncated values of pi and pi/2 that the show's timing was tuned with.
inline constexpr float kEnvelopePi = 3.14159f;
inline constexpr float kEnvelopeHalfPi = 1.570795f;

struct Envelope {
    float inStart = 0.0f;
    float outStart = 0.0f;
    float inLength = 0.0f;
    float outLength = 0.0f;
    float rampScale = 1.0f; // places the end of the smoothed windows at rampScale * length

    float rampUp(float t) const;
    float rampDown(float t) const;
    float fadeIn(float t, float phase, float shape) const;
    float fadeOut(float t, float phase, float shape) const;
    float fadeInOut(float t, float phase, float shape) const;
};

// Angle of the direction (x, y) in radians, in (-pi/2, 3pi/2).
float angleOf(float y, float x);
