#pragma once
// Fade factors over demo-time windows. An Envelope is a parameter block: callers rewrite its
// fields before each call, and no operation changes it.

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

// The fades the scenes and the director use most, over one window [start, start + length] with
// the half-cosine ease (phase 1, shape 1), without an Envelope to fill first.
float fadeInOver(float t, float start, float length);
float fadeOutOver(float t, float start, float length);
// Linear 0 -> 1 over the window.
float rampUpOver(float t, float start, float length);
// fadeInOver the first window times the fade out over the second.
float fadeInOutOver(float t, float inStart, float inLength, float outStart, float outLength);
