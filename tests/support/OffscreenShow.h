#pragma once
// The whole show loaded as a capture loads it, on an offscreen context of its own, for tests that
// drive the shell frame by frame.

#include "app/Shell.h"
#include "render/Renderer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

class OffscreenShowTest : public ::testing::Test {
  protected:
    explicit OffscreenShowTest(int frameSize, Renderer renderer = Renderer::Fixed);
    void SetUp() override;
    void TearDown() override;

    // The frame the director left, as RGB rows from the bottom.
    const std::vector<unsigned char>& readFrame();

    Shell shell;

  private:
    Renderer renderer_;
    std::filesystem::path previous_;
    std::vector<unsigned char> pixels_;
};
