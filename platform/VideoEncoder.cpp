#include "platform/VideoEncoder.h"

#include "platform/Interrupt.h"
#include "platform/MusicStream.h"
#include "platform/Ticks.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <linux/close_range.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// After a signal, an ffmpeg that uses no processor time for this long is taken as stuck, and
// one that keeps working still gets no more than the second limit.
constexpr unsigned kStuckMs = 1000;
constexpr unsigned kFinishAfterSignalMs = 10000;
constexpr size_t kLogTail = 4096;
// Sound is read from the decoder in pieces of this many samples (93 ms).
constexpr int kSoundChunk = 4096;
// A little more sound than picture, so that the picture decides where the file ends (-shortest).
constexpr int64_t kSoundMargin = MusicStream::kSampleRate / 4;

// Processor time ffmpeg has used, in clock ticks; -1 when it cannot be read.
long cpuTicks(pid_t pid) {
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/stat", static_cast<int>(pid));
    std::FILE* f = std::fopen(path, "r");
    if (!f) return -1;
    char text[1024] = {};
    const size_t n = std::fread(text, 1, sizeof text - 1, f);
    std::fclose(f);
    text[n] = 0;
    // Fields after the command name (which may hold spaces): state is field 3, utime 14, stime 15.
    const char* rest = std::strrchr(text, ')');
    unsigned long user = 0, system = 0;
    if (!rest ||
        std::sscanf(rest + 1, " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &user, &system) != 2)
        return -1;
    return static_cast<long>(user + system);
}

// The last line of ffmpeg's log that says something ("Last message repeated" only counts).
std::string lastError(const std::string& log) {
    size_t end = log.size();
    while (end > 0) {
        const size_t newline = end > 1 ? log.rfind('\n', end - 2) : std::string::npos;
        const size_t begin = newline == std::string::npos ? 0 : newline + 1;
        std::string line = log.substr(begin, end - begin);
        line.erase(line.find_last_not_of("\r\n ") + 1);
        line.erase(0, line.find_first_not_of(' '));
        if (!line.empty() && line.rfind("Last message repeated", 0) != 0) return line;
        end = begin;
    }
    return {};
}

void closeFd(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
}

// Runs in the child between fork and exec: only async-signal-safe calls.
[[noreturn]] void execEncoder(char** argv, int videoIn, int audioIn, int logOut, int status, pid_t parent) {
    setpgid(0, 0); // Ctrl-C on the terminal reaches us, not ffmpeg: we end the file in order
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(127); // the program died before the line above
    // Copies above the standard numbers first, so no source is overwritten by another's dup2.
    const int v = fcntl(videoIn, F_DUPFD_CLOEXEC, 10);
    const int a = audioIn >= 0 ? fcntl(audioIn, F_DUPFD_CLOEXEC, 10) : -1;
    const int l = fcntl(logOut, F_DUPFD_CLOEXEC, 10);
    if (v < 0 || l < 0 || dup2(v, 0) < 0 || dup2(l, 2) < 0 || (a >= 0 && dup2(a, 3) < 0)) _exit(127);
    // Nothing else of ours stays open in ffmpeg (a pipe someone waits on to close, say); the
    // status pipe too closes only with the exec.
    close_range(a >= 0 ? 4 : 3, ~0U, CLOSE_RANGE_CLOEXEC);
    signal(SIGPIPE, SIG_DFL);
    execvp(argv[0], argv);
    const int error = errno;
    (void)!::write(status, &error, sizeof error);
    _exit(127);
}

} // namespace

bool VideoEncoder::start(const VideoDesc& desc) {
    char size[32], rate[32];
    std::snprintf(size, sizeof size, "%dx%d", desc.width, desc.height);
    std::snprintf(rate, sizeof rate, "%d/%d", desc.fpsNum, desc.fpsDen);
    // -xerror: a write that fails (a full disk) fails the run even where ffmpeg would go on.
    // The raw inputs need no probing, and probing the sound would wait for more of it than comes
    // beside the first frames, while the frames wait for ffmpeg: neither side would move.
    std::vector<std::string> args = {"ffmpeg",   "-hide_banner", "-loglevel",  "error",    "-xerror",
                                     "-nostdin", "-y",           "-probesize", "32",       "-analyzeduration",
                                     "0",        "-f",           "rawvideo",   "-pix_fmt", "rgb24",
                                     "-s",       size,           "-r",         rate,       "-i",
                                     "pipe:0"};
    const bool withSound = desc.soundtrack != nullptr;
    if (withSound)
        args.insert(args.end(),
                    {"-probesize", "32",   "-analyzeduration", "0",    "-f",  "s16le", "-ar", "44100", "-ac",
                     "2",          "-i",   "pipe:3",           "-map", "0:v", "-map",  "1:a", "-c:a",  "aac",
                     "-b:a",       "192k", "-shortest"});
    args.insert(args.end(), {"-c:v", "libx264", "-preset", "veryfast", "-crf", "18", "-pix_fmt", "yuv420p",
                             "-movflags", "+faststart", desc.path});
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    int video[2] = {-1, -1}, audio[2] = {-1, -1}, log[2] = {-1, -1}, status[2] = {-1, -1};
    bool piped = pipe2(video, O_CLOEXEC) == 0 && pipe2(log, O_CLOEXEC) == 0 && pipe2(status, O_CLOEXEC) == 0;
    if (piped && withSound) piped = pipe2(audio, O_CLOEXEC) == 0;
    const pid_t parent = getpid();
    const pid_t pid = piped ? fork() : -1;
    if (pid == 0) execEncoder(argv.data(), video[0], audio[0], log[1], status[1], parent);
    const int forkError = errno;
    for (int fd : {video[0], audio[0], log[1], status[1]})
        if (fd >= 0) close(fd);
    int execError = 0;
    if (pid > 0) {
        setpgid(pid, pid);
        // Nothing comes through the status pipe when exec succeeds: it closes with the exec.
        while (read(status[0], &execError, sizeof execError) < 0 && errno == EINTR) {
        }
    }
    if (status[0] >= 0) close(status[0]);
    if (pid <= 0 || execError != 0) {
        if (pid > 0) waitpid(pid, nullptr, 0);
        for (int fd : {video[1], audio[1], log[0]})
            if (fd >= 0) close(fd);
        if (pid > 0 && execError == ENOENT)
            std::fprintf(stderr, "castrelle: cannot run ffmpeg (not found); install the ffmpeg package\n");
        else
            std::fprintf(stderr, "castrelle: cannot run ffmpeg: %s\n",
                         std::strerror(pid > 0 ? execError : forkError));
        return false;
    }
    std::signal(SIGPIPE, SIG_IGN); // a dead encoder shows up as a failed write instead
    pid_ = pid;
    video_ = video[1];
    audio_ = audio[1];
    log_ = log[0];
    for (int fd : {video_, audio_, log_})
        if (fd >= 0) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    frameBytes_ = static_cast<size_t>(desc.width) * desc.height * 3;
    fpsNum_ = desc.fpsNum;
    fpsDen_ = desc.fpsDen;
    frames_ = 0;
    logTail_.clear();
    soundtrack_ = desc.soundtrack;
    soundLimit_ = desc.soundSamples + kSoundMargin;
    soundRead_ = 0;
    sound_.assign(2 * static_cast<size_t>(kSoundChunk), 0);
    soundSent_ = soundBytes_ = 0;
    return true;
}

void VideoEncoder::readLog() {
    char buffer[4096];
    while (log_ >= 0) {
        const ssize_t n = read(log_, buffer, sizeof buffer);
        if (n > 0) {
            logTail_.append(buffer, static_cast<size_t>(n));
            if (logTail_.size() > kLogTail) logTail_.erase(0, logTail_.size() - kLogTail);
        } else if (n == 0) {
            closeFd(log_); // ffmpeg has closed it: it is ending
        } else if (errno != EINTR) {
            return; // nothing more for now
        }
    }
}

// Sends the next piece of sound, reading it from the decoder when the last one has gone. False
// when ffmpeg takes no more.
bool VideoEncoder::sendSound() {
    if (soundSent_ == soundBytes_) {
        const int count = static_cast<int>(std::min<int64_t>(kSoundChunk, soundLimit_ - soundRead_));
        soundtrack_->readSamples(sound_.data(), count);
        soundRead_ += count;
        soundSent_ = 0;
        soundBytes_ = static_cast<size_t>(count) * 4;
    }
    const ssize_t w = ::write(audio_, reinterpret_cast<const uint8_t*>(sound_.data()) + soundSent_,
                              soundBytes_ - soundSent_);
    if (w > 0) soundSent_ += static_cast<size_t>(w);
    return w > 0 || errno == EAGAIN || errno == EINTR;
}

// Sends the frame, and sound whenever ffmpeg takes it; with toSoundsEnd, goes on until all the
// sound is sent. ffmpeg reads its inputs on threads of its own but pulls only from the one behind
// in time, and the encoder holds frames back to look ahead, so the sound must run ahead of the
// picture as far as ffmpeg lets it: waiting on one pipe for the other would block both sides.
bool VideoEncoder::pump(const uint8_t* frame, size_t size, bool toSoundsEnd) {
    unsigned lastProgress = tickCount();
    bool started = toSoundsEnd;
    for (;;) {
        const bool soundLeft = audio_ >= 0 && (soundSent_ < soundBytes_ || soundRead_ < soundLimit_);
        if (size == 0 && !(toSoundsEnd && soundLeft)) return true;
        // A signal ends the capture: a frame half sent is finished only while ffmpeg takes it.
        if (interruptSignal() && (!started || tickCount() - lastProgress > kStuckMs)) return false;
        pollfd fds[3] = {
            {size > 0 ? video_ : -1, POLLOUT, 0}, {soundLeft ? audio_ : -1, POLLOUT, 0}, {log_, POLLIN, 0}};
        if (poll(fds, 3, 100) < 0 && errno != EINTR) return false;
        if (fds[2].revents) readLog();
        if (fds[0].revents) {
            const ssize_t w = ::write(video_, frame, size);
            if (w < 0 && errno != EAGAIN && errno != EINTR) return false; // ffmpeg has gone away
            if (w > 0) {
                frame += w;
                size -= static_cast<size_t>(w);
                started = true;
                lastProgress = tickCount();
            }
        }
        if (fds[1].revents) {
            // At the end ffmpeg may stop reading sound once the picture is done: that is no failure.
            if (!sendSound()) return toSoundsEnd;
            lastProgress = tickCount();
        }
    }
}

bool VideoEncoder::write(const uint8_t* rgb) {
    if (pid_ < 0 || !pump(rgb, frameBytes_, false)) return false;
    ++frames_;
    return true;
}

void VideoEncoder::closeStreams() {
    closeFd(video_);
    closeFd(audio_);
}

bool VideoEncoder::finish() {
    if (pid_ < 0) return false;
    // The end of the picture; then the sound up to it, and ffmpeg finishes the file.
    closeFd(video_);
    if (audio_ >= 0) {
        soundLimit_ =
            std::min(soundLimit_, frames_ * fpsDen_ * MusicStream::kSampleRate / fpsNum_ + kSoundMargin);
        pump(nullptr, 0, true); // whether the file is whole, ffmpeg says
        closeFd(audio_);
    }
    int status = 0;
    bool stuck = false;
    long lastCpu = cpuTicks(pid_);
    unsigned lastWork = tickCount();
    bool signalled = false;
    unsigned signalTick = 0;
    for (;;) {
        const pid_t r = waitpid(pid_, &status, WNOHANG);
        if (r == pid_ || (r < 0 && errno != EINTR)) break;
        pollfd fd = {log_, POLLIN, 0};
        if (poll(&fd, log_ >= 0 ? 1 : 0, 50) > 0) readLog();
        const unsigned now = tickCount();
        const long cpu = cpuTicks(pid_);
        if (cpu != lastCpu) lastCpu = cpu, lastWork = now;
        if (!interruptSignal()) continue;
        if (!signalled) signalled = true, signalTick = now;
        if (now - lastWork > kStuckMs || now - signalTick > kFinishAfterSignalMs) {
            stuck = true;
            kill(pid_, SIGKILL);
            while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
            }
            break;
        }
    }
    pid_ = -1;
    readLog();
    closeFd(log_);
    if (!stuck && WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
    const std::string why = lastError(logTail_);
    if (stuck)
        std::fprintf(stderr, "castrelle: ffmpeg did not finish after the signal and was stopped\n");
    else if (!why.empty())
        std::fprintf(stderr, "castrelle: ffmpeg failed: %s\n", why.c_str());
    else if (WIFSIGNALED(status))
        std::fprintf(stderr, "castrelle: ffmpeg was ended by signal %d\n", WTERMSIG(status));
    else
        std::fprintf(stderr, "castrelle: ffmpeg failed with status %d\n", WEXITSTATUS(status));
    return false;
}

void VideoEncoder::stop() {
    closeStreams();
    closeFd(log_);
    if (pid_ < 0) return;
    kill(pid_, SIGKILL);
    while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
}
