#include "platform/VideoEncoder.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

bool VideoEncoder::start(const VideoDesc& desc) {
    char size[32], rate[32], startSeconds[32];
    std::snprintf(size, sizeof size, "%dx%d", desc.width, desc.height);
    std::snprintf(rate, sizeof rate, "%d/%d", desc.fpsNum, desc.fpsDen);
    std::snprintf(startSeconds, sizeof startSeconds, "%.3f", desc.audioStartMs * 0.001);
    std::vector<std::string> args = {"ffmpeg", "-hide_banner", "-loglevel", "error", "-nostdin", "-y",
                                     "-f",     "rawvideo",     "-pix_fmt",  "rgb24", "-s",       size,
                                     "-r",     rate,           "-i",        "-"};
    if (!desc.audioPath.empty()) {
        // The soundtrack from the capture's start, padded with silence so that the video, never
        // the sound, decides where the file ends.
        args.insert(args.end(), {"-ss", startSeconds, "-i", desc.audioPath, "-map", "0:v", "-map", "1:a",
                                 "-af", "apad", "-c:a", "aac", "-b:a", "192k", "-shortest"});
    }
    args.insert(args.end(), {"-c:v", "libx264", "-preset", "veryfast", "-crf", "18", "-pix_fmt", "yuv420p",
                             "-movflags", "+faststart", desc.path});

    int fds[2] = {-1, -1};
    if (pipe(fds) != 0) return false;
    logPath_ = desc.path + ".ffmpeg.log";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[0], 0);
    posix_spawn_file_actions_addclose(&actions, fds[1]);
    posix_spawn_file_actions_addopen(&actions, 2, logPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    // Its own process group: Ctrl-C on the terminal stops us, and we then close the stream so
    // ffmpeg finishes a playable file instead of dying half-way.
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attr, 0);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int rc = posix_spawnp(&pid, "ffmpeg", &actions, &attr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    close(fds[0]);
    if (rc != 0) {
        close(fds[1]);
        unlink(logPath_.c_str());
        std::fprintf(stderr, "castrelle: cannot run ffmpeg (%s); install the ffmpeg package\n", strerror(rc));
        return false;
    }
    std::signal(SIGPIPE, SIG_IGN); // a dead encoder shows up as a failed write instead
    pid_ = pid;
    pipe_ = fds[1];
    frameBytes_ = static_cast<size_t>(desc.width) * desc.height * 3;
    return true;
}

bool VideoEncoder::write(const uint8_t* rgb) {
    size_t done = 0;
    while (done < frameBytes_) {
        const ssize_t n = ::write(pipe_, rgb + done, frameBytes_ - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool VideoEncoder::finish() {
    if (pid_ < 0) return false;
    close(pipe_);
    pipe_ = -1;
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    const bool ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    struct stat log = {};
    const bool logSaysWhy = stat(logPath_.c_str(), &log) == 0 && log.st_size > 0;
    if (ok || !logSaysWhy) unlink(logPath_.c_str());
    if (!ok)
        std::fprintf(stderr, "castrelle: ffmpeg failed%s%s\n", logSaysWhy ? "; see " : "",
                     logSaysWhy ? logPath_.c_str() : "");
    return ok;
}
