#pragma once
// Where the cave's five greetings stand. The cave scene places and turns its names from this table
// and the model generator carves a hall round each name in the cave from the same one, so a name
// moved here moves with its hall. Plain constants, no GL.

// Greeting k: shown from campos (the camera's travel along its path) `start`; it stands where the
// camera will be at start + lead, shifted by offset and turned by rotation (radians, applied x,
// then z, then y), its model loaded at vertexScale.
struct CaveGreetingPlace {
    double start, lead;
    double offset[3];
    double rotation[3];
    double vertexScale;
};

inline constexpr int kCaveGreetingCount = 5;

// Each name stands centred on the point the camera turns to, in a hall beside the path (clear of
// the lantern, which flies the path a second ahead and would otherwise hide the name and light it
// only through a narrowing beam), turned to face the camera as it comes up.
inline constexpr CaveGreetingPlace kCaveGreetingPlaces[kCaveGreetingCount] = {
    {0.0, 0.0625, {22.0, -3.0, -4.0}, {0.4712388, 1.4136, 0.063}, 3.0},
    {0.07, 0.0675, {-3.824, 0.0, 17.589}, {0.1570796, 5.54872, 0.0}, 3.5},
    {0.18, 0.0875, {14.699, 0.0, 2.991}, {0.3141592, 2.05619, 0.0}, 4.25},
    {0.36, 0.0725, {-10.397, 3.0, 14.693}, {0.1570796, 4.71239, 0.0}, 4.5},
    {0.62, 0.066, {-24.0, 0.0, 4.0}, {0.3141592, 5.2, 0.0}, 3.5},
};
