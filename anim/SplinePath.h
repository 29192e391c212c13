#pragma once
// A smooth path through control points: one cubic Bezier segment per pair of neighbouring points,
// with inner handles from central-difference tangents. Paths are built once at start-up, can be
// measured and resampled to near-equal arc-length spacing, and are then traversed at a constant
// speed in world units per second every frame.
//
// The parameter t covers the whole path over [0, 1): control point i sits at i / count on a
// closed path and at i / (count - 1) on an open one. A closed path wraps any t (negative ones
// too) onto [0, 1); an open path clamps t to [0, 1], so it ends at its last point.
//
// Order of use: construct, addPoint every point, build, then evaluate / advance / peek /
// planResample / resampleInto.

#include "math/Vec.h"

#include <vector>

struct SplinePath {
    std::vector<Vec3> points;   // capacity elements, zeroed
    std::vector<Vec3> tangents; // one per control point, filled by build
    bool closed = false;        // the last point joins the first
    int capacity = 0;
    int count = 0;
    // Bezier control points of the segment last evaluated.
    Vec3 segP0, segP1, segP2, segP3;
    float travel = 0.0f;      // parameter reached by advance; grows without bound on a looping path
    float totalLength = 0.0f; // arc length measured by build
    float tangentLength = 0.0f;
    bool normalizeTangents = false;
    int resampleCount = 0; // chosen by planResample
    bool loops = false;    // advance wraps instead of stopping at the end

    SplinePath() = default;
    SplinePath(int capacity, bool closed);

    // Ignored once the path is full.
    void addPoint(float x, float y, float z);
    // Tangents (all of length tangentLength when normalize is set) and arc length; resets travel.
    void build(float tangentLength, bool normalize);

    // Per-frame operations: no allocation.
    Vec3& evaluate(Vec3& out, float t);
    // Moves travel on by speed * dt * 0.001 / totalLength (speed in units per second, dt in ms)
    // and writes the point there.
    Vec3& advance(Vec3& out, float speed, float dt);
    // The parameter advance would reach, without moving.
    float peek(float speed, float dt) const;

    // Start-up only: chooses resampleCount (a multiple of count); a second call keeps the first.
    void planResample();
    // Adds points at near-equal arc-length spacing to dst (capacity resampleCount) and builds it.
    void resampleInto(SplinePath& dst);
};

// planResample's rounding of an estimated sample count m: the next multiple of count above m.
int resampleCountFor(int m, int count);
