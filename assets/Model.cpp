#include "assets/Model.h"

#include <algorithm>

Model::Model(int capacity_, int screenWidth_, int screenHeight_, int effectWidth_, int effectHeight_)
    : screenWidth(screenWidth_), screenHeight(screenHeight_), effectWidth(effectWidth_),
      effectHeight(effectHeight_), capacity(std::max(capacity_, 0)) {
    objects.resize(static_cast<std::size_t>(capacity));
}

void Model::setPosition(int index, Vec3 v) {
    MeshObject& o = mesh(index);
    o.translation.set(v.x, v.y, v.z);
    o.matrix[12] = v.x;
    o.matrix[13] = v.y;
    o.matrix[14] = v.z;
}

void Model::resetWorkPositions(int index) {
    MeshObject& o = mesh(index);
    o.prepareWorkBuffers();
    const std::size_t n = std::min(o.positions.size(), o.workPositions.size());
    std::copy_n(o.positions.begin(), n, o.workPositions.begin());
}
