#pragma once
// The closed paths the scenes' lights tour (and the title's camera), as control points before
// they are resampled to an even pace.

#include "math/Vec.h"

// The title's camera and the duck's light.
inline constexpr Vec3 kRoomTour[] = {{-20, 10, 25}, {20, 7, 15},  {-20, 27, 25}, {30, 17, 25}, {-30, 15, 15},
                                     {20, -15, 25}, {-30, 12, 5}, {20, 21, 5},   {-14, 32, 25}};

// The star swarm's light and the Hipu scene's: the room tour with some of its points mirrored
// through the floor.
inline constexpr Vec3 kSwarmTour[] = {{-20, 10, -25}, {20, 7, 15},   {-20, 27, 25},
                                      {30, 17, -25},  {-30, 15, 15}, {20, -15, -25},
                                      {-30, 12, -5},  {20, 21, 5},   {-14, 32, 25}};
