#include "anim/Random.h"

namespace {

RandomGenerator sharedGenerator;

} // namespace

void seedRandom(std::uint32_t seed) { sharedGenerator.seed(seed); }

int drawRandom() { return sharedGenerator.draw(); }

float drawRandomFraction() { return static_cast<float>(drawRandom()) / kRandomRange; }

RandomGenerator savedRandom() { return sharedGenerator; }

void restoreRandom(const RandomGenerator& saved) { sharedGenerator = saved; }
