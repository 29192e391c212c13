#pragma once
// Runs the castrelle program as a user would, on the offscreen video driver (no display needed)
// and with a time limit, so that a hang fails the test instead of blocking it.

#include <string>

struct RunResult {
    int status = -1; // exit status; 124 when the time limit ended it
    std::string out;
    std::string err;
};

// Runs castrelle with args (a shell-quoted string) in workDir.
RunResult runProgram(const std::string& args, const std::string& workDir = ".", int timeLimitSeconds = 60);
// The same with another copy of the program (one installed or moved elsewhere).
RunResult runProgramAt(const std::string& program, const std::string& args, const std::string& workDir = ".",
                       int timeLimitSeconds = 60);

// Runs a shell command and returns its standard output.
std::string shellOutput(const std::string& command);

// The data directory the build generated (Images/, Models/, Music/).
std::string dataDir();

// A fresh, empty temporary folder for one test.
std::string freshTempDir(const std::string& name);
