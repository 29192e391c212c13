#include "app/LoadAll.h"

#include "assets/TextureSlots.h"
#include "render/TextureUpload.h"
#include "scenes/SceneRegistry.h"

namespace {

// One texture slot: a 2D picture, or a cube map whose six faces (+X, -X, +Y, -Y, +Z, -Z) are
// separate loads.
struct SlotLoad {
    int group;
    int slot;
    const char* file; // 2D texture, or null for a cube
    const char* faces[6];
};

constexpr const char* kBlack = "Images/black.jpg";
constexpr const char* kEnvGr = "Images/env1gr.jpg";
constexpr const char* kEnvPubi = "Images/env1pubi.jpg";

// The reflection cubes show their picture on the +Z face (or on five faces) and black elsewhere.
constexpr SlotLoad kSlots[] = {
    {1, TextureSlot::Matosini, "Images/matosini.jpg", {}},
    {1, TextureSlot::Paperimassa2, "Images/paperimassa2.jpg", {}},
    {1, TextureSlot::Vihermaa, "Images/vihermaa.jpg", {}},
    {1, TextureSlot::Kivio, "Images/kivio.jpg", {}},
    {1, TextureSlot::KivioSumea2, "Images/kivio_sumea2.jpg", {}},
    {1, TextureSlot::Prock, "Images/prock.jpg", {}},
    {2, TextureSlot::Sphere2, "Images/sphere2.jpg", {}},
    {2, TextureSlot::Env1bw, "Images/env1bw.jpg", {}},
    {2, TextureSlot::Env1b, "Images/env1b.jpg", {}},
    {2, TextureSlot::Env1grey, "Images/env1grey.jpg", {}},
    {2, TextureSlot::Bill1, "Images/bill1.jpg", {}},
    {2, TextureSlot::KallioEnv, "Images/kallioEnv.jpg", {}},
    {3, TextureSlot::CubeEnv1gr, nullptr, {kBlack, kBlack, kBlack, kBlack, kEnvGr, kBlack}},
    {4, TextureSlot::CubeEnv1orbi, nullptr, {kBlack, kBlack, kBlack, kBlack, "Images/env1orbi.jpg", kBlack}},
    {5, TextureSlot::CubeEnv1grRing, nullptr, {kEnvGr, kEnvGr, kEnvGr, kEnvGr, kEnvGr, kBlack}},
    {6, TextureSlot::CubeEnv1pubi, nullptr, {kBlack, kBlack, kBlack, kBlack, kEnvPubi, kBlack}},
    {7, TextureSlot::CubeEnv1pubiRing, nullptr, {kEnvPubi, kEnvPubi, kEnvPubi, kEnvPubi, kEnvPubi, kBlack}},
    {8, TextureSlot::SoraBvaritettu, "Images/soraBvaritettu.jpg", {}},
    {8, TextureSlot::KivisementtiBBkontrasti, "Images/kivisementtiBBkontrasti.jpg", {}},
    {8, TextureSlot::KivisementtiBBsumea, "Images/kivisementtiBBsumea.jpg", {}},
    {8, TextureSlot::KivisementtiBBSaad, "Images/kivisementtiBBSaad.jpg", {}},
    {8, TextureSlot::KivisementtiBBSaadsumea2, "Images/kivisementtiBBSaadsumea2.jpg", {}},
    {9, TextureSlot::KivisementtiBB, "Images/kivisementtiBB.jpg", {}},
    {9, TextureSlot::Haaleapunaviiva, "Images/haaleapunaviiva.jpg", {}},
    {9, TextureSlot::Punasuhero, "Images/punasuhero.jpg", {}},
    {9, TextureSlot::Valko, "Images/valko.jpg", {}},
    {9, TextureSlot::Credpe, "Images/credpe.jpg", {}},
    {9, TextureSlot::Credko, "Images/credko.jpg", {}},
    {10, TextureSlot::Tummet, "Images/tummet.jpg", {}},
    {10, TextureSlot::Env1pubi, "Images/env1pubi.jpg", {}},
    {10, TextureSlot::Maasto1, "Images/maasto1.jpg", {}},
    {10, TextureSlot::Font1, "Images/font1.jpg", {}},
};
constexpr int kGroupWithTwoBars = 6;

void loadSlot(TextureBank& bank, const SlotLoad& load) {
    if (load.file) {
        loadTexture(bank, load.file, load.slot);
        return;
    }
    for (int face = 0; face < 6; ++face) loadCubeFace(bank, load.faces[face], load.slot, face);
}

// The effect buffers a module shares.
EffectBuffers& effectsOf(ShowResources& show, const SceneInfo& row) {
    return row.effects == EffectSet::WideScene ? show.wideSceneEffects : show.sceneEffects;
}

} // namespace

