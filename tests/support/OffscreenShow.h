#pragma once
// The whole show loaded as a capture loads it, on an offscreen context of its own, for tests that
// drive the shell frame by frame.

#include "app/Shell.h"
#include "support/Renderers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

class OffscreenShowTest : public ::testing::Test {
  protected:
    explicit OffscreenShowTest(int frameSize, const RenderBackend& renderer = fixedRenderer());
    void SetUp() override;
    void TearDown() override;

    // The frame the director left, as RGB rows from the bottom.
    const std::vector<unsigned char>& readFrame();

    Shell shell;

  private:
    const RenderBackend& renderer_;
    std::filesystem::path previous_;
    std::vector<unsigned char> pixels_;
};
