#pragma once
// One offscreen GL context shared by every GL test of the process (Mesa, no display needed).
// Tests that use it start from a known state: call resetGlState() in SetUp.

#include <gtest/gtest.h>

// Makes the shared 800 x 600 offscreen context current, creating it on first use.
// Fails the calling test (fatally) when no context can be had.
void requireGlContext();

// Puts back the state the tests assume: identity matrices, full viewport, no blending,
// depth test and texturing off, texture environment GL_MODULATE, clear colour black, and the
// reference render path.
void resetGlState();

// Fixture for GL tests: gives each test a current context and a reset state.
class GlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        requireGlContext();
        resetGlState();
    }
};