LoadSizes loadSizesFor(int frameSize) {
    LoadSizes sizes;
    sizes.frameWidth = sizes.frameHeight = frameSize;
    sizes.effectWidth = frameSize / 2;
    sizes.effectHeight = frameSize / 4;
    return sizes;
}

void loadAll(ShowResources& show, const SceneCalls& scenes, const LoadSizes& sizes, BarStep bar) {
    reserveTextureNames(kReservedTextureNames);
    show.directorEffects =
        EffectBuffers(sizes.frameWidth, sizes.frameHeight, sizes.effectWidth, sizes.effectHeight);
    show.sceneEffects =
        EffectBuffers(sizes.frameWidth, sizes.frameHeight, sizes.effectWidth, sizes.effectHeight);
    show.wideSceneEffects =
        EffectBuffers(sizes.frameWidth, sizes.frameHeight, 2 * sizes.effectWidth, 2 * sizes.effectHeight);
    bar();

    int group = kSlots[0].group;
    for (const SlotLoad& load : kSlots) {
        if (load.group != group) {
            bar();
            if (group == kGroupWithTwoBars) bar();
            group = load.group;
        }
        loadSlot(show.textureBank, load);
    }
    bar();

    for (int i = 0; i < kSceneCount; ++i) {
        const SceneInfo& row = sceneInfo(static_cast<SceneId>(i));
        if (!scenes.isAvailable(row.id)) continue;
        EffectBuffers& effects = effectsOf(show, row);
        scenes.attach(scenes.context, row.id, effects);
        // A module draws its glows at the small size of the buffers it shares.
        scenes.setup(scenes.context, row.id, sizes.frameWidth, sizes.frameHeight, effects.smallWidth,
                     effects.smallHeight);
        for (int k = 0; k < row.warmUps.count; ++k)
            scenes.render(scenes.context, row.id, 1, row.warmUps.args[k]);
        bar();
    }
}

void resizeAll(ShowResources& show, const SceneCalls& scenes, const LoadSizes& sizes,
               TextureResampler& resampler) {
    const int w = sizes.frameWidth, h = sizes.frameHeight;
    show.directorEffects.resize(w, h, sizes.effectWidth, sizes.effectHeight, resampler);
    show.sceneEffects.resize(w, h, sizes.effectWidth, sizes.effectHeight, resampler);
    show.wideSceneEffects.resize(w, h, 2 * sizes.effectWidth, 2 * sizes.effectHeight, resampler);
    resizeScenes(show, scenes, sizes);
}

void resizeScenes(ShowResources& show, const SceneCalls& scenes, const LoadSizes& sizes) {
    for (int i = 0; i < kSceneCount; ++i) {
        const SceneInfo& row = sceneInfo(static_cast<SceneId>(i));
        if (!scenes.isAvailable(row.id) || !scenes.resize) continue;
        const EffectBuffers& effects = effectsOf(show, row);
        scenes.resize(scenes.context, row.id, sizes.frameWidth, sizes.frameHeight, effects.smallWidth,
                      effects.smallHeight);
    }
}
