#pragma once
// The show's scene modules as the director and the loader name them, in loading order (the order
// of their set-ups decides what the shared random generator gives each). The scene registry has
// one row per id, in this order, and fails to compile when one is missing.

enum class SceneId {
    Title,
    Kukkeli,
    StarBall,
    Hipu,
    Duck,
    Cave,
    Potko,
    Closing,
    Count // not a scene: how many there are
};

inline constexpr int kSceneCount = static_cast<int>(SceneId::Count);

constexpr int indexOf(SceneId id) { return static_cast<int>(id); }
