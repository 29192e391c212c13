// The entry-point table on the real offscreen context: entries resolve themselves on first use,
// a lookup that finds nothing returns 0 and leaves the entry to try again, and calls arrive with
// their arguments intact.
#include "glext/GlExt.h"
#include "glext/GlExtResolve.h"
#include "support/GlTestContext.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace {

int indexOf(const char* name) {
    for (int i = 0; i < glext::kEntryCount; ++i)
        if (std::strcmp(glext::kNames[i], name) == 0) return i;
    return -1;
}

// Each test runs in its own process, so no context exists until the test asks for one.
TEST(GlExtTable, CallBeforeAnyContextReturnsZeroAndResolvesOnceOneIsCurrent) {
    const int i = indexOf("glCheckFramebufferStatus");
    ASSERT_GE(i, 0);
    ASSERT_TRUE(glext::isUnresolved(i));
    EXPECT_EQ(glext::glCheckFramebufferStatus(GL_FRAMEBUFFER), 0u); // no GL library loaded yet
    EXPECT_TRUE(glext::isUnresolved(i));
    const int b = indexOf("glIsBuffer");
    EXPECT_EQ(glext::glIsBuffer(1), GL_FALSE);
    EXPECT_TRUE(glext::isUnresolved(b));

    requireGlContext();
    EXPECT_EQ(glext::glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    EXPECT_FALSE(glext::isUnresolved(i));
}

TEST(GlExtTable, FirstCallForwardsEveryArgumentAndTheSecondGoesStraightToTheDriver) {
    requireGlContext();
    resetGlState();
    const int i = indexOf("glWindowPos2d");
    ASSERT_TRUE(glext::isUnresolved(i));
    glext::glWindowPos2d(12.5, 7.25); // doubles, two words each where the stack carries them
    GLdouble position[4] = {};
    glGetDoublev(GL_CURRENT_RASTER_POSITION, position);
    EXPECT_DOUBLE_EQ(position[0], 12.5);
    EXPECT_DOUBLE_EQ(position[1], 7.25);
    EXPECT_FALSE(glext::isUnresolved(i));
    EXPECT_EQ(reinterpret_cast<void*>(glext::glWindowPos2d), glext::lookUp("glWindowPos2d"));

    // A result comes back too: a buffer name made by one entry is a buffer to another.
    GLuint buffer = 0;
    glext::glGenBuffers(1, &buffer);
    glext::glBindBuffer(GL_ARRAY_BUFFER, buffer);
    EXPECT_EQ(glext::glIsBuffer(buffer), GL_TRUE);
    glext::glDeleteBuffers(1, &buffer);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// The extensions of the OpenGL 1.5 era, by vendor: each family holds exactly its vendor's entries,
// and with the core and ARB families they make the 974 entries of that era. The entry points the
// program needs from later versions follow as a family of their own.
TEST(GlExtTable, EraFamiliesHoldEachVendorsEntriesAndAddUpTo974) {
    struct Family {
        const char* title;
        int size;
        const char* suffix;
    };
    const Family expected[] = {
        {"OpenGL 1.2 with the imaging subset", 38, ""}, {"OpenGL 1.3", 46, ""}, {"OpenGL 1.4", 45, ""},
        {"OpenGL 1.5", 19, ""}, {"ARB extensions", 202, "ARB"}, {"EXT extensions", 170, "EXT"},
        {"NV extensions", 162, "NV"}, {"ATI extensions", 88, "ATI"}, {"SUN extensions", 56, "SUN"},
        {"SGIX extensions", 50, "SGIX"}, {"MESA extensions", 25, "MESA"}, {"SGIS extensions", 21, "SGIS"},
        {"APPLE extensions", 20, "APPLE"}, {"IBM extensions", 10, "IBM"}, {"SGI extensions", 7, "SGI"},
        {"HP extensions", 6, "HP"}, {"INTEL extensions", 4, "INTEL"}, {"3DFX extensions", 1, "3DFX"},
        {"INGR extensions", 1, "INGR"}, {"PGI extensions", 1, "PGI"}, {"SUNX extensions", 1, "SUNX"},
        {"WIN extensions", 1, "WIN"},
    };
    constexpr int eraFamilies = sizeof(expected) / sizeof(expected[0]);
    ASSERT_EQ(glext::kFamilyCount, eraFamilies + 1);
    EXPECT_STREQ(glext::kFamilyTitles[eraFamilies], "Newer entry points in use");

    int first = 0;
    for (int f = 0; f < eraFamilies; ++f) {
        const Family& family = expected[f];
        EXPECT_STREQ(glext::kFamilyTitles[f], family.title);
        EXPECT_EQ(glext::kFamilySizes[f], family.size) << family.title;
        for (int i = first; i < first + glext::kFamilySizes[f] && *family.suffix; ++i) {
            const std::string name = glext::kNames[i];
            EXPECT_TRUE(name.ends_with(family.suffix)) << name << " in " << family.title;
        }
        first += glext::kFamilySizes[f];
    }
    EXPECT_EQ(first, 974);
    EXPECT_EQ(first + glext::kFamilySizes[eraFamilies], glext::kEntryCount);
    EXPECT_STREQ(glext::kNames[38 + 46 + 45 + 19 + 202], "glBlendColorEXT");
    EXPECT_STREQ(glext::kNames[973], "glAddSwapHintRectWIN");

    // The era ends before OpenGL 2.0 and framebuffer objects; the registry's later additions to
    // its extensions stay out.
    for (const char* newest : {"glDrawBuffersATI", "glStencilOpSeparateATI", "glDepthBoundsEXT",
                               "glBlendEquationSeparateEXT", "glPixelTransformParameterfvEXT"})
        EXPECT_GE(indexOf(newest), 0) << newest;
    for (const char* later : {"glCreateShader", "glDrawBuffersARB", "glGenFramebuffersEXT", "glClampColorARB",
                              "glGetPixelTransformParameterivEXT", "glFlushMappedBufferRangeAPPLE"})
        EXPECT_EQ(indexOf(later), -1) << later;
}

TEST(GlExtTable, FamiliesFollowTheRegistryInOrder) {
    int total = 0;
    for (int f = 0; f < glext::kFamilyCount; ++f) total += glext::kFamilySizes[f];
    EXPECT_EQ(total, glext::kEntryCount);
    // The core families as the registry counts them: 1.2 with the imaging subset, 1.3, 1.4, 1.5.
    EXPECT_EQ(glext::kFamilySizes[0], 38);
    EXPECT_EQ(glext::kFamilySizes[1], 46);
    EXPECT_EQ(glext::kFamilySizes[2], 45);
    EXPECT_EQ(glext::kFamilySizes[3], 19);
    EXPECT_STREQ(glext::kNames[0], "glBlendColor");
    EXPECT_STREQ(glext::kNames[37], "glCopyTexSubImage3D");
    EXPECT_STREQ(glext::kNames[38], "glActiveTexture");
    EXPECT_STREQ(glext::kNames[38 + 46], "glBlendFuncSeparate");
    EXPECT_STREQ(glext::kNames[38 + 46 + 45], "glGenQueries");
    EXPECT_STREQ(glext::kNames[38 + 46 + 45 + 19], "glActiveTextureARB");
    std::set<std::string> names;
    for (int i = 0; i < glext::kEntryCount; ++i) {
        EXPECT_EQ(std::string(glext::kNames[i]).rfind("gl", 0), 0u) << glext::kNames[i];
        EXPECT_TRUE(names.insert(glext::kNames[i]).second) << "twice: " << glext::kNames[i];
    }
}

} // namespace
