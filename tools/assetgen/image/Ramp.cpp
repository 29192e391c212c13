#include "image/Ramp.h"

Rgb ColourRamp::operator()(float x) const {
    if (stops.empty()) return {};
    if (x <= stops.front().at) return stops.front().colour;
    for (size_t i = 1; i < stops.size(); ++i) {
        if (x <= stops[i].at) {
            const RampStop& a = stops[i - 1];
            const RampStop& b = stops[i];
            const float span = b.at - a.at;
            return span > 0.0f ? mixRgb(a.colour, b.colour, (x - a.at) / span) : b.colour;
        }
    }
    return stops.back().colour;
}

Image colourRamp(const Field& f, const ColourRamp& ramp) {
    Image img(f.width, f.height);
    for (size_t i = 0; i < f.v.size(); ++i) img.px[i] = ramp(f.v[i]);
    return img;
}

ColourRamp palette(std::initializer_list<Rgb> colours) {
    std::vector<RampStop> stops;
    const float step = 1.0f / float(colours.size());
    float at = 0.0f;
    for (const Rgb& c : colours) {
        stops.push_back({at, c});
        stops.push_back({at + step * 0.999f, c});
        at += step;
    }
    return ColourRamp(std::move(stops));
}
