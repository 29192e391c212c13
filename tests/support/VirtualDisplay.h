#pragma once
// A private X server (Xvfb) for one test: windows, fullscreen and keys behave as on a desktop of
// the given size, with no display attached. DISPLAY points at it while it lives; what it shows
// can be read back from its screen file.

#include <string>
#include <sys/types.h>

class VirtualDisplay {
  public:
    VirtualDisplay(int width, int height);
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    bool ready() const { return display_ >= 0; }

    // The screen as it is now, as RGB rows from the top; false when it cannot be read.
    bool screen(int& width, int& height, std::string& rgb) const;
    // The screen written to a PNG file.
    bool saveScreen(const std::string& path) const;

  private:
    pid_t server_ = -1;
    int display_ = -1;
    int numberPipe_ = -1;
    std::string folder_; // where the server keeps its screen file
};
