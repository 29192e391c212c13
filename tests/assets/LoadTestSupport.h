#pragma once
// Shared helpers of the loader tests: temporary files and the start-up error they may report.

#include "assets/Model.h"
#include "platform/MessageBox.h"
#include "platform/Quit.h"

#include <gtest/gtest.h>

#include <string>
#include <unistd.h>
#include <vector>

#include "tests/assets/ThreeDsWriter.h"

// Private to this process: ctest runs the tests in parallel processes.
inline std::string tempPath(const std::string& name) {
    return ::testing::TempDir() + "castrelle_" + std::to_string(getpid()) + "_" + name;
}

// Writes bytes to a temporary file named name and loads it into model.
inline int loadBytes(Model& model, const std::vector<unsigned char>& bytes,
                     const std::string& name = "model.3ds") {
    const std::string path = tempPath(name);
    if (!threeds::save(path, bytes)) ADD_FAILURE() << "cannot write " << path;
    return model.load(path.c_str());
}

// Runs f and returns what it wrote to standard error.
template <typename F>
std::string stderrOf(F f) {
    ::testing::internal::CaptureStderr();
    f();
    return ::testing::internal::GetCapturedStderr();
}

// Clears the quit message and the start-up failure flag around each test.
class QuietStartup : public ::testing::Test {
  protected:
    void SetUp() override {
        setMessageBoxesInteractive(false);
        resetQuitState();
    }
    void TearDown() override { resetQuitState(); }
};
