#pragma once
// The texture slots: fixed OpenGL texture names that the loading table binds its pictures to and
// the scenes draw with. Each is named after its picture; a cube map after the picture on its
// front (+Z) face, "Ring" where the picture is on every face but the back. Slots 26, 27, 29, 33
// and 38 are never loaded.

namespace TextureSlot {
enum : int {
    Matosini = 10,
    Paperimassa2 = 11,
    Vihermaa = 12,
    Kivio = 13,
    Prock = 14,
    Sphere2 = 15,
    Env1bw = 16,
    Env1b = 17,
    Env1grey = 18,
    Bill1 = 19,
    KallioEnv = 20,
    CubeEnv1gr = 21,
    CubeEnv1grRing = 22,
    SoraBvaritettu = 23,
    KivisementtiBBkontrasti = 24,
    KivisementtiBBsumea = 25,
    Unloaded27 = 27, // holds no picture: the duck scene's glass draws a grabbed frame instead
    KivisementtiBBSaad = 28,
    KivisementtiBBSaadsumea2 = 30,
    KivisementtiBB = 31,
    KivioSumea2 = 32,
    Haaleapunaviiva = 34,
    CubeEnv1orbi = 35,
    CubeEnv1pubiRing = 36,
    Punasuhero = 37,
    Valko = 39,
    Credpe = 40,
    Credko = 41,
    Tummet = 42,
    CubeEnv1pubi = 43,
    Maasto1 = 44,
    Env1pubi = 45,
    Font1 = 46,
};
} // namespace TextureSlot
