#include "fuzz/FuzzTargets.h"
#include "fuzz/Seeds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

std::vector<seeds::Named> savedFindings(const char* folder) {
    std::vector<seeds::Named> out;
    const std::filesystem::path dir = std::filesystem::path(CASTRELLE_FUZZ_REGRESSIONS) / folder;
    if (!std::filesystem::is_directory(dir)) return out;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        std::ifstream in(entry.path(), std::ios::binary);
        out.push_back({entry.path().filename().string(),
                       std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {})});
    }
    return out;
}

// Each input, and its prefixes cut at steps of 7 bytes (at most 256 of them), goes through the entry
// function; a fault traps or is caught by the sanitizers of the fuzz build, here it shows as a crash.
template <typename Entry>
void replay(const std::vector<seeds::Named>& inputs, Entry entry) {
    ::testing::internal::CaptureStderr(); // refused inputs are reported there
    for (const auto& [name, bytes] : inputs) {
        SCOPED_TRACE(name);
        const std::size_t step = std::max<std::size_t>(7, bytes.size() / 256);
        for (std::size_t cut = 0; cut < bytes.size(); cut += step) entry(bytes.data(), cut);
        EXPECT_EQ(entry(bytes.data(), bytes.size()), 0);
    }
    ::testing::internal::GetCapturedStderr();
}

// Seeds and saved findings together: the seeds alone guarantee the replay is never empty.
std::vector<seeds::Named> withFindings(std::vector<seeds::Named> inputs, const char* folder) {
    for (auto& finding : savedFindings(folder)) inputs.push_back(std::move(finding));
    return inputs;
}

TEST(FuzzSeedReplay, ThreeDsSeedsFindingsAndTheirTruncationsLoadSafely) {
    const auto inputs = withFindings(seeds::threeDs(), "3ds");
    ASSERT_GE(inputs.size(), 5u);
    replay(inputs, fuzzLoad3ds);
}

TEST(FuzzSeedReplay, JpegSeedsFindingsAndTheirTruncationsDecodeSafely) {
    const auto inputs = withFindings(seeds::jpeg(), "jpeg");
    ASSERT_GE(inputs.size(), 6u);
    replay(inputs, fuzzDecodeJpeg);
}

} // namespace
