#include "support/RunProgram.h"

#include "support/TempPath.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace {

std::string slurp(const std::filesystem::path& p) {
    std::ifstream in(p);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

} // namespace

RunResult runProgram(const std::string& args, const std::string& workDir, int timeLimitSeconds) {
    return runProgramAt(CASTRELLE_TEST_BINARY, args, workDir, timeLimitSeconds);
}

RunResult runProgramAt(const std::string& program, const std::string& args, const std::string& workDir,
                       int timeLimitSeconds) {
    const auto out = testTempPath("program_out.txt"), err = testTempPath("program_err.txt");
    const std::string cmd =
        "cd '" + workDir + "' && env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=offscreen " +
        "SDL_AUDIODRIVER=dummy timeout " + std::to_string(timeLimitSeconds) + " '" + program +
        "' " + args + " >'" + out.string() + "' 2>'" + err.string() + "'";
    const int raw = std::system(cmd.c_str());
    RunResult r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = slurp(out);
    r.err = slurp(err);
    return r;
}

std::string shellOutput(const std::string& command) {
    std::string result;
    FILE* p = popen(command.c_str(), "r");
    if (!p) return result;
    char buf[4096];
    size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) result.append(buf, n);
    pclose(p);
    return result;
}

std::string freshTempDir(const std::string& name) {
    const auto dir = testTempPath(name);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir.string();
}

std::string dataDir() { return CASTRELLE_TEST_DATA_DIR; }
