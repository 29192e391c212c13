#pragma once
// The show's angles: its truncated pi, and radians turned into the degrees OpenGL takes.

// The truncated values the show's timing and motion were tuned with: they stand for pi and pi/2
// in the envelopes, angleOf, the streaks and the degree conversion.
inline constexpr float kShowPi = 3.14159f;
inline constexpr float kShowHalfPi = 1.570795f;
// The longer rounding, and its half and quarter, that some scenes' motion was tuned with.
inline constexpr float kScenePi = 3.141592f;
inline constexpr float kSceneHalfPi = 1.570796f;
inline constexpr float kSceneQuarterPi = 0.785398f;

// 180 / 3.14159 as the show converts, not 180 / pi; in double so the product rounds once.
inline constexpr double kDegreesPerRadian = 180.0 * 0.31831015504887655;

inline float degreesOf(float radians) { return static_cast<float>(radians * kDegreesPerRadian); }
