#pragma once
// The loading sequence of the start-up: the objects that live for the whole run, every texture
// slot, and the set-up and warm-up of every scene module, with a loading-bar step between groups.

#include "assets/TextureBank.h"
#include "post/EffectBuffers.h"
#include "scenes/SceneCalls.h"

// Everything loadAll creates; owned by the program for the whole run.
struct ShowResources {
    EffectBuffers directorEffects;  // full 512 x 512, small 256 x 128
    EffectBuffers sceneEffects;     // shared by the title, swarm, Hipu, duck and Potko scenes
    EffectBuffers wideSceneEffects; // small size twice the effect size: star ball, cave, closing
    TextureBank textureBank;
};

struct LoadSizes {
    int frameWidth = 512;
    int frameHeight = 512;
    int effectWidth = 256;
    int effectHeight = 128;
    int windowWidth = 800; // of the loading bar
    int windowHeight = 600;
};

// The sizes for a square frame of this size: the effect copies half its width and a quarter of
// its height.
LoadSizes loadSizesFor(int frameSize);

// Called for each of the loading bar's steps (draw it, show it).
struct BarStep {
    void* context = nullptr;
    void (*step)(void* context) = nullptr;
    void operator()() const { step(context); }
};

// How many texture names are reserved before anything else is created, so that names the
// program generates later never fall on the fixed slots 10 to 46.
inline constexpr int kReservedTextureNames = 50;

void loadAll(ShowResources& show, const SceneCalls& scenes, const LoadSizes& sizes, BarStep bar);

// Gives the effect buffers and every set-up module the sizes of a new frame mid-show; the effect
// copies keep their pictures, resampled (EffectBuffers::resize).
class TextureResampler;
void resizeAll(ShowResources& show, const SceneCalls& scenes, const LoadSizes& sizes,
               TextureResampler& resampler);
// Only the modules: they draw at the frame size given and the small size of their effect buffers.
void resizeScenes(ShowResources& show, const SceneCalls& scenes, const LoadSizes& sizes);
