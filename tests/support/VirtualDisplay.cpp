#include "support/VirtualDisplay.h"

#include "platform/PngFile.h"
#include "support/TempPath.h"

#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

uint32_t bigEndian(const std::string& bytes, size_t at) {
    const auto b = [&](size_t i) { return static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + i])); };
    return b(0) << 24 | b(1) << 16 | b(2) << 8 | b(3);
}

} // namespace

VirtualDisplay::VirtualDisplay(int width, int height) {
    folder_ = testTempPath("xvfb").string();
    std::filesystem::create_directories(folder_);
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    // A display number of its own, far from the usual ones: servers that pick their number
    // themselves (-displayfd alone) race each other when tests start side by side. A number
    // that turns out taken is followed by another.
    for (int attempt = 0; attempt < 10 && display_ < 0; ++attempt) {
        const int display = 1000 + (static_cast<int>(getpid()) * 7 + attempt * 131) % 20000;
        int ready[2];
        if (pipe(ready) != 0) return;
        server_ = fork();
        if (server_ == 0) {
            // The server ends with the test, even one that crashes, and keeps its chatter to
            // itself. It must not reset when its last client goes: SDL looks at the display and
            // closes it before it opens it for good.
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            close(ready[0]);
            const int quiet = open("/dev/null", O_WRONLY);
            dup2(quiet, STDOUT_FILENO);
            dup2(quiet, STDERR_FILENO);
            const std::string name = std::string(":").append(std::to_string(display)),
                              fd = std::to_string(ready[1]);
            execlp("Xvfb", "Xvfb", name.c_str(), "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(),
                   "-fbdir", folder_.c_str(), "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(ready[1]);
        // The server writes its number once it takes connections, or ends without a word.
        pollfd p{ready[0], POLLIN, 0};
        char number[16] = {};
        if (server_ > 0 && poll(&p, 1, 20000) == 1 && read(ready[0], number, sizeof number - 1) > 0) {
            display_ = std::atoi(number);
            setenv("DISPLAY", std::string(":").append(std::to_string(display_)).c_str(), 1);
            // Kept open: the server may write the number's line end apart, and a closed pipe is
            // fatal to it.
            numberPipe_ = ready[0];
            continue;
        }
        if (server_ > 0) {
            kill(server_, SIGTERM);
            waitpid(server_, nullptr, 0);
            server_ = -1;
        }
        close(ready[0]);
    }
}

VirtualDisplay::~VirtualDisplay() {
    if (server_ > 0) {
        kill(server_, SIGTERM);
        waitpid(server_, nullptr, 0);
    }
    if (numberPipe_ >= 0) close(numberPipe_);
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
}

bool VirtualDisplay::screen(int& width, int& height, std::string& rgb) const {
    // The server's screen file is an XWD image: a header of big-endian words, a colour map, then
    // rows of 32-bit pixels, blue first.
    std::ifstream in(folder_ + "/Xvfb_screen0", std::ios::binary);
    const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (file.size() < 100) return false;
    const uint32_t headerSize = bigEndian(file, 0), bitsPerPixel = bigEndian(file, 44),
                   rowBytes = bigEndian(file, 48), colours = bigEndian(file, 76);
    width = static_cast<int>(bigEndian(file, 16));
    height = static_cast<int>(bigEndian(file, 20));
    const size_t pixels = headerSize + 12 * static_cast<size_t>(colours);
    if (bitsPerPixel != 32 || file.size() < pixels + static_cast<size_t>(rowBytes) * height) return false;
    rgb.resize(static_cast<size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c)
                rgb[(static_cast<size_t>(y) * width + x) * 3 + c] =
                    file[pixels + static_cast<size_t>(y) * rowBytes + static_cast<size_t>(x) * 4 + 2 - c];
    return true;
}

bool VirtualDisplay::saveScreen(const std::string& path) const {
    int width = 0, height = 0;
    std::string rgb;
    int error = 0;
    return screen(width, height, rgb) &&
           writePng(path.c_str(), reinterpret_cast<const uint8_t*>(rgb.data()), width, height, error);
}
