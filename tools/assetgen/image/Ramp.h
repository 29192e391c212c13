#pragma once
// Colour ramps: a field's values looked up along a list of colour stops.

#include "image/Image.h"

#include <initializer_list>
#include <utility>
#include <vector>

struct RampStop {
    float at = 0.0f;
    Rgb colour;
};

// Stops in increasing `at`; values outside the first and last stop take their colour.
struct ColourRamp {
    std::vector<RampStop> stops;

    ColourRamp(std::initializer_list<RampStop> s) : stops(s) {}
    explicit ColourRamp(std::vector<RampStop> s) : stops(std::move(s)) {}
    Rgb operator()(float x) const;
};

Image colourRamp(const Field& f, const ColourRamp& ramp);
// A ramp of equal flat steps, one per colour: maps a 0..1 cell id to a palette entry.
ColourRamp palette(std::initializer_list<Rgb> colours);
