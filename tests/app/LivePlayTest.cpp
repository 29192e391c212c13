// Live play on a desktop of its own (Xvfb), with the music on SDL's dummy audio driver: the
// section keys and the loop move the show and the music together, and fullscreen covers the
// desktop in its own mode with the picture between black bars.
#include "app/Player.h"
#include "platform/MessageBox.h"
#include "render/RenderPath.h"
#include "support/RunProgram.h"
#include "support/VirtualDisplay.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>
// Xlib's macros (None, Bool, ...) come after everything that might use those names.
#include <SDL2/SDL_syswm.h>
#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <vector>

namespace {

class LivePlay : public ::testing::Test {
  protected:
    void SetUp() override {
        // SDL's video starts once per process, on the display of its time: ctest runs each test
        // in a process of its own.
        static bool played = false;
        if (played || SDL_WasInit(SDL_INIT_VIDEO)) GTEST_SKIP() << "needs a process of its own";
        played = true;
        setMessageBoxesInteractive(false);
        setRenderPath(RenderPath::Fast);
        setenv("SDL_VIDEODRIVER", "x11", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        display = std::make_unique<VirtualDisplay>(1920, 1080);
        ASSERT_TRUE(display->ready()) << "Xvfb did not start";
        // A loaded machine may keep a new server from answering at once.
        bool video = false;
        for (int i = 0; i < 50 && !video; ++i) {
            video = SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) == 0;
            if (!video) SDL_Delay(100);
        }
        ASSERT_TRUE(video) << SDL_GetError();
        previous = std::filesystem::current_path();
        std::filesystem::current_path(dataDir());
    }
    void TearDown() override {
        if (started) player.finish();
        unsetenv("SDL_VIDEODRIVER");
        if (!previous.empty()) std::filesystem::current_path(previous);
    }

    void start(std::initializer_list<const char*> args, bool windowed = true) {
        std::vector<const char*> argv{"castrelle"};
        if (windowed) argv.push_back("--windowed");
        argv.insert(argv.end(), args);
        Options options;
        std::string error;
        ASSERT_TRUE(parseCommandLine(static_cast<int>(argv.size()), argv.data(), options, error)) << error;
        int status = 0;
        ASSERT_TRUE(player.startUp(options, status)) << status;
        started = true;
        for (int i = 0; i < 3; ++i) ASSERT_TRUE(player.step());
    }

    // Presses a key and runs the main loop until it has taken it (window events may come
    // first). Returns how long the frame that took it lasted, in ms.
    int press(SDL_Keycode key, Uint16 mod = KMOD_NONE) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.state = SDL_PRESSED;
        e.key.keysym.sym = key;
        e.key.keysym.mod = mod;
        SDL_PushEvent(&e);
        int ms = 0;
        for (int i = 0; i < 20 && SDL_HasEvent(SDL_KEYDOWN); ++i) {
            const unsigned before = SDL_GetTicks();
            player.step();
            ms = static_cast<int>(SDL_GetTicks() - before);
        }
        EXPECT_FALSE(SDL_HasEvent(SDL_KEYDOWN)) << "key not taken";
        return ms;
    }

    // The frame after a jump shows the time jumped to, give or take the frame, and the music
    // plays from there.
    void expectShowAndMusicAt(int ms, int frameMs) {
        EXPECT_GE(player.lastTime, ms);
        EXPECT_LE(player.lastTime, ms + frameMs);
        // The music stream was moved there, not only the show: it is the clock the frame read.
        EXPECT_NEAR(player.shell.music.position(), player.lastTime, frameMs + 60);
    }

    std::unique_ptr<VirtualDisplay> display;
    std::filesystem::path previous;
    Player player;
    bool started = false;
};

TEST_F(LivePlay, SectionKeysJumpToSectionStartsAndTheMusicFollows) {
    ASSERT_NO_FATAL_FAILURE(start({}));
    ASSERT_TRUE(player.shell.music.isOpen());
    int ms = press(SDLK_PAGEDOWN);
    expectShowAndMusicAt(41800, ms);
    ms = press(SDLK_PAGEDOWN);
    expectShowAndMusicAt(70000, ms);
    ms = press(SDLK_PAGEUP); // from the star ball's start to the swarm's
    expectShowAndMusicAt(41800, ms);
    for (int i = 0; i < 10; ++i) press(SDLK_UP); // the arrows still seek
    EXPECT_GE(player.lastTime, 51800);
    ms = press(SDLK_HOME);
    expectShowAndMusicAt(0, ms);
}

TEST_F(LivePlay, ALoopedSectionPlaysAgainFromItsStartWithItsMusic) {
    ASSERT_NO_FATAL_FAILURE(start({"--section", "star-ball-2", "--loop"}));
    EXPECT_GE(player.lastTime, 157000);
    EXPECT_LT(player.lastTime, 159000);
    // Up to the section's last second (a slow frame may have taken the show some way already).
    for (int i = 0; i < 7 && player.lastTime < 162500; ++i) press(SDLK_UP);
    ASSERT_GE(player.lastTime, 162500);
    int last = player.lastTime, frameMs = 0;
    for (int i = 0; i < 500 && player.lastTime >= last; ++i) {
        last = player.lastTime;
        const unsigned before = SDL_GetTicks();
        ASSERT_TRUE(player.step());
        frameMs = static_cast<int>(SDL_GetTicks() - before);
    }
    ASSERT_LT(player.lastTime, last) << "never wrapped";
    EXPECT_GE(last, 162500);
    expectShowAndMusicAt(157000, frameMs);
    // Page Down from the only section of the range starts it over.
    press(SDLK_UP);
    expectShowAndMusicAt(157000, press(SDLK_PAGEDOWN));
}

