#pragma once
// The operations each renderer provides behind the fronts of render/: namespace fixedfn in the
// *FixedFunction.cpp files, namespace shader in the *Shader.cpp files. The fronts' own files pick
// one by renderer() and add what both share; nothing else calls these.

#include "anim/CameraFrame.h"
#include "math/Mat4.h"
#include "render/Billboard.h"
#include "render/Camera.h"
#include "render/FrameProjection.h"
#include "render/FrameTarget.h"
#include "render/MeshRenderer.h"
#include "render/PassState.h"

#include <cstdint>
#include <vector>

#ifndef CASTRELLE_SHADER_ONLY
namespace fixedfn {

void clear(Buffers buffers);
void applyPassState(const PassState& state);
void beginShowFrame();

void initGlState();
void setFrameProjection(const ScreenSize& screen);
void setWindowProjection(const ScreenSize& screen);
bool prepareFrame(const ScreenSize& screen, FrameTarget& frame);
void blitFrame(const ScreenSize& screen, const FrameTarget& frame);
void finishFrame();
void setTextState();
void placeText(const ScreenSize& screen, float x, float y, float scale, float centring, const char* text);
void placeStatusText(const ScreenSize& screen, const char* timeText, const char* fpsText);
void drawLoadingBar(float progress, int width, int height);
void readWindowRgba(int width, int height, std::uint8_t* bottomUpRgba);
unsigned takeGlError();

int largestFrameSize();
bool createFrameTarget(FrameTarget& target, const ScreenSize& screen);
void destroyFrameTarget(FrameTarget& target);
void bindFrameTarget(const FrameTarget& target);
void bindWindowTarget();
// The depth and stencil storage at the target's new size, bound and cleared; false when the
// target is no longer complete.
bool resizeDepthStencil(FrameTarget& target);
// A scratch colour target for live play's frame-size changes (TextureResample.h), and one
// texture's picture filtered to a new size through it, kept under the texture's name.
void createResampleTarget(int largestWidth, int largestHeight, unsigned& scratch, unsigned& framebuffer);
void deleteResampleTarget(unsigned scratch, unsigned framebuffer);
void resampleTexture(unsigned framebuffer, unsigned texture, int newWidth, int newHeight);

void setStretchedPerspective(const CameraFrame& camera, float fieldOfView, int width, int height);
void setPlainPerspective(const CameraFrame& camera, double fieldOfView, int width, int height);
void setPixelOrtho(int width, int height);
ViewMatrices currentView();
// The current modelview with the mesh's placement applied.
Mat4 placedModelview(const MeshObject& mesh);

void drawObject(Model& model, int mesh, const SceneLight& light, int geometry, NormalLines normals);
void drawObjects(Model& model, const int* meshes, int count, const SceneLight& light, int geometry);
void drawBillboard(Model& model, float x, float y, float z, int slot, float halfWidth, float halfHeight,
                   float r, float g, float b, float a, const BillboardWindow& window);
// The 2D texture's level 0 as RGBA rows, bottom first; false when it has none.
bool readTexture2D(int slot, int& width, int& height, std::vector<std::uint8_t>& rgba);
void drawShadowVolume(Model& model, int mesh);
void blackenShadowed();
std::uint32_t largestTextureSide(bool cubeFace);
void uploadTexture2D(int slot, int width, int height, const unsigned char* rgb);
void uploadCubeFace(int slot, int face, int width, int height, const unsigned char* rgb);

} // namespace fixedfn
#endif

namespace shader {

// Brings the renderer up on the current ES context (programs, streams); false when it cannot run.
bool start();
// Has the context's debug messages name GL errors on standard error, where it offers them and
// CASTRELLE_GL_DEBUG is set.
void enableDebugMessages();

void clear(Buffers buffers);
void applyPassState(const PassState& state);
void beginShowFrame();

void initGlState();
void setFrameProjection(const ScreenSize& screen);
void setWindowProjection(const ScreenSize& screen);
bool prepareFrame(const ScreenSize& screen, FrameTarget& frame);
void blitFrame(const ScreenSize& screen, const FrameTarget& frame);
void finishFrame();
void setTextState();
void placeText(const ScreenSize& screen, float x, float y, float scale, float centring, const char* text);
void placeStatusText(const ScreenSize& screen, const char* timeText, const char* fpsText);
void drawLoadingBar(float progress, int width, int height);
void readWindowRgba(int width, int height, std::uint8_t* bottomUpRgba);
unsigned takeGlError();

int largestFrameSize();
bool createFrameTarget(FrameTarget& target, const ScreenSize& screen);
void destroyFrameTarget(FrameTarget& target);
void bindFrameTarget(const FrameTarget& target);
void bindWindowTarget();
bool resizeDepthStencil(FrameTarget& target);
void createResampleTarget(int largestWidth, int largestHeight, unsigned& scratch, unsigned& framebuffer);
void deleteResampleTarget(unsigned scratch, unsigned framebuffer);
void resampleTexture(unsigned framebuffer, unsigned texture, int newWidth, int newHeight);

void setStretchedPerspective(const CameraFrame& camera, float fieldOfView, int width, int height);
void setPlainPerspective(const CameraFrame& camera, double fieldOfView, int width, int height);
void setPixelOrtho(int width, int height);
ViewMatrices currentView();
Mat4 placedModelview(const MeshObject& mesh);

void drawObject(Model& model, int mesh, const SceneLight& light, int geometry, NormalLines normals);
void drawObjects(Model& model, const int* meshes, int count, const SceneLight& light, int geometry);
void drawBillboard(Model& model, float x, float y, float z, int slot, float halfWidth, float halfHeight,
                   float r, float g, float b, float a, const BillboardWindow& window);
// The 2D texture's level 0 as RGBA rows, bottom first; false when it has none.
bool readTexture2D(int slot, int& width, int& height, std::vector<std::uint8_t>& rgba);
void drawShadowVolume(Model& model, int mesh);
void blackenShadowed();
std::uint32_t largestTextureSide(bool cubeFace);
void uploadTexture2D(int slot, int width, int height, const unsigned char* rgb);
void uploadCubeFace(int slot, int face, int width, int height, const unsigned char* rgb);

} // namespace shader

#ifdef CASTRELLE_SHADER_ONLY
// A build with the shader renderer alone (the browser's) has no fixed-function files: the
// fronts' other branch names the same operations.
namespace fixedfn = shader;
#endif
