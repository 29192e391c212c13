#pragma once
// Every model file of the show: its name under Models/, the one object it holds and how it is
// built. Each file holds exactly one object, because the scenes address meshes by load order.

#include "mesh/Mesh.h"

#include <string>
#include <vector>

struct ModelEntry {
    std::string file;       // base name: Models/<file>.3ds
    std::string objectName; // at most 10 characters
    bool shadowCaster = false;
    std::size_t maxFaces = 0; // triangle budget of one copy
    Mesh (*build)() = nullptr;
};

const std::vector<ModelEntry>& modelCatalog();

// Recipes, grouped by where the models appear.
Mesh buildBackball();
Mesh buildPotkoBall();
Mesh buildDuckBall();
Mesh buildBackball2();
Mesh buildBigball();
Mesh buildBigballe();
Mesh buildBall();
Mesh buildBitball();
Mesh buildBlob();
Mesh buildCubeBall();

Mesh buildStar();
Mesh buildSwarmStar();
Mesh buildSickle();
Mesh buildRiser();
Mesh buildTowerElement();
Mesh buildFigure();

enum class TitleStyle { Plain, Second };
// width: the word's extent along x in file units.
Mesh buildTitleWord(const std::string& word, TitleStyle style, double width);
Mesh buildGreeting(int index);

Mesh buildTub();
Mesh buildDuck();
Mesh buildGlassSheet();
Mesh buildWing(bool left);
Mesh buildWingHandles(bool left);

Mesh buildCave();
Mesh buildLantern();

// The invented groups the cave greets, in file order greet1 ... greet5.
const std::vector<std::string>& greetedGroups();
