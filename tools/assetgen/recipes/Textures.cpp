// The show's textures. Each recipe paints one file of Images/ from the image operators; the
// table at the end gives every file its size and JPEG settings.
//
// Conventions: sizes are powers of two; surface textures tile seamlessly (every operator wraps)
// because meshes repeat them many times; panoramas wrap sideways so the cube faces that repeat
// a picture meet without a seam.

#include "recipes/Recipes.h"
#include "recipes/TextureRecipes.h"

#include "image/Blend.h"
#include "image/Blur.h"
#include "image/Levels.h"
#include "image/Noise.h"
#include "image/Projection.h"
#include "image/Ramp.h"
#include "image/Relief.h"
#include "image/Shapes.h"
#include "image/Warp.h"
#include "image/Worley.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <numbers>
#include <string>

namespace {

// env1gr, env1orbi, env1pubi and black are assembled into cube maps, whose faces must all share
// one size.
constexpr int kCubeFaceSize = 512;
constexpr int kSurfaceSize = 512;
// Loaded but never or hardly drawn: small, to keep load time and data size down.
constexpr int kSpareSize = 256;

// ---- shared building blocks ------------------------------------------------------------

// A picture that several recipes start from, painted on first use.
const Image& shared(const TextureKit& kit, const char* name, int s, Image (*paint)(int)) {
    const auto [it, painted] = kit.pictures.try_emplace({name, s});
    if (painted) it->second = paint(s);
    return it->second;
}

Image flat(int s, uint32_t colour) { return Image(s, s, hexRgb(colour)); }

// Adds a coloured light through a mask.
Image addLight(const Image& base, const Field& mask, uint32_t colour, float gain) {
    return blend(base, flat(base.width, colour), BlendMode::add, mask, gain);
}

// 1 + amount * field: a multiplier for modulate().
Field around1(const Field& f, float amount) {
    return mapField(f, [amount](float x) { return 1.0f + amount * x; });
}

// Irregular stones: warped Worley cells with dark cracks along their borders.
struct Stones {
    Field height; // dome per stone, 0 in the cracks
    Field inside; // 0 on the cracks, 1 inside a stone
    Field id;     // random per stone
};

Stones stones(int s, int cells, float warpAmount, float crackWidth, uint32_t seed) {
    CellFields c = worley(s, s, {cells, cells, 0.9f, seed});
    const Field dx = fbm(s, s, {4, 4, 4, 0.5f, seed + 1u});
    const Field dy = fbm(s, s, {4, 4, 4, 0.5f, seed + 2u});
    const Field edge = warp(add(c.f2, c.f1, -1.0f), dx, dy, warpAmount);
    const Field f1 = warp(c.f1, dx, dy, warpAmount);
    Stones st;
    st.inside = smoothstep(edge, 0.0f, crackWidth);
    st.height = multiply(smoothstep(edge, 0.0f, crackWidth * 4.0f),
                         mapField(f1, [](float d) { return 1.0f - 0.6f * d * d; }));
    st.id = warp(c.id, dx, dy, warpAmount);
    return st;
}

// An upright sky panorama: blue sky with clouds and a low sun over hazy islands and a dark sea
// with a glitter path. The bright sky against the dark sea gives reflections a clear horizon.
Image skyPanorama(int s) {
    constexpr float horizon = 0.56f;
    const Field v = verticalRamp(s, s);
    // A late-afternoon sky: deep overhead, bright only near the sun and the horizon, so the
    // mirror-bright meshes that reflect it keep dark areas for their highlights to stand on.
    Image img = colourRamp(v, {{0.0f, hexRgb(0x050e26)},
                               {0.28f, hexRgb(0x12306a)},
                               {0.46f, hexRgb(0x3a6aa8)},
                               {horizon, hexRgb(0xe8dcc4)}});
    // Clouds thin out towards the horizon, as they would in perspective.
    const Field cloudShape = fbm(s, s, {5, 3, 6, 0.55f, 21});
    const Field cloudBand =
        mapField(v, [](float y) { return y < horizon ? 1.0f - y / horizon * 0.7f : 0.0f; });
    const Field cloudMask = multiply(smoothstep(cloudShape, 0.0f, 0.28f), cloudBand);
    const Image cloudColour =
        colourRamp(fbm(s, s, {10, 6, 4, 0.5f, 22}), {{-0.3f, hexRgb(0x3c4658)}, {0.25f, hexRgb(0xf0f0f0)}});
    img = blend(img, cloudColour, BlendMode::normal, cloudMask, 0.95f);
    img = addLight(img, radialGlow(s, s, 0.3f, 0.22f, 0.42f, 2.5f), 0xffd9a0, 0.7f);
    img = addLight(img, radialGlow(s, s, 0.3f, 0.22f, 0.06f, 0.5f), 0xffffff, 1.6f);
    // Hazy blue islands on the horizon.
    const Field hills = skyline(s, s, horizon, 0.09f, 5, 0.08f, 23);
    // Sea: light and hazy at the horizon, deep blue below, with wave streaks and the sun's
    // glitter path under it.
    Image sea = colourRamp(v, {{horizon, hexRgb(0xb4c4d0)},
                               {horizon + 0.04f, hexRgb(0x4a7090)},
                               {0.8f, hexRgb(0x1c3c5c)},
                               {1.0f, hexRgb(0x0a1a2c)}});
    const Field waves = fbm(s, s, {3, 48, 4, 0.5f, 24});
    sea = modulate(sea, around1(waves, 0.5f));
    const Field path = multiply(radialGlow(s, s, 0.3f, 0.9f, 0.42f, 1.2f), smoothstep(waves, 0.05f, 0.3f));
    sea = addLight(sea, path, 0xfff0d0, 1.3f);
    Image ground = colourRamp(v, {{horizon - 0.1f, hexRgb(0x7d8da0)}, {horizon, hexRgb(0x4e5a64)}});
    const Field shore = mapField(v, [](float y) { return std::clamp((y - horizon) * 400.0f, 0.0f, 1.0f); });
    ground = blend(ground, sea, BlendMode::normal, shore);
    return blend(img, ground, BlendMode::normal, hills);
}

// An upright photo studio at night: near-black walls and a dark glossy floor, two narrow
// softboxes, a strip light and a ring light, all with a soft bloom. Reflections of it are burnt
// several times brighter into glows, so everything but the lights stays deep.
Image studioPanorama(int s) {
    constexpr float floorLine = 0.62f;
    const Field v = verticalRamp(s, s);
    Image room = colourRamp(v, {{0.0f, hexRgb(0x0b0c10)},
                                {floorLine - 0.01f, hexRgb(0x060709)},
                                {floorLine, hexRgb(0x1a1714)},
                                {1.0f, hexRgb(0x030302)}});
    room = modulate(room, around1(fbm(s, s, {8, 8, 4, 0.5f, 31}), 0.3f));
    const Field boxes = maximum(softBox(s, s, {0.11f, 0.12f, 0.2f, 0.52f}, 0.01f, 0.012f),
                                softBox(s, s, {0.8f, 0.12f, 0.89f, 0.52f}, 0.01f, 0.012f));
    const Field strip = softBox(s, s, {0.38f, 0.03f, 0.62f, 0.06f}, 0.01f, 0.01f);
    const Field orb = ring(s, s, 0.5f, 0.32f, 0.11f, 0.012f);
    // Mirror the lights in the floor, dimmer and smeared.
    const Field lights = maximum(maximum(boxes, strip), orb);
    room = addLight(room, blur(lights, float(s) / 40.0f), 0xffe8d0, 0.35f);
    room = addLight(room, blur(mirrorBelow(lights, floorLine), float(s) / 128.0f), 0xfff0e0, 0.2f);
    room = addLight(room, boxes, 0xfff4e4, 1.0f);
    room = addLight(room, strip, 0xffffff, 1.0f);
    return addLight(room, orb, 0xd8ecff, 1.2f);
}

// An upright warm interior: wood panelling, a row of hanging lamps and out-of-focus bottles.
Image pubPanorama(int s) {
    const Field v = verticalRamp(s, s);
    Image room = colourRamp(v, {{0.0f, hexRgb(0x140a06)},
                                {0.2f, hexRgb(0x2e170b)},
                                {0.45f, hexRgb(0x5a2e14)},
                                {0.64f, hexRgb(0x3a1c0c)},
                                {0.66f, hexRgb(0x7a4a22)},
                                {0.7f, hexRgb(0x2a1208)},
                                {1.0f, hexRgb(0x0c0604)}});
    const Field grainDx = fbm(s, s, {4, 4, 3, 0.5f, 41});
    const Field grain = warp(noise(s, s, {48, 3, 1, 0.5f, 42}), grainDx, grainDx, 0.02f);
    room = modulate(room, around1(grain, 0.3f));
    const CellFields bottles = worley(s, s, {22, 10, 0.8f, 43});
    const Field band = mapField(v, [](float y) { return y > 0.46f && y < 0.63f ? 1.0f : 0.0f; });
    const Field bokeh = multiply(smoothstep(bottles.f1, 0.32f, 0.22f), band);
    const Image bottleColour =
        colourRamp(bottles.id, palette({hexRgb(0x3fae5a), hexRgb(0xf0a030), hexRgb(0xd84030),
                                        hexRgb(0x4a7ad8), hexRgb(0xe8d8a0), hexRgb(0x208060)}));
    room = blend(room, bottleColour, BlendMode::add, blur(bokeh, float(s) / 256.0f), 0.6f);
    for (int i = 0; i < 6; ++i) {
        const float u = (float(i) + 0.5f) / 6.0f;
        room = addLight(room, radialGlow(s, s, u, 0.3f, 0.16f, 2.0f), 0xffa040, 0.55f);
        room = addLight(room, radialGlow(s, s, u, 0.3f, 0.028f, 0.6f), 0xfff2d0, 1.5f);
    }
    return room;
}

// One layer of aggregate for stoneCement: round stones of varied size, colour and grain.
struct Aggregate {
    Field mask;   // 1 on a stone
    Field height; // domed stones
    Image colour;
};

Aggregate aggregate(int s, int cells, float minRadius, float maxRadius, const ColourRamp& colours,
                    uint32_t seed) {
    const CellFields c = worley(s, s, {cells, cells, 1.0f, seed});
    const Field dx = fbm(s, s, {cells / 2, cells / 2, 3, 0.5f, seed + 1u});
    const Field dy = fbm(s, s, {cells / 2, cells / 2, 3, 0.5f, seed + 2u});
    const float bend = 0.6f / float(cells);
    const Field radius = mapField(c.id, [=](float id) { return minRadius + (maxRadius - minRadius) * id; });
    const Field depth = warp(add(radius, c.f1, -1.0f), dx, dy, bend); // > 0 inside a stone
    const Field shade = warp(c.id, dx, dy, bend);
    Aggregate a;
    a.mask = smoothstep(depth, 0.0f, 0.025f);
    a.height = multiply(a.mask, smoothstep(depth, -0.02f, 0.12f));
    // A second hash of the cell id, so stone colour does not follow stone size.
    const Image colour =
        colourRamp(mapField(shade, [](float id) { return std::fmod(id * 7.31f, 1.0f); }), colours);
    a.colour = modulate(colour, around1(fbm(s, s, {cells * 3, cells * 3, 3, 0.6f, seed + 3u}), 0.3f));
    return a;
}

ColourRamp stonePalette() {
    return palette({hexRgb(0x5d5a56), hexRgb(0x8a7f70), hexRgb(0xa08f7a), hexRgb(0x7a5e4c), hexRgb(0xc4bcb0),
                    hexRgb(0x403e3b), hexRgb(0x9a8c84), hexRgb(0x6a7078), hexRgb(0xb0a48e),
                    hexRgb(0x8c6a5a)});
}

// Stone embedded in cement: the base of the kivisementti family. Exposed aggregate of two
// sizes in a grainy grey-beige cement.
Image stoneCement(int s) {
    const Field cementNoise = fbm(s, s, {8, 8, 6, 0.55f, 201});
    Image img = colourRamp(cementNoise,
                           {{-0.4f, hexRgb(0x6f6a63)}, {0.0f, hexRgb(0x948d83)}, {0.4f, hexRgb(0xb8b1a5)}});
    img = modulate(img, around1(noise(s, s, {s / 3, s / 3, 1, 0.5f, 202}), 0.2f));
    const Aggregate small = aggregate(s, 28, 0.1f, 0.38f, stonePalette(), 210);
    const Aggregate large = aggregate(s, 10, 0.15f, 0.42f, stonePalette(), 220);
    img = blend(img, small.colour, BlendMode::normal, small.mask);
    img = blend(img, large.colour, BlendMode::normal, large.mask);
    const Field height = add(maximum(small.height, large.height), cementNoise, 0.15f);
    return modulate(img, relief(height, 0.8f));
}

// Irregular flagstones with dark cracks.
Image pavingStones(int s) {
    const Stones st = stones(s, 9, 0.05f, 0.05f, 101);
    Image img = colourRamp(st.id, {{0.0f, hexRgb(0x5d5750)},
                                   {0.25f, hexRgb(0x7c736a)},
                                   {0.5f, hexRgb(0x948b80)},
                                   {0.75f, hexRgb(0x6b665f)},
                                   {1.0f, hexRgb(0xa39a8e)}});
    const Field grain = fbm(s, s, {16, 16, 5, 0.6f, 102});
    img = modulate(img, around1(grain, 0.35f));
    img = modulate(img, relief(add(st.height, grain, 0.12f), 1.2f));
    return blend(img, flat(s, 0x1e1b18), BlendMode::normal,
                 mapField(st.inside, [](float x) { return 1.0f - x; }));
}

// ---- the recipes, one per file -----------------------------------------------------------

// Reflections. The cube-map pictures are stored upside down: the texture bank uploads rows
// bottom-first and a cube face's t axis runs against eye-space y, so this way the sky is on
// top in reflections.
Image env1gr(const TextureKit& kit, int s) { return flipVertical(shared(kit, "sky", s, skyPanorama)); }
Image env1orbi(const TextureKit&, int s) { return flipVertical(studioPanorama(s)); }
// Also drawn as a plain and sphere-mapped 2D texture, which shows it upright.
Image env1pubi(const TextureKit&, int s) { return pubPanorama(s); }
Image env1bw(const TextureKit& kit, int s) {
    return greyscale(contrast(shared(kit, "sky", s, skyPanorama), 1.3f));
}
Image env1b(const TextureKit& kit, int s) {
    return levels(tint(shared(kit, "sky", s, skyPanorama), {0.55f, 0.75f, 1.3f}), 0.02f, 1.0f, 1.1f);
}
Image env1grey(const TextureKit& kit, int s) {
    return contrast(greyscale(shared(kit, "sky", s, skyPanorama)), 0.6f);
}
Image sphere2(const TextureKit& kit, int s) {
    return sphereMapFromPanorama(shared(kit, "sky", s, skyPanorama), s);
}

// Granite bedrock under a pale sky: pinkish grey rock with cracks and lichen, a lake below.
Image kallioEnv(const TextureKit&, int s) {
    const Field v = verticalRamp(s, s);
    Image img = colourRamp(v, {{0.0f, hexRgb(0x8ea4bc)}, {0.4f, hexRgb(0xe2e4e0)}});
    const Field dx = fbm(s, s, {4, 4, 4, 0.5f, 73});
    const Field rock = warp(fbm(s, s, {3, 6, 7, 0.55f, 71}), dx, dx, 0.04f);
    Image granite =
        colourRamp(rock, {{-0.4f, hexRgb(0x5a504c)}, {0.0f, hexRgb(0x9a8a84)}, {0.4f, hexRgb(0xc4b4aa)}});
    granite = modulate(granite, around1(noise(s, s, {s / 3, s / 3, 1, 0.5f, 74}), 0.15f));
    const CellFields blocks = worley(s, s, {5, 3, 1.0f, 75});
    const Field cracks = smoothstep(warp(add(blocks.f2, blocks.f1, -1.0f), dx, dx, 0.03f), 0.04f, 0.0f);
    granite = blend(granite, flat(s, 0x2a2420), BlendMode::normal, cracks, 0.8f);
    const Field lichen = smoothstep(fbm(s, s, {8, 8, 5, 0.6f, 76}), 0.15f, 0.3f);
    granite = blend(granite, flat(s, 0x9aa058), BlendMode::multiply, lichen, 0.6f);
    granite = modulate(granite, relief(add(rock, cracks, -0.2f), 1.5f));
    granite = modulate(granite, mapField(v, [](float y) { return 1.15f - 0.5f * y; }));
    img = blend(img, granite, BlendMode::normal, skyline(s, s, 0.4f, 0.25f, 3, 0.1f, 72));
    Image lake = colourRamp(v, {{0.82f, hexRgb(0x3a4a58)}, {1.0f, hexRgb(0x101820)}});
    lake = modulate(lake, around1(fbm(s, s, {2, 32, 3, 0.5f, 77}), 0.3f));
    return blend(img, lake, BlendMode::normal, mapField(v, [](float y) { return y > 0.82f ? 1.0f : 0.0f; }));
}

// Surfaces.
Image kivio(const TextureKit& kit, int s) { return shared(kit, "kivio", s, pavingStones); }
Image kivio_sumea2(const TextureKit& kit, int s) {
    return blur(shared(kit, "kivio", s, pavingStones), float(s) / 64.0f);
}

Image kivisementtiBB(const TextureKit& kit, int s) { return shared(kit, "stoneCement", s, stoneCement); }
Image kivisementtiBBkontrasti(const TextureKit& kit, int s) {
    return contrast(shared(kit, "stoneCement", s, stoneCement), 1.9f, 0.52f);
}
Image kivisementtiBBsumea(const TextureKit& kit, int s) {
    return blur(shared(kit, "stoneCement", s, stoneCement), float(s) / 96.0f);
}
Image kivisementtiBBSaad(const TextureKit& kit, int s) {
    return saturate(shared(kit, "stoneCement", s, stoneCement), 3.2f);
}
Image kivisementtiBBSaadsumea2(const TextureKit& kit, int s) {
    return blur(saturate(shared(kit, "stoneCement", s, stoneCement), 3.2f), float(s) / 64.0f);
}

// Painted gravel: two layers of round pebbles, the lower one in shadow, in the gaps between.
// Painted in the title's colours, rust and sienna with pale steel, because the title words and
// the Hipu blob show it wherever their reflection is weak (the words' side walls); loud
// rainbow pebbles there stood out of both scenes.
Image soraBvaritettu(const TextureKit&, int s) {
    const ColourRamp paint =
        palette({hexRgb(0x7a2e1e), hexRgb(0xa0522d), hexRgb(0x5c3a2e), hexRgb(0xb8c8d0), hexRgb(0x8a4a32),
                 hexRgb(0x6a4536), hexRgb(0xd8e4ea), hexRgb(0x8ea4ae), hexRgb(0x9a3b24), hexRgb(0x4e2c22)});
    const Aggregate under = aggregate(s, 24, 0.5f, 0.65f, paint, 310);
    const Aggregate top = aggregate(s, 24, 0.36f, 0.5f, paint, 320);
    Image img = flat(s, 0x120f0c);
    const Field underShade = mapField(under.height, [](float h) { return 0.25f + 0.35f * h; });
    const Field topShade = mapField(top.height, [](float h) { return 0.5f + 0.6f * h; });
    img = blend(img, modulate(under.colour, underShade), BlendMode::normal, under.mask);
    img = blend(img, modulate(top.colour, topShade), BlendMode::normal, top.mask);
    const Field underHeight = multiply(under.height, mapField(under.mask, [](float m) { return 0.6f * m; }));
    return modulate(img, relief(maximum(top.height, underHeight), 0.7f));
}

// Pale red lines, thin and wide, wavering across pinkish paper.
Image haaleapunaviiva(const TextureKit&, int s) {
    Image paper =
        colourRamp(fbm(s, s, {6, 6, 5, 0.5f, 401}), {{-0.4f, hexRgb(0xe8cfc4)}, {0.4f, hexRgb(0xf8e9e2)}});
    const Field dx = fbm(s, s, {3, 3, 3, 0.5f, 402});
    const Field dy = fbm(s, s, {3, 3, 3, 0.5f, 403});
    const Field thin = smoothstep(warp(bands(s, s, 16.0f, 0.0f), dx, dy, 0.012f), 0.93f, 0.985f);
    const Field wide = smoothstep(warp(bands(s, s, 4.0f, 0.3f), dx, dy, 0.02f), 0.9f, 0.965f);
    paper = blend(paper, flat(s, 0xd9605a), BlendMode::normal, thin, 0.8f);
    return blend(paper, flat(s, 0xc84848), BlendMode::normal, wide, 0.55f);
}

// Deep blue with light blue worm tracks.
Image matosini(const TextureKit&, int s) {
    Image img = colourRamp(fbm(s, s, {4, 4, 5, 0.5f, 501}),
                           {{-0.5f, hexRgb(0x06143a)}, {0.0f, hexRgb(0x103478)}, {0.5f, hexRgb(0x2060b0)}});
    // Worms follow the zero lines of two noise fields.
    for (uint32_t layer = 0; layer < 2; ++layer) {
        const int cells = layer == 0 ? 4 : 9;
        const Field n = fbm(s, s, {cells, cells, 3, 0.45f, 502 + layer});
        const Field worm = smoothstep(mapField(n, [](float x) { return std::fabs(x); }), 0.05f, 0.012f);
        img = addLight(img, worm, layer == 0 ? 0x7cc4ff : 0x4a8ee0, layer == 0 ? 0.9f : 0.6f);
    }
    return img;
}

// Near-black mottled brown with darker spots.
Image tummet(const TextureKit&, int s) {
    Image img = colourRamp(fbm(s, s, {6, 6, 6, 0.55f, 601}),
                           {{-0.5f, hexRgb(0x050406)}, {0.0f, hexRgb(0x141114)}, {0.5f, hexRgb(0x2b2420)}});
    const CellFields spots = worley(s, s, {10, 10, 1.0f, 602});
    return modulate(img, mapField(spots.f1, [](float d) { return 0.7f + 0.3f * std::min(1.0f, d * 2.5f); }));
}

// White wing feathers. Mapped with u along the wing's span and v across its chord: four long
// flight feathers per repeat (two to each scallop of the wing's trailing edge), their rounded tips
// at v = 0, under two rows of small coverts along the leading edge (v near 1). Light greys rather
// than white: the wing is lit at twice its colour and a sky reflection is added on top, so the
// feather lines survive only in the darker half.
float feather(float u, float v) {
    auto ramp = [](float a, float b, float x) { return std::clamp((x - a) / (b - a), 0.0f, 1.0f); };
    // A long feather: x runs across it, its shaft a little before the middle; the next feather
    // overlaps its far edge.
    const float x = u * 4.0f + 0.06f * v - std::floor(u * 4.0f + 0.06f * v);
    const float fromShaft = std::fabs(x - 0.42f);
    const float tip = 0.015f + 0.09f * (2.0f * x - 1.0f) * (2.0f * x - 1.0f);
    float shade = v < tip ? 0.35f : 1.0f;
    shade *=
        0.88f + 0.12f * std::sin(2.0f * std::numbers::pi_v<float> * (v * 40.0f + fromShaft * 20.0f)); // barbs
    shade *= fromShaft < 0.012f ? 0.62f : 1.0f;
    shade *= 1.0f - 0.4f * ramp(0.78f, 1.0f, x) + 0.08f * (1.0f - ramp(0.0f, 0.12f, x));
    // Two staggered rows of coverts over the feathers' roots, tips pointing back.
    for (int row = 0; row < 2; ++row) {
        const float top = 0.66f + 0.13f * float(row);
        if (v < top) break;
        const float cx = u * 10.0f + 0.5f * float(row) - std::floor(u * 10.0f + 0.5f * float(row));
        const float cy = (v - top) / 0.2f;
        if (cy > 0.22f * (2.0f * cx - 1.0f) * (2.0f * cx - 1.0f)) {
            shade = 0.9f + 0.1f * std::sin(2.0f * std::numbers::pi_v<float> *
                                           (cy * 9.0f + std::fabs(cx - 0.5f) * 6.0f));
            shade *= 1.0f - 0.3f * ramp(0.75f, 1.0f, cx) - 0.25f * (1.0f - ramp(0.0f, 0.15f, cy));
        }
    }
    return shade;
}

Image valko(const TextureKit&, int s) {
    // The last rows fade into the row before the tips, so the picture still tiles top to bottom.
    const Field shade = generateField(s, s, [](float u, float v) {
        const float t = std::clamp((v - 0.92f) / 0.08f, 0.0f, 1.0f);
        return (1.0f - t) * feather(u, v) + t * feather(u, v - 1.0f);
    });
    Image img =
        colourRamp(shade, {{0.2f, hexRgb(0x2c2a2a)}, {0.6f, hexRgb(0x78767a)}, {1.0f, hexRgb(0xaeadb2)}});
    // A little unevenness, so the repeats do not show.
    return modulate(img, around1(fbm(s, s, {4, 4, 5, 0.5f, 701}), 0.08f));
}

// Red fuzz: warped turbulence from dark red to orange.
Image punasuhero(const TextureKit&, int s) {
    const Field dx = fbm(s, s, {4, 4, 4, 0.5f, 802});
    const Field dy = fbm(s, s, {4, 4, 4, 0.5f, 803});
    const Field fuzz = warp(turbulence(s, s, {5, 5, 6, 0.55f, 801}), dx, dy, 0.06f);
    Image img = colourRamp(fuzz, {{0.0f, hexRgb(0x2a0404)},
                                  {0.2f, hexRgb(0x7d0f0f)},
                                  {0.4f, hexRgb(0xc42a1c)},
                                  {0.7f, hexRgb(0xff7a4a)}});
    return modulate(img, around1(fbm(s, s, {64, 64, 2, 0.5f, 804}), 0.2f));
}

// Terrain seen from above: lakes, shores, meadows, forest, rock and snow, shaded by height.
Image maasto1(const TextureKit&, int s) {
    const Field height = normalize(fbm(s, s, {3, 3, 8, 0.52f, 901}));
    Image img = colourRamp(height, {{0.0f, hexRgb(0x14304e)},
                                    {0.34f, hexRgb(0x2f6486)},
                                    {0.38f, hexRgb(0xcbb88a)},
                                    {0.42f, hexRgb(0x6a9440)},
                                    {0.6f, hexRgb(0x2f5a2a)},
                                    {0.75f, hexRgb(0x6f665a)},
                                    {0.86f, hexRgb(0x8e857a)},
                                    {0.9f, hexRgb(0xf2f2f0)}});
    const Field land = mapField(height, [](float h) { return std::max(h, 0.36f); });
    return modulate(img, relief(land, 3.0f));
}

// Green grass in clumps.
Image vihermaa(const TextureKit&, int s) {
    const Field base = fbm(s, s, {6, 6, 6, 0.55f, 1001});
    Image img =
        colourRamp(base, {{-0.5f, hexRgb(0x1c3810)}, {0.0f, hexRgb(0x3f6e20)}, {0.5f, hexRgb(0x8db240)}});
    const Field blades = noise(s, s, {s / 4, s / 16, 1, 0.5f, 1002});
    img = modulate(img, around1(blades, 0.25f));
    const CellFields clumps = worley(s, s, {20, 20, 1.0f, 1003});
    return modulate(img, mapField(clumps.f1, [](float d) { return 1.15f - 0.35f * d; }));
}

// Paper pulp: off-white with crossing fibres and flecks.
Image paperimassa2(const TextureKit&, int s) {
    Image img =
        colourRamp(fbm(s, s, {8, 8, 5, 0.6f, 1101}), {{-0.5f, hexRgb(0xd6cfbf)}, {0.5f, hexRgb(0xf2ede2)}});
    // Fibres: thin ridges of noise stretched one way, then the other.
    const Field fibresA = levels(ridged(s, s, {8, 40, 2, 0.5f, 1102}), 0.85f, 1.0f, 2.0f);
    const Field fibresB = levels(ridged(s, s, {40, 8, 2, 0.5f, 1103}), 0.85f, 1.0f, 2.0f);
    const Field fibres = maximum(fibresA, fibresB);
    img = blend(img, flat(s, 0xfffcf4), BlendMode::normal, fibresA, 0.7f);
    img = blend(img, flat(s, 0xb8ad98), BlendMode::normal, fibresB, 0.5f);
    img = modulate(img, relief(blur(fibres, 1.0f), 0.4f));
    // Flecks of unpulped fibre.
    const CellFields flecks = worley(s, s, {24, 24, 1.0f, 1105});
    img = blend(img, flat(s, 0x8a7f6a), BlendMode::normal,
                multiply(smoothstep(flecks.id, 0.9f, 0.92f), smoothstep(flecks.f1, 0.12f, 0.06f)), 0.6f);
    return modulate(img, around1(noise(s, s, {s / 2, s / 2, 1, 0.5f, 1104}), 0.05f));
}

// Pink-grey rock: warped ridges with feldspar grains.
Image prock(const TextureKit&, int s) {
    const Field dx = fbm(s, s, {3, 3, 4, 0.5f, 1203});
    const Field dy = fbm(s, s, {3, 3, 4, 0.5f, 1204});
    const Field rock = warp(ridged(s, s, {4, 4, 7, 0.5f, 1201}), dx, dy, 0.06f);
    Image img =
        colourRamp(rock, {{0.25f, hexRgb(0x4a3c3a)}, {0.5f, hexRgb(0x8a706a)}, {0.75f, hexRgb(0xc4a8a0)}});
    const CellFields grains = worley(s, s, {40, 40, 1.0f, 1202});
    const Field feldspar = multiply(smoothstep(grains.id, 0.6f, 0.7f), smoothstep(grains.f1, 0.5f, 0.3f));
    img = blend(img, flat(s, 0xd0887c), BlendMode::multiply, feldspar, 0.5f);
    return modulate(img, relief(rock, 1.2f));
}

// A light sprite: a bright core with soft rays on black.
Image bill1(const TextureKit&, int s) {
    Image img = flat(s, 0x000000);
    img = addLight(img, radialGlow(s, s, 0.5f, 0.5f, 0.5f, 3.0f), 0xffc880, 0.8f);
    img = addLight(img, starburst(s, s, 6, 24.0f, 0.5f), 0xfff0d8, 0.7f);
    return addLight(img, radialGlow(s, s, 0.5f, 0.5f, 0.08f, 0.7f), 0xffffff, 1.2f);
}

// Text. Credit lines: light text on pure black, drawn as additive sprites.
Image credits(const TextureKit& kit, int s, const char* role1, const char* name1, const char* role2,
              const char* name2) {
    Field ink(s, s);
    // The roles in bold too: thin strokes smear away when the sprites pile up slightly apart. The
    // lines sit low in the picture: the rows pass high in the frame.
    const int roleSize = s / 10;
    const int margin = s / 16;
    drawTextCentred(ink, kit.sansBold, role1, roleSize, s / 2, s * 31 / 100);
    drawTextCentred(ink, kit.sansBold, name1, fitPixelSize(kit.sansBold, name1, s - 2 * margin, s / 6), s / 2,
                    s * 47 / 100);
    drawTextCentred(ink, kit.sansBold, role2, roleSize, s / 2, s * 67 / 100);
    drawTextCentred(ink, kit.sansBold, name2, fitPixelSize(kit.sansBold, name2, s - 2 * margin, s / 6), s / 2,
                    s * 83 / 100);
    // A faint halo makes the letters glow when the sprites pile up.
    const Field glow = maximum(ink, mapField(blur(ink, float(s) / 160.0f), [](float g) { return 0.5f * g; }));
    return colourRamp(glow, {{0.0f, hexRgb(0x000000)}, {1.0f, hexRgb(0xfff4e6)}});
}

Image credpe(const TextureKit& kit, int s) {
    return credits(kit, s, "code & effects", "QUILLMOTH", "models", "BRASSLOOP");
}
Image credko(const TextureKit& kit, int s) {
    return credits(kit, s, "music", "VANTABLIP", "textures", "TINDERWICK");
}

// Latin-1 glyph atlas, 16 x 16 cells, white on black.
Image font1(const TextureKit& kit, int s) { return toImage(glyphAtlas(kit.mono, s, 16, 0)); }

Image black(const TextureKit&, int s) { return flat(s, 0x000000); }

constexpr JpegOptions kPhoto{90, false};
// Text and hard black: full chroma and a higher quality keep edges clean and black at 0.
constexpr JpegOptions kCrisp{95, true};

// In the load order of the demo.
const TextureRecipe kRecipes[] = {
    {"matosini", kSurfaceSize, kPhoto, matosini},
    {"paperimassa2", kSpareSize, kPhoto, paperimassa2},
    {"vihermaa", kSpareSize, kPhoto, vihermaa},
    {"kivio", kSurfaceSize, kPhoto, kivio},
    {"kivio_sumea2", kSurfaceSize, kPhoto, kivio_sumea2},
    {"prock", kSpareSize, kPhoto, prock},
    {"sphere2", kSpareSize, kPhoto, sphere2},
    {"env1bw", kSpareSize, kPhoto, env1bw},
    {"env1b", kSpareSize, kPhoto, env1b},
    {"env1grey", kSpareSize, kPhoto, env1grey},
    {"bill1", kSpareSize, kCrisp, bill1},
    {"kallioEnv", kSpareSize, kPhoto, kallioEnv},
    {"black", kCubeFaceSize, kCrisp, black},
    {"env1gr", kCubeFaceSize, kPhoto, env1gr},
    {"env1orbi", kCubeFaceSize, kPhoto, env1orbi},
    {"env1pubi", kCubeFaceSize, kPhoto, env1pubi},
    {"soraBvaritettu", kSurfaceSize, kPhoto, soraBvaritettu},
    {"kivisementtiBBkontrasti", kSurfaceSize, kPhoto, kivisementtiBBkontrasti},
    {"kivisementtiBBsumea", kSurfaceSize, kPhoto, kivisementtiBBsumea},
    {"kivisementtiBBSaad", kSurfaceSize, kPhoto, kivisementtiBBSaad},
    {"kivisementtiBBSaadsumea2", kSurfaceSize, kPhoto, kivisementtiBBSaadsumea2},
    {"kivisementtiBB", kSurfaceSize, kPhoto, kivisementtiBB},
    {"haaleapunaviiva", kSurfaceSize, kCrisp, haaleapunaviiva},
    {"punasuhero", kSpareSize, kPhoto, punasuhero},
    {"valko", kSurfaceSize, kPhoto, valko},
    {"credpe", kSurfaceSize, kCrisp, credpe},
    {"credko", kSurfaceSize, kCrisp, credko},
    {"tummet", kSurfaceSize, kPhoto, tummet},
    {"maasto1", kSpareSize, kPhoto, maasto1},
    {"font1", kSurfaceSize, kCrisp, font1},
};

} // namespace

bool openTextureKit(TextureKit& kit) {
    const std::string dir = ASSETGEN_FONT_DIR;
    return kit.sans.open(dir + "/DejaVuSans.ttf") && kit.sansBold.open(dir + "/DejaVuSans-Bold.ttf") &&
           kit.mono.open(dir + "/DejaVuSansMono.ttf");
}

std::span<const TextureRecipe> textureRecipes() { return kRecipes; }

std::string texturePath(const TextureRecipe& recipe) { return std::string("Images/") + recipe.name + ".jpg"; }

bool writeTextures(const std::filesystem::path& dataDir) {
    TextureKit kit;
    if (!openTextureKit(kit)) return false;
    std::error_code ec;
    std::filesystem::create_directories(dataDir / "Images", ec);
    if (ec) {
        std::fprintf(stderr, "assetgen: cannot create %s: %s\n", (dataDir / "Images").c_str(),
                     ec.message().c_str());
        return false;
    }
    for (const TextureRecipe& recipe : kRecipes)
        if (!writeJpeg(recipe.paint(kit, recipe.size), dataDir / texturePath(recipe), recipe.jpeg))
            return false;
    return true;
}
