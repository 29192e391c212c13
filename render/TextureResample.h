#pragma once
// Gives textures a new size in place when the frame changes size mid-show: each keeps its name
// (meshes hold some of the effect copies as their texture) and its parameters, and gets its old
// picture stretched over the new size, so feedback drawn from it carries on without a flash.

class TextureResampler {
  public:
    // A scratch target as large as the largest new size; needs a current context.
    TextureResampler(int largestWidth, int largestHeight);
    ~TextureResampler();
    TextureResampler(const TextureResampler&) = delete;
    TextureResampler& operator=(const TextureResampler&) = delete;

    // The RGB texture becomes newWidth x newHeight with its picture filtered to the new size.
    // The GL state the caller had is kept but for the framebuffer: draws go to the window's
    // afterwards.
    void resample(unsigned texture, int newWidth, int newHeight);

  private:
    unsigned scratch_ = 0;
    unsigned framebuffer_ = 0;
};
