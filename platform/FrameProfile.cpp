#include "platform/FrameProfile.h"

FrameProfile& frameProfile() {
    static FrameProfile profile;
    return profile;
}
