#include "app/LoadAll.h"

#include "render/TextureNames.h"

#include <algorithm>

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
    {1, 10, "Images/matosini.jpg", {}},
    {1, 11, "Images/paperimassa2.jpg", {}},
    {1, 12, "Images/vihermaa.jpg", {}},
    {1, 13, "Images/kivio.jpg", {}},
    {1, 32, "Images/kivio_sumea2.jpg", {}},
    {1, 14, "Images/prock.jpg", {}},
    {2, 15, "Images/sphere2.jpg", {}},
    {2, 16, "Images/env1bw.jpg", {}},
    {2, 17, "Images/env1b.jpg", {}},
    {2, 18, "Images/env1grey.jpg", {}},
    {2, 19, "Images/bill1.jpg", {}},
    {2, 20, "Images/kallioEnv.jpg", {}},
    {3, 21, nullptr, {kBlack, kBlack, kBlack, kBlack, kEnvGr, kBlack}},
    {4, 35, nullptr, {kBlack, kBlack, kBlack, kBlack, "Images/env1orbi.jpg", kBlack}},
    {5, 22, nullptr, {kEnvGr, kEnvGr, kEnvGr, kEnvGr, kEnvGr, kBlack}},
    {6, 43, nullptr, {kBlack, kBlack, kBlack, kBlack, kEnvPubi, kBlack}},
    {7, 36, nullptr, {kEnvPubi, kEnvPubi, kEnvPubi, kEnvPubi, kEnvPubi, kBlack}},
    {8, 23, "Images/soraBvaritettu.jpg", {}},
    {8, 24, "Images/kivisementtiBBkontrasti.jpg", {}},
    {8, 25, "Images/kivisementtiBBsumea.jpg", {}},
    {8, 28, "Images/kivisementtiBBSaad.jpg", {}},
    {8, 30, "Images/kivisementtiBBSaadsumea2.jpg", {}},
    {9, 31, "Images/kivisementtiBB.jpg", {}},
    {9, 34, "Images/haaleapunaviiva.jpg", {}},
    {9, 37, "Images/punasuhero.jpg", {}},
    {9, 39, "Images/valko.jpg", {}},
    {9, 40, "Images/credpe.jpg", {}},
    {9, 41, "Images/credko.jpg", {}},
    {10, 42, "Images/tummet.jpg", {}},
    {10, 45, "Images/env1pubi.jpg", {}},
    {10, 44, "Images/maasto1.jpg", {}},
    {10, 46, "Images/font1.jpg", {}},
};
constexpr int kGroupWithTwoBars = 6;

void loadSlot(TextureBank& bank, const SlotLoad& load) {
    if (load.file) {
        bank.loadTexture(load.file, load.slot);
        return;
    }
    for (int face = 0; face < 6; ++face) bank.loadCubeFace(load.faces[face], load.slot, face);
}

void warmUp(const SceneCalls& scenes, SceneId id) {
    auto render = [&](int arg, float fade) { scenes.render(scenes.context, id, 1, arg, fade); };
    switch (id) {
    case SceneId::Title:
        render(0, 0.0f);
        for (int part = 0; part < 4; ++part) render(part, 0.01f);
        break;
    case SceneId::Kukkeli:
        render(0, 0.0f);
        render(1, 0.0f);
        break;
    default:
        render(0, 0.0f);
        break;
    }
}

// The star ball, the cave and the closing scene share the wide effect buffers.
bool usesWideEffects(SceneId id) {
    return id == SceneId::StarBall || id == SceneId::Cave || id == SceneId::Closing;
}

} // namespace

std::vector<std::string> showTextureFiles() {
    std::vector<std::string> files;
    auto add = [&files](const char* file) {
        if (std::find(files.begin(), files.end(), file) == files.end()) files.emplace_back(file);
    };
    for (const SlotLoad& load : kSlots) {
        if (load.file)
            add(load.file);
        else
            for (const char* face : load.faces) add(face);
    }
    return files;
}

void loadAll(ShowResources& show, const SceneCalls& scenes, const LoadSizes& sizes, BarStep bar) {
    reserveTextureNames(kReservedTextureNames);
    show.directorEnvelope = Envelope();
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
        const SceneId id = static_cast<SceneId>(i);
        if (!scenes.isAvailable(id)) continue;
        scenes.attach(scenes.context, id, usesWideEffects(id) ? show.wideSceneEffects : show.sceneEffects);
        scenes.setup(scenes.context, id, sizes.frameWidth, sizes.frameHeight, sizes.effectWidth,
                     sizes.effectHeight);
        warmUp(scenes, id);
        bar();
    }
}