// What the screen shows: black bars of 240 at each side, the 1440 x 1080 picture between them,
// drawn all over (every sixth of it across, its top and bottom quarters).
void expectPillarboxedPicture(const VirtualDisplay& display) {
    int width = 0, height = 0;
    std::string rgb;
    ASSERT_TRUE(display.screen(width, height, rgb));
    ASSERT_EQ(width, 1920);
    ASSERT_EQ(height, 1080);
    const auto sum = [&](int x0, int x1, int y0, int y1) {
        long long total = 0;
        for (int y = y0; y < y1; y += 2)
            for (int x = x0; x < x1; x += 2)
                for (int c = 0; c < 3; ++c)
                    total += static_cast<unsigned char>(rgb[(static_cast<size_t>(y) * width + x) * 3 + c]);
        return total;
    };
    EXPECT_EQ(sum(0, 238, 0, 1080), 0);
    EXPECT_EQ(sum(1682, 1920, 0, 1080), 0);
    for (int x = 240; x < 1680; x += 240) EXPECT_GT(sum(x, x + 240, 0, 1080), 0) << "columns from " << x;
    EXPECT_GT(sum(240, 1680, 0, 270), 0);
    EXPECT_GT(sum(240, 1680, 810, 1080), 0);
}

TEST_F(LivePlay, FullscreenCoversTheDesktopInItsModeWithBlackBars) {
    SDL_DisplayMode desktop{};
    ASSERT_NO_FATAL_FAILURE(start({"--section", "duck"}, false));
    SDL_GetCurrentDisplayMode(0, &desktop);
    EXPECT_EQ(desktop.w, 1920); // no mode switch
    EXPECT_EQ(desktop.h, 1080);
    EXPECT_EQ(player.shell.screen.windowWidth, 1920);
    EXPECT_EQ(player.shell.screen.windowHeight, 1080);
    ASSERT_TRUE(player.governor.has_value());
    EXPECT_EQ(player.governor->ceiling(), 1024); // sharp on a 1080p picture
    for (int i = 0; i < 3; ++i) player.step();
    expectPillarboxedPicture(*display);
    if (const char* keep = std::getenv("CASTRELLE_KEEP_SCREEN")) display->saveScreen(keep);

    press(SDLK_RETURN, KMOD_LALT); // to the window it would have been
    for (int i = 0; i < 50 && player.shell.screen.windowWidth == 1920; ++i) player.step();
    EXPECT_EQ(player.shell.screen.windowWidth, 800);
    EXPECT_EQ(player.shell.screen.windowHeight, 600);
    EXPECT_EQ(player.governor->ceiling(), 512);

    press(SDLK_F11); // and back
    for (int i = 0; i < 50 && player.shell.screen.windowWidth != 1920; ++i) player.step();
    ASSERT_EQ(player.shell.screen.windowHeight, 1080);
    for (int i = 0; i < 3; ++i) player.step();
    expectPillarboxedPicture(*display);
}

// Destroys the window from another client of the X server, as a task manager or `xdotool
// windowclose` does: no close request, the window is just gone.
bool destroyFromOutside(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    void* xlib = dlopen("libX11.so.6", RTLD_NOW);
    if (!xlib || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
    const auto open = reinterpret_cast<Display* (*)(const char*)>(dlsym(xlib, "XOpenDisplay"));
    const auto destroy = reinterpret_cast<int (*)(Display*, Window)>(dlsym(xlib, "XDestroyWindow"));
    const auto close = reinterpret_cast<int (*)(Display*)>(dlsym(xlib, "XCloseDisplay"));
    Display* other = open(nullptr);
    if (!other) return false;
    destroy(other, info.info.x11.window);
    close(other); // flushes the request
    return true;
}

// A window that cannot be seen draws nothing and waits for events, while the clock (the music)
// goes on; shown again, it draws from where the clock has come. Closed from outside, the program
// ends as when the viewer closes it: status 0.
TEST_F(LivePlay, AnUnseenWindowDrawsNothingAndAWindowClosedFromOutsideQuits) {
    ASSERT_NO_FATAL_FAILURE(start({"--start", "100000", "--stats"}));
    const auto shown = [&] { // frames on screen so far, all in the Hipu section
        return player.stats->rows()[static_cast<size_t>(timetable::Section::Hipu)].frames;
    };
    SDL_HideWindow(player.shell.window.window);
    ASSERT_TRUE(player.step()); // takes the event; the frame before it is counted
    const long long drawn = shown();
    const int hiddenAt = player.lastTime;
    const unsigned before = SDL_GetTicks();
    for (int i = 0; i < 10; ++i) ASSERT_TRUE(player.step());
    const int waited = static_cast<int>(SDL_GetTicks() - before);
    EXPECT_EQ(shown(), drawn);
    EXPECT_GE(waited, 900); // about 100 ms an idle turn
    EXPECT_NEAR(player.lastTime - hiddenAt, waited, 150);
    EXPECT_NEAR(player.shell.music.position(), player.lastTime, 150);
    SDL_ShowWindow(player.shell.window.window);
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(player.step());
    EXPECT_GE(shown(), drawn + 3);

    ASSERT_TRUE(destroyFromOutside(player.shell.window.window));
    bool going = true;
    for (int i = 0; i < 20 && going; ++i) going = player.step();
    EXPECT_FALSE(going) << "still playing in a window that is gone";
    started = false;
    EXPECT_EQ(player.finish(), 0);
}

} // namespace
