#pragma once
// Temporary paths private to this test process: ctest runs tests in parallel processes, so
// fixed names in the shared temporary folder would race.

#include <filesystem>
#include <string>
#include <unistd.h>

inline std::filesystem::path testTempPath(const std::string& name) {
    return std::filesystem::temp_directory_path() / ("castrelle_" + std::to_string(getpid()) + "_" + name);
}
