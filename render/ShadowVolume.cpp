#include "render/ShadowVolume.h"

#include "render/Backends.h"

void drawShadowVolume(Model& model, int mesh) { backend().shadow->drawShadowVolume(model, mesh); }

void blackenShadowed() { backend().shadow->blackenShadowed(); }
